#include "RecordCases.h"
#include "model/BlessingsRecords.h"

using namespace Qt::Literals::StringLiterals;

TEST(BlessingsRecords, VersionMatrix) {
    struct Case {
        const char* json;
        std::optional<qint64> version;  // nothing: the configuration must fail
    } cases[] = {
        {R"({})", 1},
        {R"({"version":null})", 1},
        {R"({"version":3})", 3},
        {R"({"version":3.0})", 3},
        {R"({"version":"7"})", 7},
        {R"({"version":"+7"})", 7},
        {R"({"version":"-2"})", -2},
        {R"({"version":"seven"})", 1},
        {R"({"version":""})", 1},
        {R"({"version":" 7"})", 1},
        {R"({"version":"7.0"})", 1},
        {R"({"version":"٧"})", 1},
        {R"({"version":"9223372036854775807"})", 9223372036854775807},
        {R"({"version":"9223372036854775808"})", 1},
        {R"({"version":2.5})", std::nullopt},
        {R"({"version":true})", std::nullopt},
        {R"({"version":{}})", std::nullopt},
        {R"({"version":[]})", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<BlessingsConfig> config = BlessingsConfig::fromJson(jsonValue(c.json));
        if (!c.version) {
            EXPECT_FALSE(config) << c.json;
            continue;
        }
        ASSERT_TRUE(config) << c.json;
        EXPECT_EQ(config->version, *c.version) << c.json;
    }
}

TEST(BlessingsRecords, DefaultsForAbsentAndNull) {
    expectCases<BlessingsConfig>({
        {R"({})", R"({"version":1,"app_enabled":true,"website_enabled":true,"cards":[]})"},
        {R"({"app_enabled":null,"website_enabled":null,"cards":null,"updated_at":null})",
         R"({"version":1,"app_enabled":true,"website_enabled":true,"cards":[]})"},
        {R"({"version":"4","updated_at":"2026-01-01","app_enabled":false,"cards":[{"id":"x"}]})",
         R"({"version":4,"updated_at":"2026-01-01","app_enabled":false,"website_enabled":true,
             "cards":[{"id":"x"}]})"},
        {R"({"app_enabled":"no"})", nullptr},
        {R"({"cards":[{"arabic":"x"}]})", nullptr},
        {R"({"cards":{}})", nullptr},
        {R"([])", nullptr},
    });
    const BlessingsConfig config =
        decoded<BlessingsConfig>(R"({"version":"4","cards":[{"id":"x","english":"e"}]})");
    EXPECT_EQ(JsonCoding::decode<BlessingsConfig>(*JsonCoding::encodeRecord(config)), config);
}

TEST(BlessingsRecords, OrderedCardsFollowTheSplashOrder) {
    const BlessingsConfig config = decoded<BlessingsConfig>(
        R"({"cards":[{"id":"fi_sabilillah"},{"id":"extra"},{"id":"alhamdulillah","english":"first"},
                     {"id":"alhamdulillah","english":"second"}]})");
    const QList<BlessingsCard> ordered = config.orderedCards();
    ASSERT_EQ(ordered.size(), 2);
    EXPECT_EQ(ordered[0].id, u"alhamdulillah"_s);
    EXPECT_EQ(ordered[0].english, u"first"_s);
    EXPECT_EQ(ordered[1].id, u"fi_sabilillah"_s);
    EXPECT_EQ(config.cards.size(), 4);
    EXPECT_TRUE(
        config.toJson().toObject().value("cards"_L1).toArray().contains(jsonValue(R"({"id":"extra"})")));
}

TEST(BlessingsRecords, BuiltInConfiguration) {
    const BlessingsConfig& defaults = BlessingsConfig::defaults();
    EXPECT_EQ(defaults.version, 1);
    EXPECT_FALSE(defaults.updatedAt);
    EXPECT_TRUE(defaults.appEnabled && defaults.websiteEnabled);
    EXPECT_EQ(defaults.orderedCards(), defaults.cards);
    ASSERT_EQ(defaults.cards.size(), 3);
    EXPECT_EQ(defaults.cards[1].arabic, u"ما شاء الله"_s);
    EXPECT_FALSE(defaults.card(u"Mashallah"_s));
    const std::optional<BlessingsCard> credit = defaults.card(u"fi_sabilillah"_s);
    ASSERT_TRUE(credit);
    EXPECT_EQ(credit->authorDuaArabic, u"جزاهم الله خيراً"_s);
    EXPECT_EQ(credit->authorDuaEnglish, u"May Allah reward the author"_s);
    EXPECT_FALSE(defaults.cards[0].authorDuaArabic);
}

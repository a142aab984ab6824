#include <gtest/gtest.h>

#include "TempHome.h"
#include "model/BlessingsCopy.h"
#include "services/BlessingsCache.h"
#include "ui/panels/AlertsPanelModel.h"
#include "ui/shell/ShellTexts.h"

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

TEST(BlessingsCopy, BuiltInCardIsCompleteAndDecodesBack) {
    const BlessingsCard card = BlessingsCopy::fiSabilillah();
    EXPECT_EQ(card.id, u"fi_sabilillah"_s);
    EXPECT_EQ(card.arabic, u"في سبيل الله"_s);
    for (const std::optional<QString>& field :
         {card.transliteration, card.english, card.authorDuaArabic, card.authorDuaEnglish}) {
        ASSERT_TRUE(field.has_value());
        EXPECT_FALSE(field->trimmed().isEmpty());
    }
    EXPECT_EQ(BlessingsCard::fromJson(card.toJson()), card);
}

TEST(BlessingsCopy, CreditLineTakesEachPartFromTheCardElseTheBuiltIn) {
    const BlessingsCard builtIn = BlessingsCopy::fiSabilillah();
    const QString builtInDua = *builtIn.authorDuaEnglish;
    const QString sep = u" · "_s;
    const auto card = [](std::optional<QString> arabic, std::optional<QString> dua) {
        return BlessingsCard{u"fi_sabilillah"_s, arabic, {}, {}, {}, dua};
    };
    const struct {
        std::optional<BlessingsCard> card;
        QString expected;
    } cases[] = {
        {std::nullopt, *builtIn.arabic + sep + builtInDua},
        {card(u"بسم الله"_s, u"May Allah accept it"_s), u"بسم الله"_s + sep + u"May Allah accept it"_s},
        {card({}, u"Ameen"_s), *builtIn.arabic + sep + u"Ameen"_s},
        {card(u"بسم الله"_s, {}), u"بسم الله"_s + sep + builtInDua},
        {card(u"  "_s, u"\n"_s), *builtIn.arabic + sep + builtInDua},
        {card(u"بسم\nالله"_s, u"line one\r\n  line two\t"_s), u"بسم الله"_s + sep + u"line one line two"_s},
    };
    for (const auto& c : cases) EXPECT_EQ(BlessingsCopy::creditLine(c.card), c.expected);
}

TEST(BlessingsCopy, ViewsReadTheCreditOfTheCachedConfigurationElseTheShippedOne) {
    TempHome home;
    const auto writeCache = [](const QByteArray& bytes) {
        QDir().mkpath(BlessingsCache::directoryURL());
        QFile f(BlessingsCache::filePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    const QString shippedLine =
        BlessingsCopy::creditLine(BlessingsConfig::defaults().card(u"fi_sabilillah"_s));
    EXPECT_EQ(ShellTexts::blessingsCredit(), shippedLine);

    writeCache(R"({"version": 7, "updated_at": "2026-11-30T10:00:00Z", "cards": [
        {"id": "fi_sabilillah", "arabic": "في سبيل الله", "author_dua_english": "Remember us\nin your prayers"}]})");
    EXPECT_EQ(ShellTexts::blessingsCredit(), u"في سبيل الله · Remember us in your prayers"_s);

    // A server configuration without the card: the built-in card speaks.
    writeCache(R"({"version": 8, "cards": [{"id": "mashallah", "arabic": "ما شاء الله"}]})");
    EXPECT_EQ(ShellTexts::blessingsCredit(), BlessingsCopy::creditLine(BlessingsCopy::fiSabilillah()));

    writeCache("{ not json");
    EXPECT_EQ(ShellTexts::blessingsCredit(), shippedLine);
}

TEST(BlessingsCopy, AlertsLineReadsFromTheLeftWithTheFixedTextsOnlyForMissingParts) {
    const BlessingsCard builtIn = BlessingsCopy::fiSabilillah();
    const QString lrm = u"\u200E"_s;
    const auto card = [](std::optional<QString> arabic, std::optional<QString> dua) {
        return BlessingsCard{u"fi_sabilillah"_s, arabic, {}, {}, {}, dua};
    };
    const struct {
        BlessingsCard card;
        QString expected;
    } cases[] = {
        {builtIn, lrm + u"في سبيل الله · "_s + *builtIn.authorDuaEnglish},
        {card(std::nullopt, std::nullopt), lrm + u"في سبيل الله · May Allah reward the author"_s},
        {card(u" "_s, u"Ameen"_s), lrm + u"في سبيل الله · Ameen"_s},
        {card(u"الحمد لله"_s, u""_s), lrm + u"الحمد لله · May Allah reward the author"_s},
    };
    for (const auto& c : cases) EXPECT_EQ(BlessingsCopy::alertsLine(c.card), c.expected);
    EXPECT_EQ(AlertsPanelModel::blessingLine(), BlessingsCopy::alertsLine(builtIn));
}

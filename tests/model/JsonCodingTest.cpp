#include <gtest/gtest.h>

#include "model/JsonCoding.h"

#include <QJsonDocument>
#include <limits>

namespace {
QJsonValue number(const char* json) {
    return QJsonDocument::fromJson(QByteArray("[") + json + "]").array().at(0);
}
}  // namespace

TEST(JsonCoding, IntegersMustBeIntegralAndFit64Bits) {
    struct Case {
        const char* json;
        std::optional<qint64> expected;
    } cases[] = {
        {"2", 2},
        {"2.0", 2},
        {"-7", -7},
        {"3.5", {}},
        {"1e19", {}},
        {"-1e19", {}},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"\"3\"", {}},
        {"true", {}},
        {"null", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(JsonCoding::exactInteger(number(c.json)), c.expected) << c.json;
}

TEST(JsonCoding, NonFiniteNumbersRefuseToEncode) {
    QJsonObject inner{{QStringLiteral("lat"), std::numeric_limits<double>::quiet_NaN()}};
    QJsonObject outer{{QStringLiteral("location"), inner}};
    EXPECT_FALSE(JsonCoding::encode(outer).has_value());
    inner[QStringLiteral("lat")] = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(JsonCoding::encode(QJsonObject{{QStringLiteral("a"), QJsonArray{1, inner}}}).has_value());
    EXPECT_EQ(JsonCoding::encode(QJsonObject{{QStringLiteral("a"), 1.5}}), QByteArray("{\"a\":1.5}"));
}

TEST(JsonCoding, ReaderKeepsTheFirstFailure) {
    const auto value = JsonCoding::parse(R"({"s":"x","n":null,"b":1,"m":{"k":"v","j":2}})");
    ASSERT_TRUE(value);
    JsonCoding::Reader r(*value);
    EXPECT_EQ(r.requiredString(QLatin1StringView("s")), QStringLiteral("x"));
    EXPECT_EQ(r.optionalString(QLatin1StringView("n")), std::nullopt);
    EXPECT_EQ(r.optionalString(QLatin1StringView("absent")), std::nullopt);
    EXPECT_TRUE(r.ok());
    r.optionalBool(QLatin1StringView("b"));
    EXPECT_FALSE(r.ok());
    const QString first = r.error();
    r.requiredStringMap(QLatin1StringView("m"));
    EXPECT_EQ(r.error(), first);
}

TEST(JsonCoding, BadDocumentsParseToNothing) {
    for (const QByteArray& bytes : {QByteArray("{\"a\":"), QByteArray("\xff\xfe{}"), QByteArray(""),
                                    QByteArray("42"), QByteArray(20000, '[')}) {
        EXPECT_FALSE(JsonCoding::parse(bytes).has_value());
    }
}

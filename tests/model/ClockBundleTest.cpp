#include <gtest/gtest.h>

#include "FixtureServer.h"
#include "model/ClockBundle.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QJsonValue fixtureJson(const QString& name) {
    const std::optional<QJsonValue> value = JsonCoding::parse(FixtureServer::fixture(name));
    return value.value_or(QJsonValue());
}

}  // namespace

TEST(ClockBundle, FullBundleRoundTripsAsEqualJson) {
    const QJsonValue original = fixtureJson(u"bundle-full.json"_s);
    ASSERT_TRUE(original.isObject());
    const std::optional<ClockBundle> bundle = ClockBundle::fromJson(original);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->location.city, u"مكة المكرمة"_s);
    EXPECT_EQ(bundle->alerts.size(), 2);
    EXPECT_EQ(bundle->toJson(), original);

    const std::optional<QByteArray> bytes = JsonCoding::encodeRecord(*bundle);
    ASSERT_TRUE(bytes);
    const std::optional<ClockBundle> again = JsonCoding::decode<ClockBundle>(*bytes);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->toJson(), original);
}

TEST(ClockBundle, MinimalBundleWritesNoOptionalKeys) {
    const QJsonValue original = fixtureJson(u"bundle-minimal.json"_s);
    const std::optional<ClockBundle> bundle = ClockBundle::fromJson(original);
    ASSERT_TRUE(bundle);
    EXPECT_FALSE(bundle->generatedAt || bundle->method || bundle->weather || bundle->adhan ||
                 bundle->branding || bundle->sources || bundle->theme || bundle->monetization);
    EXPECT_EQ(bundle->toJson(), original);
}

#include <gtest/gtest.h>

#include "FixtureServer.h"
#include "model/ClockBundle.h"
#include "model/LocalLabels.h"

#include <QJsonArray>
#include <QJsonObject>
#include <functional>
#include <limits>

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

namespace {

// The full fixture with one change applied at a path of keys.
QJsonObject changed(const QJsonObject& object, const QStringList& path,
                    const std::optional<QJsonValue>& value) {
    QJsonObject out = object;
    if (path.size() == 1) {
        if (value)
            out.insert(path[0], *value);
        else
            out.remove(path[0]);
        return out;
    }
    out.insert(path[0], changed(object.value(path[0]).toObject(), path.mid(1), value));
    return out;
}

}  // namespace

TEST(ClockBundle, OneBadFieldAnywhereFailsTheWholeBundle) {
    const QJsonObject full = fixtureJson(u"bundle-full.json"_s).toObject();
    const QJsonValue null = QJsonValue(QJsonValue::Null);
    struct Case {
        QStringList path;
        std::optional<QJsonValue> value;  // nothing: the key is removed
        bool decodes;
    } cases[] = {
        {{u"labels"_s}, std::nullopt, false},
        {{u"labels"_s}, null, false},
        {{u"labels"_s}, QJsonObject{}, true},
        {{u"labels"_s}, QJsonObject{{u"fajr"_s, 1}}, false},
        {{u"alerts"_s}, std::nullopt, false},
        {{u"alerts"_s}, null, false},
        {{u"alerts"_s}, QJsonArray{}, true},
        {{u"alerts"_s}, QJsonArray{QJsonObject{}, QJsonObject{{u"magnitude"_s, u"5"_s}}}, false},
        {{u"events"_s}, std::nullopt, false},
        {{u"events"_s}, QJsonArray{}, true},
        {{u"prayers"_s}, std::nullopt, false},
        {{u"prayers"_s}, QJsonObject{}, true},
        {{u"rtl"_s}, 1, false},
        {{u"rtl"_s}, u"true"_s, false},
        {{u"rtl"_s}, false, true},
        {{u"lang"_s}, null, false},
        {{u"generated_at"_s}, std::nullopt, true},
        {{u"generated_at"_s}, 20260301, false},
        {{u"weather"_s}, null, true},
        {{u"weather"_s}, std::nullopt, true},
        {{u"weather"_s, u"current"_s, u"is_day"_s}, std::nullopt, false},
        {{u"weather"_s, u"daily"_s}, QJsonArray{QJsonObject{{u"date"_s, u"d"_s}}}, false},
        {{u"method"_s}, QJsonObject{}, true},
        {{u"method"_s, u"asr"_s}, 0.5, false},
        {{u"qibla"_s, u"images"_s, u"map_url"_s}, std::nullopt, false},
        {{u"qibla"_s, u"images"_s}, null, true},
        {{u"date"_s, u"hijri"_s, u"month"_s}, 9.5, false},
        {{u"moon"_s, u"waxing"_s}, std::nullopt, false},
        {{u"moon"_s, u"next_eclipse"_s, u"type"_s}, std::nullopt, false},
        {{u"adhan"_s, u"regular"_s}, std::nullopt, false},
        {{u"sources"_s, u"moon"_s, u"active"_s}, std::nullopt, false},
        {{u"branding"_s, u"logo_url"_s}, std::nullopt, false},
        {{u"theme"_s, u"moon_size"_s}, u"120"_s, false},
        {{u"monetization"_s, u"custom"_s}, QJsonArray{1}, false},
        {{u"location"_s, u"lat"_s}, u"21.4"_s, false},
        {{u"next_prayer"_s, u"time"_s}, std::nullopt, false},
        {{u"unlisted"_s}, QJsonArray{1, 2}, true},
    };
    for (const Case& c : cases) {
        const std::optional<ClockBundle> bundle = ClockBundle::fromJson(changed(full, c.path, c.value));
        EXPECT_EQ(bundle.has_value(), c.decodes) << c.path.join(u'.').toStdString();
    }
}

TEST(ClockBundle, UnlistedKeysAreNotWrittenBack) {
    QJsonObject object = fixtureJson(u"bundle-minimal.json"_s).toObject();
    object.insert(u"server_extra"_s, u"x"_s);
    const std::optional<ClockBundle> bundle = ClockBundle::fromJson(object);
    ASSERT_TRUE(bundle);
    EXPECT_FALSE(bundle->toJson().toObject().contains(u"server_extra"_s));
}

TEST(ClockBundle, NonFiniteNumbersRefuseToEncode) {
    const std::optional<ClockBundle> original = ClockBundle::fromJson(fixtureJson(u"bundle-full.json"_s));
    ASSERT_TRUE(original);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::function<void(ClockBundle&)> breakers[] = {
        [&](ClockBundle& b) { b.location.lat = nan; },
        [&](ClockBundle& b) { b.location.tzOffsetHours = -inf; },
        [&](ClockBundle& b) { b.qibla.bearing = nan; },
        [&](ClockBundle& b) { b.moon.ageDays = inf; },
        [&](ClockBundle& b) { b.alerts[0].distanceKm = nan; },
        [&](ClockBundle& b) { b.qibla.images->bearing = inf; },
    };
    for (const auto& breakIt : breakers) {
        ClockBundle bundle = *original;
        breakIt(bundle);
        EXPECT_FALSE(JsonCoding::encodeRecord(bundle).has_value());
    }
    EXPECT_TRUE(JsonCoding::encodeRecord(*original).has_value());
}

TEST(ClockBundle, LabelLooksInTheBundleThenTheBuiltInTableThenUsesTheKey) {
    ClockBundle bundle;
    EXPECT_EQ(bundle.label(u"fajr"_s), u"Fajr"_s);
    EXPECT_EQ(bundle.label(u"unknown"_s), u"—"_s);
    EXPECT_EQ(bundle.label(u"no_such_key"_s), u"no_such_key"_s);
    EXPECT_EQ(bundle.label(QString()), QString());

    bundle.labels = {{u"fajr"_s, QString()}, {u"maghrib"_s, u"المغرب"_s}, {u"custom"_s, u"Own"_s}};
    struct Case {
        QString key;
        QString text;
    } cases[] = {
        {u"fajr"_s, u""_s},      {u"maghrib"_s, u"المغرب"_s},
        {u"custom"_s, u"Own"_s}, {u"isha"_s, u"Isha"_s},
        {u"Fajr"_s, u"Fajr"_s},  {u" fajr"_s, u" fajr"_s},
        {u"FAJR"_s, u"FAJR"_s},  {u"read_quran"_s, u"Read Qur’an"_s},
    };
    for (const Case& c : cases) EXPECT_EQ(bundle.label(c.key), c.text) << c.key.toStdString();
}

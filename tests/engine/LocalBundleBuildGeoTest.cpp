#include "FakeClock.h"
#include "LocalBundleBuildTestSupport.h"
#include "engine/CivilDay.h"
#include "engine/LocalBundleGeo.h"
#include "engine/LocalBundlePrayers.h"
#include "engine/NetworkDiscipline.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double kLat = 21.4225;
constexpr double kLon = 39.8262;
// Open sea, more than 300 km from any place of the offline database: only the maps service knows its zone.
constexpr double kSeaLat = -8.0;
constexpr double kSeaLon = -125.0;

const std::int64_t kDec7 = CivilDay::daysFromCivil(2026, 12, 7);

}  // namespace

class BundleGeoTest : public BundleBuildTest {
  protected:
    void SetUp() override {
        BundleBuildTest::SetUp();
        useMapsKey(u"k"_s);
        server.routeFixture(kTimezone, u"bundle-build/timezone_riyadh.json"_s);
        server.routeFixture(kGeocode, u"bundle-build/geocode_makkah.json"_s);
        server.routeFixture(kMetadata, u"bundle-build/streetview_zero_results.json"_s);
    }
    FakeClock clock{"2026-12-07T09:00:00Z"};
};

TEST_F(BundleGeoTest, LookupsFillThePlaceAndAreCached) {
    const ClockBundle b = build(kLat, kLon);
    EXPECT_EQ(b.location.city, u"Mecca"_s);
    EXPECT_EQ(b.location.countryCode, u"SA"_s);
    EXPECT_EQ(b.location.tzOffsetHours, 3.0);
    ASSERT_TRUE(b.qibla.images);
    EXPECT_EQ(b.qibla.images->streetviewAvailable, false);
    EXPECT_EQ(server.requestsTo(kGeocode).size(), 1);

    const std::optional<CachedGeo> stored =
        NetworkDiscipline::loadCodable<CachedGeo>(LocalBundleGeo::cacheKey(kLat, kLon));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->admin1, u"Makkah Province"_s);
    EXPECT_FALSE(stored->streetViewOK);

    build(kLat, kLon);
    EXPECT_EQ(server.requestsTo(kGeocode).size(), 1);
    build(kLat, kLon, SettingsSnapshot::defaults(), std::nullopt, std::nullopt, true);
    EXPECT_EQ(server.requestsTo(kGeocode).size(), 2);
    EXPECT_EQ(server.requestsTo(kTimezone).size(), 2);
    EXPECT_EQ(server.requestsTo(kMetadata).size(), 2);
}

TEST_F(BundleGeoTest, GeocodedCityWinsOverTheManualCity) {
    SettingsSnapshot s = SettingsSnapshot::defaults();
    s.useManualLocation = true;
    s.manualCity = u"Elsewhere"_s;
    EXPECT_EQ(build(kLat, kLon, s).location.city, u"Mecca"_s);
}

// The manual city fills a missing geocoded city only in manual mode, trimmed; the cache keeps what the
// service said, so switching the mode takes effect without a new lookup.
TEST_F(BundleGeoTest, ManualCityOnlyInManualModeAndTrimmed) {
    server.routeFixture(kGeocode, u"bundle-build/geocode_open_sea.json"_s);
    struct Row {
        bool manual;
        QString city;
        std::optional<QString> want;
    } rows[] = {
        {false, u" Paris\n"_s, std::nullopt}, {true, u" Paris\n"_s, u"Paris"_s},
        {true, u" \n\t"_s, std::nullopt},     {true, QString(), std::nullopt},
        {false, u" Paris\n"_s, std::nullopt},
    };
    for (const Row& r : rows) {
        SettingsSnapshot s = SettingsSnapshot::defaults();
        s.useManualLocation = r.manual;
        s.manualCity = r.city;
        const ClockBundle b = build(kLat, kLon, s);
        EXPECT_EQ(b.location.city, r.want) << r.manual << " '" << r.city.toStdString() << "'";
        EXPECT_EQ(b.location.countryCode, u"SA"_s);
    }
    EXPECT_EQ(server.requestsTo(kGeocode).size(), 1);
}

TEST_F(BundleGeoTest, OverridesOfCityAndCountry) {
    struct Row {
        std::optional<QString> city, country;
        std::optional<QString> wantCity, wantCountry;
    } rows[] = {
        {std::nullopt, std::nullopt, u"Mecca"_s, u"SA"_s},
        {u""_s, std::nullopt, u"Mecca"_s, u"SA"_s},
        {u"Jeddah"_s, std::nullopt, u"Jeddah"_s, u"SA"_s},
        {std::nullopt, u""_s, u"Mecca"_s, u""_s},
        {u"Doha"_s, u"QA"_s, u"Doha"_s, u"QA"_s},
        {u" \n"_s, std::nullopt, u"Mecca"_s, u"SA"_s},
        {u" Jeddah\n"_s, std::nullopt, u"Jeddah"_s, u"SA"_s},
    };
    for (const Row& r : rows) {
        const ClockBundle b = build(kLat, kLon, SettingsSnapshot::defaults(), r.city, r.country);
        EXPECT_EQ(b.location.city, r.wantCity);
        EXPECT_EQ(b.location.countryCode, r.wantCountry);
    }
}

// The stored manual offset stands in only in manual mode, only when the lookup failed, and only when it is
// a real offset; the device here is on UTC.
TEST_F(BundleGeoTest, ManualOffsetOnlyWhenTheLookupFailsInManualMode) {
    struct Row {
        bool manual;
        std::optional<double> stored;  // nothing: the key was never written
        bool lookupWorks;
        double want;
    } rows[] = {
        {false, 5.5, true, -9.5},  {false, 5.5, false, 0.0},         {true, 5.5, true, -9.5},
        {true, 5.5, false, 5.5},   {true, -3.5, false, -3.5},        {true, 0.0, false, 0.0},
        {true, 0.005, false, 0.0}, {true, 0.02, false, 0.02},        {true, 20.0, false, 0.0},
        {true, NAN, false, 0.0},   {true, std::nullopt, false, 0.0},
    };
    for (const Row& r : rows) {
        SettingsSnapshot s = SettingsSnapshot::defaults();
        s.deviceId = u"device-"_s + QString::number(qint64(&r - rows));
        s.useManualLocation = r.manual;
        if (r.stored)
            storeManualOffset(s, *r.stored);
        else
            s.manualTzOffsetHours = 5.5;
        server.routeFixture(kTimezone, r.lookupWorks ? u"bundle-build/timezone_marquesas.json"_s
                                                     : u"bundle-build/timezone_zero_results.json"_s);
        const ClockBundle b = build(kSeaLat, kSeaLon, s, std::nullopt, std::nullopt, true);
        EXPECT_EQ(b.location.tzOffsetHours, r.want)
            << "row " << (&r - rows) << " manual " << r.manual << " stored " << r.stored.value_or(-99);
    }
}

// A failed offset lookup is not kept: the next build asks again and keeps the first real answer.
TEST_F(BundleGeoTest, FailedOffsetLookupIsNotCached) {
    server.routeFixture(kTimezone, u"bundle-build/timezone_zero_results.json"_s);
    EXPECT_EQ(build(kSeaLat, kSeaLon).location.tzOffsetHours, 0.0);
    server.routeFixture(kTimezone, u"bundle-build/timezone_marquesas.json"_s);
    EXPECT_EQ(build(kSeaLat, kSeaLon).location.tzOffsetHours, -9.5);
    server.routeFixture(kTimezone, u"bundle-build/timezone_zero_results.json"_s);
    EXPECT_EQ(build(kSeaLat, kSeaLon).location.tzOffsetHours, -9.5);
    EXPECT_EQ(server.requestsTo(kTimezone).size(), 2);
}

TEST(BundleGeoKeys, CoordinatesRoundHalfAwayFromZero) {
    EXPECT_EQ(LocalBundleGeo::cacheKey(51.50049, -0.0004), u"geo.51.500,-0.000"_s);
    EXPECT_EQ(LocalBundleGeo::cacheKey(51.5005, 0.0005), u"geo.51.501,0.001"_s);
}

// Every input of the calculation is in the key; a cached entry is served only for its own day.
class BundlePrayerCacheTest : public BundleBuildTest {
  protected:
    void SetUp() override {
        BundleBuildTest::SetUp();
        server.setOffline(true);
    }
    static QString key(const SettingsSnapshot& s) {
        return LocalBundlePrayers::cacheKey(s, 3.0, u"2026-12-07"_s, kLat, kLon);
    }
    static void plant(const SettingsSnapshot& s, const QString& day, const QString& time) {
        JsonCoding::StringMap p;
        for (const char* k : {"fajr", "sunrise", "dhuhr", "asr", "maghrib", "isha"})
            p.insert(QLatin1String(k), time);
        ASSERT_TRUE(NetworkDiscipline::storeCodable(LocalBundlePrayers::CachedPrayers{day, p}, key(s)));
    }
    FakeClock clock{"2026-12-07T09:00:00Z"};
};

TEST_F(BundlePrayerCacheTest, KeyHoldsEveryInput) {
    const SettingsSnapshot base = SettingsSnapshot::defaults();
    EXPECT_EQ(key(base), u"prayers.ISNA.a1.hangle.z3.0.2026-12-07.21.423,39.826"_s);
    SettingsSnapshot s = base;
    s.highLat = u"middle"_s;
    EXPECT_NE(key(s), key(base));
    s = base;
    s.asr = 2;
    EXPECT_NE(key(s), key(base));
    s = base;
    s.method = u"MWL"_s;
    EXPECT_NE(key(s), key(base));
    EXPECT_NE(LocalBundlePrayers::cacheKey(base, 3.5, u"2026-12-07"_s, kLat, kLon), key(base));
}

TEST_F(BundlePrayerCacheTest, FreshEntryOfTheDayIsServedAndAnyChangeRecomputes) {
    const SettingsSnapshot base = SettingsSnapshot::defaults();
    const JsonCoding::StringMap real = build(kLat, kLon).prayers;
    plant(base, u"2026-12-07"_s, u"01:01"_s);
    EXPECT_EQ(build(kLat, kLon).prayers.value(u"isha"_s), u"01:01"_s);

    SettingsSnapshot highLat = base;
    highLat.highLat = u"seventh"_s;
    EXPECT_EQ(build(kLat, kLon, highLat).prayers, real);
    SettingsSnapshot asr = base;
    asr.asr = 2;
    EXPECT_NE(build(kLat, kLon, asr).prayers.value(u"asr"_s), u"01:01"_s);
    EXPECT_EQ(build(kLat, kLon, base, std::nullopt, std::nullopt, true).prayers, real);
}

TEST_F(BundlePrayerCacheTest, EntryOfAnotherDayOrDamagedOrStaleIsRecomputed) {
    const SettingsSnapshot base = SettingsSnapshot::defaults();
    const JsonCoding::StringMap real = build(kLat, kLon).prayers;

    plant(base, u"2026-12-06"_s, u"01:01"_s);
    EXPECT_EQ(build(kLat, kLon).prayers, real);
    const auto stored = NetworkDiscipline::loadCodable<LocalBundlePrayers::CachedPrayers>(key(base));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->day, u"2026-12-07"_s);

    NetworkDiscipline::storeData(R"({"day":"2026-12-07","prayers":{"fajr":"01:01"}})", key(base));
    EXPECT_EQ(build(kLat, kLon).prayers, real);

    plant(base, u"2026-12-07"_s, u"01:01"_s);
    clock.advanceSeconds(12 * 3600 + 1);  // prayerRefreshHours is 12
    EXPECT_EQ(build(kLat, kLon).prayers.value(u"isha"_s), real.value(u"isha"_s));
}

TEST(BundlePrayers, ComputedStringsOfADay) {
    const JsonCoding::StringMap p =
        LocalBundlePrayers::compute(SettingsSnapshot::defaults(), kDec7, 21.4225, 39.8262, 3.0);
    EXPECT_EQ(p.size(), 6);
    EXPECT_EQ(p.value(u"fajr"_s), u"05:40"_s);
    EXPECT_EQ(p.value(u"isha"_s), u"18:44"_s);
    // A method not in the table computes with the default angles.
    SettingsSnapshot unknown = SettingsSnapshot::defaults();
    unknown.method = u"Custom"_s;
    SettingsSnapshot mwl = SettingsSnapshot::defaults();
    mwl.method = u"MWL"_s;
    EXPECT_EQ(LocalBundlePrayers::compute(unknown, kDec7, 21.4225, 39.8262, 3.0),
              LocalBundlePrayers::compute(mwl, kDec7, 21.4225, 39.8262, 3.0));
}

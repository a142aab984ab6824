#include "DeviceZone.h"
#include "FakeClock.h"
#include "LocalBundleBuildTestSupport.h"
#include "engine/LocalBundleGeo.h"
#include "engine/NetworkDiscipline.h"

using namespace Qt::Literals::StringLiterals;

// Which zone gives a place's offset, and how the offset follows the zone's changes, through the offline
// place data (no maps key).
namespace {

SettingsSnapshot chosenPlace() {
    SettingsSnapshot s = SettingsSnapshot::defaults();
    s.useManualLocation = true;
    return s;
}

SettingsSnapshot thisComputersPlace() {
    SettingsSnapshot s = SettingsSnapshot::defaults();
    s.devicePlace = true;
    return s;
}

}  // namespace

TEST_F(BundleBuildTest, ACachedPlaceFollowsItsZoneThroughTheChangeOfClocks) {
    FakeClock clock("2026-03-29T00:05:00Z");
    const ClockBundle before = build(51.5074, -0.1278, chosenPlace());
    EXPECT_EQ(before.location.tzOffsetHours, 0.0);
    EXPECT_EQ(before.location.timeZone, u"Europe/London"_s);
    EXPECT_EQ(before.prayers.value(u"fajr"_s), u"04:08"_s);
    EXPECT_EQ(before.date.gregorian, u"2026-03-29"_s);

    clock.set(QDateTime::fromString(u"2026-03-29T12:00:00Z"_s, Qt::ISODate));
    // The place record of the first build is still fresh and still says 0; its zone moves the offset.
    const std::optional<CachedGeo> stored =
        NetworkDiscipline::loadCodable<CachedGeo>(LocalBundleGeo::cacheKey(51.5074, -0.1278));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->tzOffsetHours, 0.0);
    EXPECT_EQ(stored->timeZone, u"Europe/London"_s);
    ASSERT_TRUE(NetworkDiscipline::isFresh(LocalBundleGeo::cacheKey(51.5074, -0.1278), 24 * 3600));
    const ClockBundle after = build(51.5074, -0.1278, chosenPlace());
    EXPECT_EQ(after.location.tzOffsetHours, 1.0);
    EXPECT_EQ(after.prayers.value(u"fajr"_s), u"05:08"_s);
    EXPECT_EQ(after.nextPrayer.key, u"dhuhr"_s);
    EXPECT_EQ(after.nextPrayer.time, after.prayers.value(u"dhuhr"_s));
}

TEST_F(BundleBuildTest, ThisComputersZoneIsTheAuthorityForItsOwnPlace) {
    // 38.75,-7.40 lies in Portugal, 40 km from Badajoz in Spain and 48 km from Évora.
    DeviceZone lisbon("Europe/Lisbon");
    FakeClock clock("2026-12-07T09:00:00Z");
    const ClockBundle own = build(38.75, -7.40, thisComputersPlace());
    EXPECT_EQ(own.location.tzOffsetHours, 0.0);
    EXPECT_EQ(own.location.timeZone, u"Europe/Lisbon"_s);
    EXPECT_EQ(own.location.countryCode, u"ES"_s) << "the names still come from the nearest town";

    const ClockBundle chosen = build(38.75, -7.40, chosenPlace());
    EXPECT_EQ(chosen.location.tzOffsetHours, 1.0);
    EXPECT_EQ(chosen.location.timeZone, u"Europe/Madrid"_s);
    // The day and the prayers are those of the zone that was chosen: dhuhr an hour apart.
    const auto minutes = [](const ClockBundle& b) {
        return *LocalBundleBuilder::minutesOfDay(b.prayers.value(u"dhuhr"_s));
    };
    EXPECT_EQ(minutes(chosen) - minutes(own), 60);
}

TEST_F(BundleBuildTest, AComputerZoneTheSystemDoesNotKnowLeavesItsOwnPlaceToThePlacesZone) {
    DeviceZone unknown("Nowhere/Atlantis");  // the C library keeps such a clock in UTC
    FakeClock clock("2026-12-07T22:30:00Z");
    const ClockBundle b = build(21.4225, 39.8262, thisComputersPlace());
    EXPECT_EQ(b.location.tzOffsetHours, 3.0);
    EXPECT_EQ(b.location.timeZone, u"Asia/Riyadh"_s);
    EXPECT_EQ(b.date.gregorian, u"2026-12-08"_s) << "01:30 in Makkah";
}

TEST_F(BundleBuildTest, AFixedOffsetPlaceHasNoZone) {
    FakeClock clock("2026-12-07T09:00:00Z");
    SettingsSnapshot s = chosenPlace();
    storeManualOffset(s, 5.5);
    // Open sea: no town within 300 km, so the stored offset stands, with no zone to follow.
    const ClockBundle b = build(-40.0, -30.0, s);
    EXPECT_EQ(b.location.tzOffsetHours, 5.5);
    EXPECT_FALSE(b.location.timeZone);
}

TEST_F(BundleBuildTest, RuralPlacesAskTheirCountrysAlertFeed) {
    FakeClock clock("2026-12-07T09:00:00Z");
    struct Row {
        double lat, lon;
        const char* country;
        const char* feed;
    };
    const Row rows[] = {
        {31.0, -104.0, "US", "/alerts/active"},
        {47.0, -110.0, "US", "/alerts/active"},
        {46.0, -100.0, "US", "/alerts/active"},
        {55.0, -105.0, "CA", "/collections/weather-alerts/items"},
    };
    for (const Row& r : rows) {
        const qsizetype asked = server.requestsTo(QLatin1String(r.feed)).size();
        const ClockBundle b = build(r.lat, r.lon, chosenPlace());
        EXPECT_EQ(b.location.countryCode, QLatin1String(r.country)) << r.lat << "," << r.lon;
        EXPECT_FALSE(b.location.city) << r.lat << "," << r.lon;
        EXPECT_EQ(server.requestsTo(QLatin1String(r.feed)).size(), asked + 1) << r.lat << "," << r.lon;
    }
}

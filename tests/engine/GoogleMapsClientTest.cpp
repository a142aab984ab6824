#include <gtest/gtest.h>

#include "Await.h"
#include "DeviceZone.h"
#include "FakeClock.h"
#include "FixtureServer.h"
#include "engine/GoogleMapsClient.h"
#include "platform/Endpoints.h"

#include <QUrlQuery>
#include <ctime>

namespace {

const QString kTimezone = QStringLiteral("/maps/api/timezone/json");
const QString kGeocode = QStringLiteral("/maps/api/geocode/json");
const QString kMetadata = QStringLiteral("/maps/api/streetview/metadata");

QDateTime utc(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate);
}

// Points every service at the fixture server for one test and puts the built-in endpoints back afterwards.
class MapsTest : public ::testing::Test {
  protected:
    void useKey(const QString& key) { Endpoints::setCurrent(Endpoints::allAt(server.origin(), key)); }
    void SetUp() override { useKey(QStringLiteral("test-key")); }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }
    FixtureServer server;
};

}  // namespace

TEST_F(MapsTest, OfflineOffsetsFollowTheZoneOfTheNearestPlace) {
    useKey(QString());
    struct Row {
        double lat, lon;
        const char* at;
        double hours;
    };
    const Row rows[] = {
        {21.4225241, 39.8261818, "2026-08-13T12:00:00Z", 3.0},  // Makkah, Asia/Riyadh
        {27.7172, 85.3240, "2026-08-13T12:00:00Z", 5.75},       // Kathmandu
        {51.5074, -0.1278, "2026-01-15T12:00:00Z", 0.0},        // London in winter
        {51.5074, -0.1278, "2026-07-15T12:00:00Z", 1.0},        // and in summer
        {51.5074, -0.1278, "2026-03-29T00:59:59Z", 0.0},        // the second before the change
        {51.5074, -0.1278, "2026-03-29T01:00:00Z", 1.0},
        {-33.8688, 151.2093, "2026-01-15T00:00:00Z", 11.0},  // Sydney, southern summer
    };
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(r.lat, r.lon, utc(r.at))), r.hours)
            << r.lat << "," << r.lon << " " << r.at;
    }
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(MapsTest, FarFromAnyPlaceTheDeviceOffsetIsTheLastFallback) {
    useKey(QString());
    DeviceZone zone("Asia/Kathmandu");
    FakeClock clock("2026-08-13T12:00:00Z");
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(-40.0, -30.0, clock.now())), 5.75);
    // Near (0, 0) the longitude decides, never the computer's zone.
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(0.005, -0.009, clock.now())), 0.0);
    EXPECT_FALSE(std::signbit(await(GoogleMapsClient::timezoneOffsetHours(0.005, -0.009, clock.now()))));
}

TEST_F(MapsTest, ServiceZoneIdIsResolvedAtTheInstant) {
    server.routeFixture(kTimezone, QStringLiteral("maps_timezone_london.json"));
    const QDateTime winter = utc("2026-01-15T12:00:00Z");
    // The reply names London's zone; its offsets (summer) are ignored in favour of the zone at the instant.
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(10.0, 10.0, winter)), 0.0);
    ASSERT_EQ(server.log().size(), 1);
    const auto& q = server.log()[0].query;
    EXPECT_EQ(server.log()[0].path, kTimezone);
    EXPECT_EQ(q.queryItemValue(QStringLiteral("location")), QStringLiteral("10.0,10.0"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("timestamp")), QStringLiteral("1768478400"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("key")), QStringLiteral("test-key"));
}

TEST_F(MapsTest, ServiceOffsetsWithoutAZone) {
    server.routeFixture(kTimezone, QStringLiteral("maps_timezone_offsets_only.json"));
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(-40.0, -30.0, utc("2026-01-15T12:00:00Z"))),
                     5.5);
}

TEST_F(MapsTest, FailedServiceFallsBackToTheOfflineDatabase) {
    const QDateTime summer = utc("2026-07-15T12:00:00Z");
    server.routeFixture(kTimezone, QStringLiteral("maps_timezone_zero_results.json"));
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(51.5074, -0.1278, summer)), 1.0);
    server.routeJson(kTimezone, "not json", 500);
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(27.7172, 85.3240, summer)), 5.75);
    server.routeJson(kTimezone, R"({"timeZoneId":"Mars/Olympus","status":"OK"})");
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(21.4225241, 39.8261818, summer)), 3.0);
    server.setOffline(true);
    EXPECT_DOUBLE_EQ(await(GoogleMapsClient::timezoneOffsetHours(21.4225241, 39.8261818, summer)), 3.0);
}

TEST_F(MapsTest, ReverseGeocodeTakesLocalityCountryAndRegion) {
    server.routeFixture(kGeocode, QStringLiteral("maps_geocode_paris.json"));
    const auto g = await(GoogleMapsClient::reverseGeocode(48.8556, 2.3589));
    EXPECT_EQ(g.city, QStringLiteral("Paris"));
    EXPECT_EQ(g.country, QStringLiteral("FR"));
    EXPECT_EQ(g.admin1, QStringLiteral("Île-de-France"));
    ASSERT_EQ(server.requestsTo(kGeocode).size(), 1);
    const QUrlQuery q = server.requestsTo(kGeocode)[0].query;
    EXPECT_EQ(q.queryItemValue(QStringLiteral("latlng")), QStringLiteral("48.8556,2.3589"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("key")), QStringLiteral("test-key"));
}

TEST_F(MapsTest, ReverseGeocodeOfflineAndItsFallbacks) {
    useKey(QString());
    const auto tromso = await(GoogleMapsClient::reverseGeocode(69.6492, 18.9553));
    EXPECT_EQ(tromso.city, QStringLiteral("Tromsø"));
    EXPECT_EQ(tromso.country, QStringLiteral("NO"));
    EXPECT_EQ(tromso.admin1, QStringLiteral("Troms og Finnmark"));
    const auto ocean = await(GoogleMapsClient::reverseGeocode(-40.0, -30.0));
    EXPECT_FALSE(ocean.city || ocean.country || ocean.admin1);
    EXPECT_TRUE(server.log().isEmpty());

    useKey(QStringLiteral("test-key"));
    server.routeFixture(kGeocode, QStringLiteral("maps_geocode_zero_results.json"));
    EXPECT_EQ(await(GoogleMapsClient::reverseGeocode(69.6492, 18.9553)).city, QStringLiteral("Tromsø"));
    EXPECT_EQ(server.requestsTo(kGeocode).size(), 1);
}

TEST_F(MapsTest, RuralPlacesKeepTheirCountryAndRegionButNoTownName) {
    useKey(QString());
    struct Row {
        double lat, lon;
        const char* country;
        const char* region;
    };
    // The nearest town within 300 km names them; in west Texas that is Carlsbad, 159 km away over the New
    // Mexico line, so the region is its state.
    const Row rows[] = {
        {31.0, -104.0, "US", "New Mexico"},
        {47.0, -110.0, "US", "Montana"},
        {46.0, -100.0, "US", "North Dakota"},
        {55.0, -105.0, "CA", "Saskatchewan"},
    };
    for (const Row& r : rows) {
        const auto g = await(GoogleMapsClient::reverseGeocode(r.lat, r.lon));
        EXPECT_EQ(g.country, QLatin1String(r.country)) << r.lat << "," << r.lon;
        EXPECT_EQ(g.admin1, QLatin1String(r.region)) << r.lat << "," << r.lon;
        EXPECT_FALSE(g.city) << r.lat << "," << r.lon << " is not " << qPrintable(g.city.value_or(QString()));
    }
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(MapsTest, TheZoneNameComesWithTheOffset) {
    const QDateTime winter = utc("2026-01-15T12:00:00Z");
    server.routeFixture(kTimezone, QStringLiteral("maps_timezone_london.json"));
    const GoogleMapsClient::Zone served = await(GoogleMapsClient::timeZone(10.0, 10.0, winter));
    EXPECT_EQ(served.zoneId, QStringLiteral("Europe/London"));
    EXPECT_DOUBLE_EQ(served.offsetHours, 0.0);
    server.routeFixture(kTimezone, QStringLiteral("maps_timezone_offsets_only.json"));
    EXPECT_FALSE(await(GoogleMapsClient::timeZone(-40.0, -30.0, winter)).zoneId);

    useKey(QString());
    // Near a border the nearest town may be the neighbour's: 38.75,-7.40 in Portugal is closest to Badajoz.
    const GoogleMapsClient::Zone border = await(GoogleMapsClient::timeZone(38.75, -7.40, winter));
    EXPECT_EQ(border.zoneId, QStringLiteral("Europe/Madrid"));
    EXPECT_DOUBLE_EQ(border.offsetHours, 1.0);
    EXPECT_FALSE(await(GoogleMapsClient::timeZone(-40.0, -30.0, winter)).zoneId) << "open sea";
}

TEST_F(MapsTest, StreetViewIsMissingOnlyWhenTheServiceSaysSo) {
    server.routeFixture(kMetadata, QStringLiteral("maps_streetview_metadata_ok.json"));
    EXPECT_TRUE(await(GoogleMapsClient::streetViewAvailable(21.4225, 39.8262)));
    const QUrlQuery q = server.requestsTo(kMetadata)[0].query;
    EXPECT_EQ(q.queryItemValue(QStringLiteral("location")), QStringLiteral("21.4225,39.8262"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("source")), QStringLiteral("outdoor"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("key")), QStringLiteral("test-key"));

    server.routeFixture(kMetadata, QStringLiteral("maps_streetview_metadata_zero_results.json"));
    EXPECT_FALSE(await(GoogleMapsClient::streetViewAvailable(21.4225, 39.8262)));
    server.routeJson(kMetadata, "<html>", 502);
    EXPECT_TRUE(await(GoogleMapsClient::streetViewAvailable(21.4225, 39.8262)));
    server.setOffline(true);
    EXPECT_TRUE(await(GoogleMapsClient::streetViewAvailable(21.4225, 39.8262)));
}

TEST_F(MapsTest, NoKeyMeansNoRequest) {
    useKey(QString());
    EXPECT_TRUE(await(GoogleMapsClient::streetViewAvailable(21.4225, 39.8262)));
    await(GoogleMapsClient::reverseGeocode(21.4225, 39.8262));
    await(GoogleMapsClient::timezoneOffsetHours(21.4225, 39.8262, utc("2026-01-15T12:00:00Z")));
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(MapsTest, NoKeyGivesNoQiblaPictureAddresses) {
    useKey(QStringLiteral("  "));
    const QiblaImages images = GoogleMapsClient::qiblaImages(21.4225, 39.8262, 0.0, true);
    EXPECT_TRUE(images.streetviewUrl.isEmpty());
    EXPECT_TRUE(images.mapUrl.isEmpty());
    EXPECT_EQ(images.streetviewAvailable, false);
    EXPECT_DOUBLE_EQ(images.bearing, 0.0);
}

TEST_F(MapsTest, QiblaImageAddresses) {
    const QiblaImages images = GoogleMapsClient::qiblaImages(51.5074, -0.1278, 118.987654, false);
    EXPECT_DOUBLE_EQ(images.bearing, 119.0);
    const QUrl street(images.streetviewUrl);
    EXPECT_EQ(street.path(), QStringLiteral("/maps/api/streetview"));
    EXPECT_EQ(
        QUrlQuery(street).toString(QUrl::FullyDecoded),
        QStringLiteral("size=600x400&location=51.5074,-0.1278&heading=119.0&pitch=0&fov=90&source=outdoor&"
                       "key=test-key"));
    const QUrl map(images.mapUrl);
    EXPECT_EQ(map.path(), QStringLiteral("/maps/api/staticmap"));
    EXPECT_EQ(QUrlQuery(map).toString(QUrl::FullyDecoded),
              QStringLiteral("size=600x400&zoom=16&center=51.5074,-0.1278&maptype=roadmap&key=test-key"));
    EXPECT_EQ(images.streetviewAvailable, false);
    EXPECT_FALSE(images.unavailableUrl);
    EXPECT_TRUE(server.log().isEmpty());
    EXPECT_DOUBLE_EQ(GoogleMapsClient::qiblaImages(0, 0, 58.25, true).bearing, 58.3);
    EXPECT_EQ(GoogleMapsClient::qiblaImages(0, 0, 58.25, true).streetviewAvailable, true);
}

#include <gtest/gtest.h>

#include "Await.h"
#include "FakeClock.h"
#include "FixtureServer.h"
#include "engine/LocalAlerts.h"
#include "platform/Endpoints.h"

namespace {

const QString kNws = QStringLiteral("/alerts/active");
const QString kCanada = QStringLiteral("/collections/weather-alerts/items");
const QString kQuakes = QStringLiteral("/fdsnws/event/1/query");

std::optional<QString> text(const char* s) {
    return QString::fromUtf8(s);
}

class FeedsTest : public ::testing::Test {
  protected:
    void SetUp() override { Endpoints::setCurrent(Endpoints::allAt(server.origin())); }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }
    FixtureServer server;
};

QList<Alert> quakes(const char* scope, const char* admin1 = nullptr) {
    const auto parsed = LocalAlerts::parseEarthquakes(
        FixtureServer::fixture(QStringLiteral("usgs_fdsn_query_southern_california.json")), 34.0, -118.0,
        QStringLiteral("US"), admin1 ? text(admin1) : std::nullopt, QLatin1String(scope));
    return parsed.value_or(QList<Alert>{});
}

QStringList places(const QList<Alert>& items) {
    QStringList out;
    for (const Alert& a : items) out.append(a.place.value_or(QStringLiteral("-")));
    return out;
}

}  // namespace

TEST(LocalAlertsFeeds, NwsMapping) {
    const auto items =
        LocalAlerts::parseNws(FixtureServer::fixture(QStringLiteral("nws_alerts_active_columbus.json")));
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 5);
    const Alert& flood = (*items)[0];
    EXPECT_EQ(flood.type, QStringLiteral("weather"));
    EXPECT_EQ(flood.event, QStringLiteral("Flood Warning"));
    EXPECT_EQ(flood.severity, QStringLiteral("Severe"));
    EXPECT_EQ(flood.place, QStringLiteral("Franklin, OH"));
    EXPECT_EQ(flood.time, QStringLiteral("2026-12-06T21:12:00-05:00"));
    EXPECT_EQ(flood.url, QStringLiteral("https://api.weather.gov/alerts/urn:oid:2.49.0.1.840.0.1"));
    EXPECT_EQ(flood.description->size(), 400);
    EXPECT_TRUE(flood.description->startsWith(QLatin1String("* WHAT...Flooding")));
    EXPECT_FALSE(flood.magnitude || flood.distanceKm);
    const bool emergency[] = {true, true, false, false, false};
    for (int i = 0; i < 5; ++i) EXPECT_EQ((*items)[i].emergency, emergency[i]) << i;
    // A feature without properties still gives an alert.
    const Alert& bare = (*items)[4];
    EXPECT_EQ(bare.type, QStringLiteral("weather"));
    EXPECT_FALSE(bare.event || bare.severity || bare.headline || bare.description || bare.place || bare.url);
}

TEST(LocalAlertsFeeds, DescriptionsAreCutAtWholeCharacters) {
    const auto items = LocalAlerts::parseNws(
        FixtureServer::fixture(QStringLiteral("nws_alerts_active_long_description.json")));
    ASSERT_TRUE(items && items->size() == 1);
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    EXPECT_EQ((*items)[0].description, QString(399, QLatin1Char('x')) + family);

    const QString accents = QStringLiteral("e\u0301").repeated(500);
    EXPECT_EQ(LocalAlerts::firstGraphemes(accents, 400), QStringLiteral("e\u0301").repeated(400));
    EXPECT_EQ(LocalAlerts::firstGraphemes(QStringLiteral("short"), 400), QStringLiteral("short"));
    EXPECT_EQ(LocalAlerts::firstGraphemes(QString(), 400), QString());
}

TEST(LocalAlertsFeeds, BodiesThatAreNoFeatureCollection) {
    for (const QByteArray& body : {QByteArray("not json"), QByteArray("[]"), QByteArray("{\"features\":{}}"),
                                   QByteArray("{\"features\":[1,2]}"), QByteArray("{}"),
                                   FixtureServer::fixture(QStringLiteral("nws_alerts_problem.json"))}) {
        EXPECT_FALSE(LocalAlerts::parseNws(body)) << body.constData();
        EXPECT_FALSE(LocalAlerts::parseEnvironmentCanada(body, std::nullopt, QStringLiteral("region")));
        EXPECT_FALSE(
            LocalAlerts::parseEarthquakes(body, 0, 0, std::nullopt, std::nullopt, QStringLiteral("region")));
    }
    const auto absurd =
        LocalAlerts::parseEarthquakes(R"({"features":[{"properties":{"mag":1.7e308}}]})", 0, 0, std::nullopt,
                                      std::nullopt, QStringLiteral("country"));
    ASSERT_TRUE(absurd);
    EXPECT_TRUE(absurd->isEmpty());
    const auto empty = LocalAlerts::parseNws("{\"features\":[]}");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
}

TEST(LocalAlertsFeeds, CanadianMappingDeduplicationAndSkipping) {
    const auto items = LocalAlerts::parseEnvironmentCanada(
        FixtureServer::fixture(QStringLiteral("ec_weather_alerts_items_ottawa.json")), text("Ontario"),
        QStringLiteral("region"));
    ASSERT_TRUE(items);
    ASSERT_EQ(places(*items),
              QStringList({QStringLiteral("Ottawa North - Kanata - Orléans"),
                           QStringLiteral("Ottawa South - Richmond - Metcalfe"),
                           QStringLiteral("Pontiac - Quebec"), QStringLiteral("Kenora - Ontario"), QString(),
                           QStringLiteral("Smiths Falls - Lanark - Sharbot Lake"),
                           QStringLiteral("Brockville - Leeds and Grenville")}));
    const Alert& rain = (*items)[0];
    EXPECT_EQ(rain.type, QStringLiteral("weather"));
    EXPECT_EQ(rain.event, QStringLiteral("rainfall warning"));
    EXPECT_EQ(rain.severity, QStringLiteral("Severe"));
    EXPECT_EQ(rain.headline, QStringLiteral("rainfall warning — Ottawa North - Kanata - Orléans"));
    EXPECT_EQ(rain.description, QStringLiteral("Heavy rain. Rainfall amounts of 50 mm are expected. "));
    EXPECT_EQ(rain.time, QStringLiteral("2026-12-07T06:00:00.000Z"));
    EXPECT_EQ(rain.emergency, true);
    EXPECT_FALSE(rain.url);
    const char* severities[] = {"Severe", "Severe", "Moderate", "Moderate", "Moderate", "Minor", "Moderate"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ((*items)[i].severity, QLatin1String(severities[i])) << i;
    EXPECT_EQ((*items)[2].emergency, false);
    const Alert& unnamed = (*items)[4];
    EXPECT_EQ(unnamed.event, QStringLiteral("Weather alert"));
    EXPECT_EQ(unnamed.headline, QStringLiteral("Weather alert"));
    EXPECT_FALSE(unnamed.time);
    EXPECT_EQ((*items)[5].event, QStringLiteral("SWS"));
}

TEST(LocalAlertsFeeds, CanadianProvinceFilter) {
    const QByteArray body = FixtureServer::fixture(QStringLiteral("ec_weather_alerts_items_ottawa.json"));
    const auto province =
        LocalAlerts::parseEnvironmentCanada(body, text("Ontario"), QStringLiteral("province"));
    ASSERT_TRUE(province);
    EXPECT_EQ(province->size(), 6);
    EXPECT_FALSE(places(*province).contains(QStringLiteral("Pontiac - Quebec")));
    const auto quebec = LocalAlerts::parseEnvironmentCanada(body, text("Quebec"), QStringLiteral("province"));
    EXPECT_TRUE(places(*quebec).contains(QStringLiteral("Pontiac - Quebec")));
    EXPECT_FALSE(places(*quebec).contains(QStringLiteral("Kenora - Ontario")));
    const auto noAdmin1 = LocalAlerts::parseEnvironmentCanada(body, std::nullopt, QStringLiteral("province"));
    EXPECT_EQ(noAdmin1->size(), 7);
}

TEST(LocalAlertsFeeds, UsProvinceScopeFilter) {
    const auto alert = [](std::optional<QString> place, std::optional<QString> headline) {
        Alert a;
        a.place = std::move(place);
        a.headline = std::move(headline);
        return a;
    };
    const QList<Alert> items{alert(text("Lake Erie; OH"), std::nullopt),
                             alert(text("Wayne, MI"), std::nullopt), alert(std::nullopt, std::nullopt),
                             alert(text("Lane County"), text("Flood Watch by NWS Portland OR")),
                             alert(text("Franklin"), text("issued in the morning"))};
    const auto kept = LocalAlerts::filterWeatherByScope(items, QStringLiteral("province"), text("Ohio"));
    EXPECT_EQ(places(kept), QStringList({QStringLiteral("Lake Erie; OH"), QStringLiteral("-"),
                                         QStringLiteral("Franklin")}));
    EXPECT_EQ(LocalAlerts::filterWeatherByScope(items, QStringLiteral("region"), text("Ohio")).size(), 5);
    EXPECT_EQ(LocalAlerts::filterWeatherByScope(items, QStringLiteral("province"), std::nullopt).size(), 5);
    EXPECT_EQ(LocalAlerts::filterWeatherByScope(items, QStringLiteral("province"), text(" ")).size(), 5);
}

TEST(LocalAlertsFeeds, EarthquakeMapping) {
    const QList<Alert> items = quakes("region");
    ASSERT_EQ(
        places(items),
        QStringList({QStringLiteral("10 km SW of Ocotillo, CA"), QStringLiteral("5 km NE of Cobb, CA"),
                     QStringLiteral("3 km W of Avalon, CA"), QStringLiteral("20 km S of Ridgecrest, CA"),
                     QStringLiteral("Off the coast of Oregon"), QStringLiteral("-")}));
    const Alert& six = items[0];
    EXPECT_EQ(six.type, QStringLiteral("earthquake"));
    EXPECT_EQ(six.event, QStringLiteral("M6.0 Earthquake"));
    EXPECT_EQ(six.severity, QStringLiteral("Extreme"));
    EXPECT_EQ(six.headline, QStringLiteral("M6.0 — 10 km SW of Ocotillo, CA"));
    EXPECT_EQ(six.description,
              QStringLiteral("Magnitude 6.0 earthquake 120 km away, 10 km SW of Ocotillo, CA"));
    EXPECT_EQ(six.distanceKm, 121.0);
    EXPECT_EQ(six.magnitude, 6.0);
    EXPECT_EQ(six.time, QStringLiteral("2026-12-09T07:06:40Z"));
    EXPECT_EQ(six.url, QStringLiteral("https://earthquake.usgs.gov/earthquakes/eventpage/ci40000001"));
    EXPECT_EQ(six.emergency, true);

    EXPECT_EQ(items[1].severity, QStringLiteral("Severe"));  // 4.5
    EXPECT_EQ(items[1].emergency, true);
    EXPECT_EQ(items[2].severity, QStringLiteral("Minor"));  // 4.49
    EXPECT_EQ(items[2].emergency, false);
    EXPECT_EQ(items[2].event, QStringLiteral("M4.5 Earthquake"));
    EXPECT_EQ(items[2].magnitude, 4.5);
    EXPECT_EQ(items[3].event, QStringLiteral("M5.2 Earthquake"));  // 5.25 prints as 5.2 but rounds to 5.3
    EXPECT_EQ(items[3].magnitude, 5.3);

    const Alert& oneNumber = items[4];  // coordinates with a longitude only: no distance
    EXPECT_EQ(oneNumber.description, QStringLiteral("Magnitude 3.0 earthquake, Off the coast of Oregon"));
    EXPECT_FALSE(oneNumber.distanceKm);
    const Alert& noPlace = items[5];
    EXPECT_EQ(noPlace.headline, QStringLiteral("M2.7 — "));
    EXPECT_EQ(noPlace.description, QStringLiteral("Magnitude 2.7 earthquake 10 km away"));
    EXPECT_FALSE(noPlace.time);  // given as text
    EXPECT_FALSE(noPlace.url);
}

TEST(LocalAlertsFeeds, EarthquakeKeepRadiusAndScope) {
    EXPECT_EQ(places(quakes("city")),
              QStringList({QStringLiteral("5 km NE of Cobb, CA"), QStringLiteral("3 km W of Avalon, CA"),
                           QStringLiteral("Off the coast of Oregon"), QStringLiteral("-")}));
    // No distance test for the country: only the scope test drops Mexico and Japan.
    EXPECT_EQ(quakes("country").size(), 6);
    EXPECT_EQ(quakes("continent").size(), 7);  // Mexico is on the same continent
    EXPECT_FALSE(
        places(quakes("province", "California")).contains(QStringLiteral("Off the coast of Oregon")));
    EXPECT_EQ(quakes("province", "California").size(), 5);
}

TEST_F(FeedsTest, NwsRequest) {
    server.routeFixture(kNws, QStringLiteral("nws_alerts_active_columbus.json"));
    const auto r = await(LocalAlerts::nws(39.9612, -83.0));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.items.size(), 5);
    ASSERT_EQ(server.log().size(), 1);
    const auto& req = server.log()[0];
    EXPECT_EQ(req.path, kNws);
    EXPECT_EQ(req.query.toString(QUrl::FullyDecoded), QStringLiteral("point=39.9612,-83.0"));
    EXPECT_EQ(req.header("User-Agent"), QByteArray("OrvaneClock/0.4 (local; clock@orvane.app)"));
    EXPECT_EQ(req.header("Accept"), QByteArray("application/geo+json"));
}

TEST_F(FeedsTest, CanadianRequestAndClampedBox) {
    server.routeFixture(kCanada, QStringLiteral("ec_weather_alerts_items_ottawa.json"));
    EXPECT_TRUE(
        await(LocalAlerts::environmentCanada(45.0, -75.5, text("Ontario"), QStringLiteral("city"))).ok);
    await(LocalAlerts::environmentCanada(70.0, -150.0, std::nullopt, QStringLiteral("continent")));
    await(LocalAlerts::environmentCanada(45.0, -75.5, std::nullopt, QStringLiteral("elsewhere")));
    const auto log = server.requestsTo(kCanada);
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0].query.toString(QUrl::FullyDecoded),
              QStringLiteral("f=json&lang=en&limit=60&bbox=-76.1,44.4,-74.9,45.6"));
    EXPECT_EQ(log[1].query.queryItemValue(QStringLiteral("bbox")), QStringLiteral("-180.0,30.0,-110.0,90.0"));
    EXPECT_EQ(log[2].query.queryItemValue(QStringLiteral("bbox")), QStringLiteral("-76.1,44.4,-74.9,45.6"));
    EXPECT_EQ(log[0].header("User-Agent"), QByteArray("OrvaneClock/0.4"));
    EXPECT_TRUE(log[0].header("Accept").isEmpty() || log[0].header("Accept") != "application/geo+json");
}

TEST_F(FeedsTest, EarthquakeRequest) {
    FakeClock clock("2026-12-06T13:00:00Z");
    server.routeFixture(kQuakes, QStringLiteral("usgs_fdsn_query_empty.json"));
    const auto r = await(
        LocalAlerts::earthquakes(40.0, -74.006, QStringLiteral("us"), std::nullopt, QStringLiteral("city")));
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.items.isEmpty());
    clock.advanceSeconds(3600);
    await(LocalAlerts::earthquakes(40.0, -74.006, QStringLiteral("us"), std::nullopt,
                                   QStringLiteral("country")));
    const auto log = server.requestsTo(kQuakes);
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].query.toString(QUrl::FullyDecoded),
              QStringLiteral("format=geojson&starttime=2026-12-04T13:00:00Z&latitude=40.0&longitude=-74.006&"
                             "maxradiuskm=75&minmagnitude=2.5&orderby=time&limit=40"));
    EXPECT_EQ(log[1].query.queryItemValue(QStringLiteral("starttime")),
              QStringLiteral("2026-12-04T14:00:00Z"));
    EXPECT_EQ(log[1].query.queryItemValue(QStringLiteral("maxradiuskm")), QStringLiteral("4500"));
}

TEST_F(FeedsTest, FailedFeedsAreMarkedFailed) {
    server.routeFixture(kNws, QStringLiteral("nws_alerts_problem.json"), 400);
    EXPECT_FALSE(await(LocalAlerts::nws(39.9612, -83.0)).ok);
    server.routeFixture(kNws, QStringLiteral("nws_alerts_active_columbus.json"),
                        503);  // error status, good body
    EXPECT_FALSE(await(LocalAlerts::nws(39.9612, -83.0)).ok);
    server.routeJson(kQuakes, "<html>busy</html>");
    EXPECT_FALSE(
        await(LocalAlerts::earthquakes(34.0, -118.0, std::nullopt, std::nullopt, QStringLiteral("city"))).ok);
    server.setOffline(true);
    EXPECT_FALSE(await(LocalAlerts::environmentCanada(45.0, -75.5, std::nullopt, QStringLiteral("city"))).ok);
}

TEST_F(FeedsTest, WeatherAlertsByCountry) {
    server.routeFixture(kNws, QStringLiteral("nws_alerts_active_columbus.json"));
    server.routeFixture(kCanada, QStringLiteral("ec_weather_alerts_items_ottawa.json"));
    EXPECT_EQ(await(LocalAlerts::weatherAlerts(39.96, -83.0, QStringLiteral("US"), text("Ohio"),
                                               QStringLiteral("province")))
                  .items.size(),
              5);
    EXPECT_EQ(server.requestsTo(kNws).size(), 1);
    EXPECT_EQ(await(LocalAlerts::weatherAlerts(45.0, -75.5, QStringLiteral("ca"), text("Ontario"),
                                               QStringLiteral("province")))
                  .items.size(),
              6);
    EXPECT_EQ(server.requestsTo(kCanada).size(), 1);
    for (const std::optional<QString>& cc : {std::optional<QString>(), text(""), text("gb")}) {
        const auto r =
            await(LocalAlerts::weatherAlerts(51.5, -0.1, cc, std::nullopt, QStringLiteral("region")));
        EXPECT_TRUE(r.ok);
        EXPECT_TRUE(r.items.isEmpty());
    }
    EXPECT_EQ(server.log().size(), 2);
}

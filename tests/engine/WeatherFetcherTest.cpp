#include <gtest/gtest.h>

#include "Await.h"
#include "FakeClock.h"
#include "FixtureServer.h"
#include "IsolatedDefaults.h"
#include "engine/NetworkDiscipline.h"
#include "engine/OpenMeteo.h"
#include "engine/WeatherFetcher.h"
#include "platform/Endpoints.h"

namespace {

const QString kForecast = QStringLiteral("/v1/forecast");
constexpr double kLat = 21.42252;
constexpr double kLon = 39.82618;

SettingsSnapshot settings(const char* mode, const char* provider = "openmeteo", const char* custom = "") {
    SettingsSnapshot s;
    s.weatherSourceMode = QString::fromUtf8(mode);
    s.weatherProviderId = QString::fromUtf8(provider);
    s.weatherCustomURL = QString::fromUtf8(custom);
    s.weatherRefreshHours = 4;
    return s;
}

class WeatherFetcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        server.routeFixture(kForecast, QStringLiteral("openmeteo_forecast_makkah.json"));
    }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }

    WeatherFetcher::Result fetch(const SettingsSnapshot& s, bool force = false) {
        return await(WeatherFetcher::fetch(kLat, kLon, s, force));
    }
    QString cachedKey(const char* provider) {
        return QStringLiteral("weather.") + QLatin1String(provider) + QStringLiteral(".21.423,39.826");
    }

    IsolatedDefaults defaults;
    FakeClock clock{"2026-12-07T12:00:00Z"};
    FixtureServer server;
};

}  // namespace

TEST_F(WeatherFetcherTest, DefaultProviderFetchesStoresAndThenServesTheCache) {
    const auto first = fetch(settings("auto"));
    ASSERT_TRUE(first.weather);
    EXPECT_EQ(first.weather->current.temp, 29);
    EXPECT_EQ(first.providerLabel, QStringLiteral("Open-Meteo (auto best)"));
    ASSERT_EQ(server.requestsTo(kForecast).size(), 1);
    const QUrlQuery q = server.requestsTo(kForecast)[0].query;
    EXPECT_EQ(q.queryItemValue(QStringLiteral("latitude")), QStringLiteral("21.42252"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("forecast_days")), QStringLiteral("16"));
    EXPECT_FALSE(q.hasQueryItem(QStringLiteral("models")));
    EXPECT_TRUE(NetworkDiscipline::loadCodable<Weather>(cachedKey("openmeteo")));

    clock.advanceSeconds(4 * 3600 - 1);
    const auto second = fetch(settings(""));
    EXPECT_EQ(second.providerLabel, QStringLiteral("Open-Meteo (auto best)"));  // no suffix when fresh
    EXPECT_EQ(second.weather->daily.size(), 16);
    EXPECT_EQ(server.requestsTo(kForecast).size(), 1);
    clock.advanceSeconds(1);
    fetch(settings("something else"));
    EXPECT_EQ(server.requestsTo(kForecast).size(), 2);
}

TEST_F(WeatherFetcherTest, ListedProvidersAskForTheirModel) {
    const auto gfs = fetch(settings("LIST", "openmeteo_gfs"));
    EXPECT_EQ(gfs.providerLabel, QStringLiteral("Open-Meteo GFS"));
    EXPECT_EQ(server.log().last().query.queryItemValue(QStringLiteral("models")),
              QStringLiteral("gfs_seamless"));
    EXPECT_TRUE(NetworkDiscipline::loadData(cachedKey("openmeteo_gfs")));

    const auto unknown = fetch(settings("list", "meteo_nowhere"));
    EXPECT_EQ(unknown.providerLabel, QStringLiteral("Open-Meteo"));
    EXPECT_FALSE(server.log().last().query.hasQueryItem(QStringLiteral("models")));
    EXPECT_TRUE(NetworkDiscipline::loadData(cachedKey("meteo_nowhere")));

    const auto listed = fetch(settings("list", "openmeteo"));
    EXPECT_EQ(listed.providerLabel, QStringLiteral("Open-Meteo (auto best)"));
    EXPECT_EQ(server.requestsTo(kForecast).size(), 3);
}

TEST_F(WeatherFetcherTest, CustomAddressKeepsItsOwnQueryItems) {
    server.routeFixture(QStringLiteral("/my/forecast"), QStringLiteral("openmeteo_forecast_makkah.json"));
    const QString address = server.origin().toString() + QStringLiteral("/my/forecast?latitude=1.5&units=x ");
    const auto r = fetch(settings("custom", "openmeteo", qPrintable(QStringLiteral("  ") + address)));
    ASSERT_TRUE(r.weather);
    EXPECT_EQ(r.providerLabel, QStringLiteral("Custom weather URL"));
    ASSERT_EQ(server.log().size(), 1);
    EXPECT_EQ(server.log()[0].path, QStringLiteral("/my/forecast"));
    EXPECT_EQ(server.log()[0].query.toString(QUrl::FullyDecoded),
              QStringLiteral("latitude=1.5&units=x&longitude=39.82618&forecast_days=16&timezone=auto"));
    EXPECT_TRUE(NetworkDiscipline::loadData(cachedKey("custom")));
}

TEST_F(WeatherFetcherTest, UnusableCustomAddressFallsBackToTheDefaultProvider) {
    for (const char* custom : {"ftp://example.org/forecast", "   \n", "", "http://"}) {
        const auto r = fetch(settings("Custom", "openmeteo", custom), true);
        EXPECT_TRUE(r.weather) << custom;
        EXPECT_EQ(r.providerLabel, QStringLiteral("Custom weather URL"));
        EXPECT_EQ(server.log().last().path, kForecast);
    }
    // A custom address that answers with something else also falls back.
    server.routeJson(QStringLiteral("/broken"), "{\"error\":true}");
    const QString broken = server.origin().toString() + QStringLiteral("/broken");
    EXPECT_TRUE(fetch(settings("custom", "openmeteo", qPrintable(broken)), true).weather);
    EXPECT_EQ(server.log().last().path, kForecast);
}

TEST_F(WeatherFetcherTest, FailedRequestFallsBackToTheStaleEntry) {
    fetch(settings("auto"));
    clock.advanceSeconds(48 * 3600);
    server.setOffline(true);
    const auto stale = fetch(settings("auto"));
    ASSERT_TRUE(stale.weather);
    EXPECT_EQ(stale.weather->current.temp, 29);
    EXPECT_EQ(stale.providerLabel, QStringLiteral("Open-Meteo (auto best) (cached)"));
    // With force the fresh entry is not read, but it is still the fallback.
    const auto forced = fetch(settings("auto"), true);
    EXPECT_EQ(forced.providerLabel, QStringLiteral("Open-Meteo (auto best) (cached)"));
    // Nothing cached for this provider: no record and the plain label.
    const auto none = fetch(settings("list", "openmeteo_icon"));
    EXPECT_FALSE(none.weather);
    EXPECT_EQ(none.providerLabel, QStringLiteral("Open-Meteo DWD ICON"));
}

TEST_F(WeatherFetcherTest, ForceSkipsAFreshEntry) {
    fetch(settings("auto"));
    fetch(settings("auto"), true);
    EXPECT_EQ(server.requestsTo(kForecast).size(), 2);
}

TEST_F(WeatherFetcherTest, ImplausibleRecordsAreReturnedButNeverStored) {
    server.routeFixture(kForecast, QStringLiteral("openmeteo_forecast_zero_days.json"));
    const auto first = fetch(settings("auto"));
    ASSERT_TRUE(first.weather);
    EXPECT_EQ(first.weather->current.temp, 5);
    EXPECT_EQ(first.providerLabel, QStringLiteral("Open-Meteo (auto best)"));
    EXPECT_FALSE(NetworkDiscipline::loadData(cachedKey("openmeteo")));

    // With a good entry at hand, the broken answer gives way to it.
    server.routeFixture(kForecast, QStringLiteral("openmeteo_forecast_makkah.json"));
    fetch(settings("auto"));
    clock.advanceSeconds(5 * 3600);
    server.routeFixture(kForecast, QStringLiteral("openmeteo_forecast_zero_days.json"));
    const auto fallback = fetch(settings("auto"));
    EXPECT_EQ(fallback.weather->current.temp, 29);
    EXPECT_EQ(fallback.providerLabel, QStringLiteral("Open-Meteo (auto best) (cached)"));
}

TEST_F(WeatherFetcherTest, FreshButImplausibleEntryIsNotServed) {
    const QByteArray zero = FixtureServer::fixture(QStringLiteral("openmeteo_forecast_zero_days.json"));
    NetworkDiscipline::storeCodable(*OpenMeteo::parseForecast(zero), cachedKey("openmeteo"));
    const auto r = fetch(settings("auto"));
    EXPECT_EQ(server.requestsTo(kForecast).size(), 1);
    EXPECT_EQ(r.weather->current.temp, 29);
}

TEST(WeatherFetcherRules, Plausibility) {
    Weather w;
    w.current.temp = 5;
    EXPECT_TRUE(WeatherFetcher::isPlausible(w));  // no days at all
    DailyWeather zero;
    w.daily = {zero, zero};
    EXPECT_FALSE(WeatherFetcher::isPlausible(w));
    w.current.temp = -1;
    EXPECT_FALSE(WeatherFetcher::isPlausible(w));
    w.current.temp = 0;
    EXPECT_TRUE(WeatherFetcher::isPlausible(w));
    w.current.temp = 5;
    w.daily[1].windMax = 3;
    EXPECT_TRUE(WeatherFetcher::isPlausible(w));
}

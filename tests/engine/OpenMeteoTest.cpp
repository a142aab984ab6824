#include <gtest/gtest.h>

#include "FixtureServer.h"
#include "engine/OpenMeteo.h"
#include "platform/Endpoints.h"

#include <QUrlQuery>

namespace {
std::optional<Weather> parse(const char* fixture) {
    return OpenMeteo::parseForecast(FixtureServer::fixture(QLatin1String(fixture)));
}
}  // namespace

TEST(OpenMeteo, ConditionTable) {
    const std::pair<qint64, const char*> rows[] = {
        {0, "clear"},
        {1, "mainly_clear"},
        {2, "partly_cloudy"},
        {3, "overcast"},
        {45, "fog"},
        {48, "rime_fog"},
        {51, "light_drizzle"},
        {53, "drizzle"},
        {55, "dense_drizzle"},
        {61, "light_rain"},
        {63, "rain"},
        {65, "heavy_rain"},
        {71, "light_snow"},
        {73, "snow"},
        {75, "heavy_snow"},
        {80, "rain_showers"},
        {81, "rain_showers"},
        {82, "violent_rain_showers"},
        {85, "snow_showers"},
        {86, "snow_showers"},
        {95, "thunderstorm"},
        {96, "thunderstorm_hail"},
        {99, "thunderstorm_hail"},
        {4, "unknown"},
        {-1, "unknown"},
        {56, "unknown"},
    };
    for (const auto& [code, key] : rows) EXPECT_EQ(OpenMeteo::conditionKey(code), QLatin1String(key)) << code;
}

TEST(OpenMeteo, ForecastRequest) {
    Endpoints::setCurrent(Endpoints::allAt(QUrl(QStringLiteral("http://127.0.0.1:9"))));
    const QUrl plain = OpenMeteo::forecastUrl(21.4225241, 39.8261818, 16, std::nullopt);
    const QUrl gfs = OpenMeteo::forecastUrl(-33.0, 151.0, 16, QStringLiteral("gfs_seamless"));
    Endpoints::setCurrent(Endpoints::builtIn());
    EXPECT_EQ(plain.path(), QStringLiteral("/v1/forecast"));
    EXPECT_EQ(plain.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(
        QUrlQuery(plain).toString(QUrl::FullyDecoded),
        QStringLiteral("latitude=21.4225241&longitude=39.8261818&current=temperature_2m,relative_humidity_2m,"
                       "apparent_temperature,weather_code,wind_speed_10m,wind_direction_10m,is_day&daily="
                       "weather_code,temperature_2m_max,temperature_2m_min,precipitation_probability_max,"
                       "wind_speed_10m_max,relative_humidity_2m_mean&timezone=auto&forecast_days=16"));
    const QUrlQuery q(gfs);
    EXPECT_EQ(q.queryItemValue(QStringLiteral("latitude")), QStringLiteral("-33.0"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("models")), QStringLiteral("gfs_seamless"));
}

TEST(OpenMeteo, MapsCurrentAndDaily) {
    const auto w = parse("openmeteo_forecast_makkah.json");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->current.temp, 29);  // 28.5 rounds away from zero
    EXPECT_EQ(w->current.feelsLike, 28);
    EXPECT_EQ(w->current.humidity, 36);
    EXPECT_EQ(w->current.condition, QStringLiteral("mainly_clear"));
    EXPECT_FALSE(w->current.conditionLocalized);
    EXPECT_EQ(w->current.wind, 13);
    EXPECT_EQ(w->current.windDir, 312);
    EXPECT_TRUE(w->current.isDay);
    ASSERT_EQ(w->daily.size(), 16);
    const DailyWeather& first = w->daily[0];
    EXPECT_EQ(first.date, QStringLiteral("2026-12-07"));
    EXPECT_EQ(first.condition, QStringLiteral("clear"));
    EXPECT_EQ(first.tmax, 31);
    EXPECT_EQ(first.tmin, 19);
    EXPECT_EQ(first.precipPct, 0);
    EXPECT_EQ(first.windMax, 13);
    EXPECT_EQ(first.humidity, 38);
    EXPECT_EQ(w->daily[9].tmax, -1);  // -0.5
    EXPECT_EQ(w->daily[9].tmin, -3);  // -2.5
    EXPECT_EQ(w->daily[15].condition, QStringLiteral("thunderstorm_hail"));
    EXPECT_FALSE(w->daily[15].precipPct);
    EXPECT_FALSE(w->daily[15].humidity);
}

TEST(OpenMeteo, RaggedArraysGiveMissingValues) {
    const auto w = parse("openmeteo_forecast_ragged.json");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->current.temp, -1);
    EXPECT_EQ(w->current.feelsLike, -5);
    EXPECT_FALSE(w->current.humidity);
    EXPECT_EQ(w->current.condition, QStringLiteral("unknown"));
    EXPECT_EQ(w->current.wind, 0);  // 1e300 is no 64-bit number
    EXPECT_FALSE(w->current.windDir);
    EXPECT_FALSE(w->current.isDay);
    ASSERT_EQ(w->daily.size(), 4);  // one day per date; the fifth humidity has no day
    const char* conditions[] = {"light_snow", "unknown", "unknown", "unknown"};
    const qint64 tmax[] = {2, 0, 3, 0};
    const qint64 tmin[] = {-4, -5, -6, 0};
    const qint64 wind[] = {21, 31, 0, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w->daily[i].condition, QLatin1String(conditions[i])) << i;
        EXPECT_EQ(w->daily[i].tmax, tmax[i]) << i;
        EXPECT_EQ(w->daily[i].tmin, tmin[i]) << i;
        EXPECT_EQ(w->daily[i].windMax, wind[i]) << i;
        EXPECT_EQ(w->daily[i].humidity, 85 + 5 * i) << i;
        EXPECT_EQ(w->daily[i].precipPct.has_value(), i == 0) << i;
    }
}

TEST(OpenMeteo, UnusableReplies) {
    EXPECT_FALSE(parse("openmeteo_error.json"));
    EXPECT_FALSE(OpenMeteo::parseForecast("not json"));
    EXPECT_FALSE(OpenMeteo::parseForecast("[]"));
    EXPECT_FALSE(OpenMeteo::parseForecast(R"({"current":{"temperature_2m":null}})"));
    EXPECT_FALSE(OpenMeteo::parseForecast(R"({"current":{"temperature_2m":"20"}})"));
    const auto noDaily = OpenMeteo::parseForecast(R"({"current":{"temperature_2m":20.4}})");
    ASSERT_TRUE(noDaily);
    EXPECT_EQ(noDaily->current.temp, 20);
    EXPECT_EQ(noDaily->current.condition, QStringLiteral("unknown"));
    EXPECT_TRUE(noDaily->daily.isEmpty());
}

#include "RecordCases.h"
#include "model/WeatherRecords.h"

TEST(WeatherRecords, CurrentWeather) {
    expectCases<CurrentWeather>({
        {R"({"temp":21,"feels_like":20,"condition":"clear","wind":15,"is_day":true})",
         R"({"temp":21,"feels_like":20,"condition":"clear","wind":15,"is_day":true})"},
        {R"({"temp":-3,"feels_like":-9,"humidity":80,"condition":"snow","condition_localized":"Snow",
             "wind":30,"wind_dir":270,"is_day":false})",
         R"({"temp":-3,"feels_like":-9,"humidity":80,"condition":"snow","condition_localized":"Snow",
             "wind":30,"wind_dir":270,"is_day":false})"},
        {R"({"temp":21,"feels_like":20,"condition":"clear","wind":15})", nullptr},
        {R"({"temp":null,"feels_like":20,"condition":"clear","wind":15,"is_day":true})", nullptr},
        {R"({"temp":21.5,"feels_like":20,"condition":"clear","wind":15,"is_day":true})", nullptr},
        {R"({"temp":21,"feels_like":20,"condition":"clear","wind":15,"is_day":1})", nullptr},
    });
}

TEST(WeatherRecords, MissingWindMaxReadsAsCalm) {
    expectCases<DailyWeather>({
        {R"({"date":"2026-03-20","condition":"rain","tmax":12,"tmin":4})",
         R"({"date":"2026-03-20","condition":"rain","tmax":12,"tmin":4,"wind_max":0})"},
        {R"({"date":"2026-03-20","condition":"rain","tmax":12,"tmin":4,"wind_max":null})",
         R"({"date":"2026-03-20","condition":"rain","tmax":12,"tmin":4,"wind_max":0})"},
        {R"({"date":"2026-03-20","condition":"rain","tmax":12,"tmin":4,"wind_max":"5"})", nullptr},
        {R"({"date":"2026-03-20","condition":"rain","tmax":12,"tmin":4,"wind_max":5.5})", nullptr},
        {R"({"date":"2026-03-20","condition":"rain","condition_localized":"Rain","tmax":12,"tmin":4,
             "precip_pct":90,"wind_max":22,"humidity":77})",
         R"({"date":"2026-03-20","condition":"rain","condition_localized":"Rain","tmax":12,"tmin":4,
             "precip_pct":90,"wind_max":22,"humidity":77})"},
        {R"({"date":"2026-03-20","condition":"rain","tmax":12})", nullptr},
    });
    EXPECT_EQ(decoded<DailyWeather>(R"({"date":"2026-03-20","condition":"x","tmax":1,"tmin":0})").id(),
              QStringLiteral("2026-03-20"));
}

TEST(WeatherRecords, WeatherNeedsItsDailyList) {
    const char* current = R"("current":{"temp":1,"feels_like":1,"condition":"fog","wind":0,"is_day":true})";
    const std::string empty = std::string("{") + current + R"(,"daily":[]})";
    const std::string missing = std::string("{") + current + "}";
    const std::string badDay = std::string("{") + current +
                               R"(,"daily":[{"date":"d","condition":"c","tmax":1,"tmin":0,"wind_max":"x"}]})";
    expectCases<Weather>({
        {empty.c_str(), empty.c_str()},
        {missing.c_str(), nullptr},
        {badDay.c_str(), nullptr},
        {R"({"current":null,"daily":[]})", nullptr},
    });
}

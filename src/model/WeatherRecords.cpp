#include "model/WeatherRecords.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<CurrentWeather> CurrentWeather::fromJson(const QJsonValue& value) {
    Reader r(value);
    CurrentWeather out;
    out.temp = r.requiredInt("temp"_L1);
    out.feelsLike = r.requiredInt("feels_like"_L1);
    out.humidity = r.optionalInt("humidity"_L1);
    out.condition = r.requiredString("condition"_L1);
    out.conditionLocalized = r.optionalString("condition_localized"_L1);
    out.wind = r.requiredInt("wind"_L1);
    out.windDir = r.optionalInt("wind_dir"_L1);
    out.isDay = r.requiredBool("is_day"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue CurrentWeather::toJson() const {
    Writer w;
    w.add("temp"_L1, temp);
    w.add("feels_like"_L1, feelsLike);
    w.add("humidity"_L1, humidity);
    w.add("condition"_L1, condition);
    w.add("condition_localized"_L1, conditionLocalized);
    w.add("wind"_L1, wind);
    w.add("wind_dir"_L1, windDir);
    w.add("is_day"_L1, isDay);
    return w.object();
}

std::optional<DailyWeather> DailyWeather::fromJson(const QJsonValue& value) {
    Reader r(value);
    DailyWeather out;
    out.date = r.requiredString("date"_L1);
    out.condition = r.requiredString("condition"_L1);
    out.conditionLocalized = r.optionalString("condition_localized"_L1);
    out.tmax = r.requiredInt("tmax"_L1);
    out.tmin = r.requiredInt("tmin"_L1);
    out.precipPct = r.optionalInt("precip_pct"_L1);
    out.windMax = r.optionalInt("wind_max"_L1).value_or(0);
    out.humidity = r.optionalInt("humidity"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue DailyWeather::toJson() const {
    Writer w;
    w.add("date"_L1, date);
    w.add("condition"_L1, condition);
    w.add("condition_localized"_L1, conditionLocalized);
    w.add("tmax"_L1, tmax);
    w.add("tmin"_L1, tmin);
    w.add("precip_pct"_L1, precipPct);
    w.add("wind_max"_L1, windMax);
    w.add("humidity"_L1, humidity);
    return w.object();
}

std::optional<Weather> Weather::fromJson(const QJsonValue& value) {
    Reader r(value);
    Weather out;
    out.current = r.requiredRecord<CurrentWeather>("current"_L1);
    out.daily = r.requiredArray<DailyWeather>("daily"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Weather::toJson() const {
    Writer w;
    w.add("current"_L1, current);
    w.add("daily"_L1, daily);
    return w.object();
}

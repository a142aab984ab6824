#include "engine/OpenMeteo.h"

#include "engine/NetworkDiscipline.h"
#include "model/JsonCoding.h"
#include "platform/Endpoints.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrlQuery>

#include <cmath>

namespace {

// A number rounded to the nearest integer, halves away from zero; nothing for a value that is missing, not a
// number, or outside the 64-bit range.
std::optional<qint64> rounded(const QJsonValue& v) {
    if (!v.isDouble()) return std::nullopt;
    const double r = std::round(v.toDouble());
    // 2^63 is the first double past the range; every double below it converts exactly.
    if (!std::isfinite(r) || r < -9223372036854775808.0 || r >= 9223372036854775808.0) return std::nullopt;
    return qint64(r);
}

// The ranges a forecast figure can take on Earth; anything outside is no measurement and reads as missing,
// so a broken reply cannot put a 300-degree day on the strip.
struct Range {
    qint64 low;
    qint64 high;
};
constexpr Range kTemperature{-100, 100};
constexpr Range kPercent{0, 100};
constexpr Range kWindSpeed{0, 1000};
constexpr Range kBearing{0, 360};

std::optional<qint64> measured(const QJsonValue& v, Range range) {
    const std::optional<qint64> r = rounded(v);
    if (!r || *r < range.low || *r > range.high) return std::nullopt;
    return r;
}

QString condition(const QJsonValue& v) {
    if (!v.isDouble()) return QStringLiteral("unknown");
    const double code = v.toDouble();
    if (code != std::floor(code) || std::abs(code) > 1000) return QStringLiteral("unknown");
    return OpenMeteo::conditionKey(qint64(code));
}

QJsonValue element(const QJsonObject& daily, const char* key, qsizetype i) {
    const QJsonArray values = daily.value(QLatin1String(key)).toArray();
    return i < values.size() ? values.at(i) : QJsonValue(QJsonValue::Undefined);
}

}  // namespace

namespace OpenMeteo {

QString conditionKey(qint64 code) {
    switch (code) {
        case 0:
            return QStringLiteral("clear");
        case 1:
            return QStringLiteral("mainly_clear");
        case 2:
            return QStringLiteral("partly_cloudy");
        case 3:
            return QStringLiteral("overcast");
        case 45:
            return QStringLiteral("fog");
        case 48:
            return QStringLiteral("rime_fog");
        case 51:
            return QStringLiteral("light_drizzle");
        case 53:
            return QStringLiteral("drizzle");
        case 55:
            return QStringLiteral("dense_drizzle");
        case 61:
            return QStringLiteral("light_rain");
        case 63:
            return QStringLiteral("rain");
        case 65:
            return QStringLiteral("heavy_rain");
        case 71:
            return QStringLiteral("light_snow");
        case 73:
            return QStringLiteral("snow");
        case 75:
            return QStringLiteral("heavy_snow");
        case 80:
        case 81:
            return QStringLiteral("rain_showers");
        case 82:
            return QStringLiteral("violent_rain_showers");
        case 85:
        case 86:
            return QStringLiteral("snow_showers");
        case 95:
            return QStringLiteral("thunderstorm");
        case 96:
        case 99:
            return QStringLiteral("thunderstorm_hail");
        default:
            return QStringLiteral("unknown");
    }
}

QUrl forecastUrl(double lat, double lon, int days, const std::optional<QString>& models) {
    QUrl url = Endpoints::current().forecast.resolved(QUrl(QStringLiteral("/v1/forecast")));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("latitude"), NetworkDiscipline::decimalText(lat));
    q.addQueryItem(QStringLiteral("longitude"), NetworkDiscipline::decimalText(lon));
    q.addQueryItem(QStringLiteral("current"),
                   QStringLiteral("temperature_2m,relative_humidity_2m,apparent_temperature,weather_code,"
                                  "wind_speed_10m,wind_direction_10m,is_day"));
    q.addQueryItem(
        QStringLiteral("daily"),
        QStringLiteral("weather_code,temperature_2m_max,temperature_2m_min,"
                       "precipitation_probability_max,wind_speed_10m_max,relative_humidity_2m_mean"));
    q.addQueryItem(QStringLiteral("timezone"), QStringLiteral("auto"));
    q.addQueryItem(QStringLiteral("forecast_days"), QString::number(days));
    if (models) q.addQueryItem(QStringLiteral("models"), *models);
    url.setQuery(q);
    return url;
}

std::optional<Weather> parseForecast(const QByteArray& body) {
    const std::optional<QJsonValue> root = JsonCoding::parse(body);
    if (!root || !root->isObject()) return std::nullopt;
    const QJsonValue currentValue = root->toObject().value(QLatin1String("current"));
    if (!currentValue.isObject()) return std::nullopt;
    const QJsonObject current = currentValue.toObject();
    // Without a temperature there are no current conditions to show.
    const std::optional<qint64> temp = measured(current.value(QLatin1String("temperature_2m")), kTemperature);
    if (!temp) return std::nullopt;

    Weather w;
    w.current.temp = *temp;
    w.current.feelsLike =
        measured(current.value(QLatin1String("apparent_temperature")), kTemperature).value_or(0);
    w.current.humidity = measured(current.value(QLatin1String("relative_humidity_2m")), kPercent);
    w.current.condition = condition(current.value(QLatin1String("weather_code")));
    w.current.wind = measured(current.value(QLatin1String("wind_speed_10m")), kWindSpeed).value_or(0);
    w.current.windDir = measured(current.value(QLatin1String("wind_direction_10m")), kBearing);
    w.current.isDay = current.value(QLatin1String("is_day")).toDouble(0) == 1.0;

    const QJsonObject daily = root->toObject().value(QLatin1String("daily")).toObject();
    const QJsonArray dates = daily.value(QLatin1String("time")).toArray();
    for (qsizetype i = 0; i < dates.size(); ++i) {
        if (!dates.at(i).isString()) continue;
        DailyWeather d;
        d.date = dates.at(i).toString();
        d.condition = condition(element(daily, "weather_code", i));
        d.tmax = measured(element(daily, "temperature_2m_max", i), kTemperature).value_or(0);
        d.tmin = measured(element(daily, "temperature_2m_min", i), kTemperature).value_or(0);
        d.precipPct = measured(element(daily, "precipitation_probability_max", i), kPercent);
        d.windMax = measured(element(daily, "wind_speed_10m_max", i), kWindSpeed).value_or(0);
        d.humidity = measured(element(daily, "relative_humidity_2m_mean", i), kPercent);
        w.daily.append(std::move(d));
    }
    return w;
}

}  // namespace OpenMeteo

#pragma once

#include "model/JsonCoding.h"

// The weather of one place: conditions now and a daily forecast, in whole degrees Celsius and whole km/h.

struct CurrentWeather {
    qint64 temp = 0;
    qint64 feelsLike = 0;
    std::optional<qint64> humidity;
    QString condition;
    std::optional<QString> conditionLocalized;
    qint64 wind = 0;
    std::optional<qint64> windDir;
    bool isDay = false;

    static std::optional<CurrentWeather> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct DailyWeather {
    QString date;
    QString condition;
    std::optional<QString> conditionLocalized;
    qint64 tmax = 0;
    qint64 tmin = 0;
    std::optional<qint64> precipPct;
    qint64 windMax =
        0;  // a forecast day without a wind figure reads as calm rather than failing the forecast
    std::optional<qint64> humidity;

    // The forecast strip tells its day cards apart by date.
    const QString& id() const { return date; }

    static std::optional<DailyWeather> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Weather {
    CurrentWeather current;
    QList<DailyWeather> daily;

    static std::optional<Weather> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

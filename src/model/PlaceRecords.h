#pragma once

#include "model/JsonCoding.h"

// The core records of a clock bundle: where it is for, which day it is, which prayer comes next, how the
// times were computed and the direction of prayer.

struct LocationInfo {
    double lat = 0;
    double lon = 0;
    std::optional<QString> city;
    std::optional<QString> countryCode;
    double tzOffsetHours = 0;
    // The named zone the offset belongs to; the offset holds until that zone's next change.
    std::optional<QString> timeZone;

    static std::optional<LocationInfo> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Hijri {
    qint64 year = 0;
    qint64 month = 0;
    qint64 day = 0;
    QString monthName;

    static std::optional<Hijri> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct DateInfo {
    QString gregorian;
    Hijri hijri;

    static std::optional<DateInfo> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct NextPrayer {
    QString key;
    QString name;
    QString time;

    static std::optional<NextPrayer> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct MethodInfo {
    std::optional<QString> key;
    std::optional<QString> name;
    std::optional<qint64> asr;

    static std::optional<MethodInfo> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct QiblaImages {
    double bearing = 0;
    QString streetviewUrl;
    QString mapUrl;
    std::optional<bool> streetviewAvailable;
    std::optional<QString> unavailableUrl;

    static std::optional<QiblaImages> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Qibla {
    double bearing = 0;
    QString compass;
    std::optional<QiblaImages> images;

    static std::optional<Qibla> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

#pragma once

#include "model/JsonCoding.h"

// Alerts (weather warnings and earthquakes), the moon with its next eclipses, and coming Islamic dates.

struct Alert {
    std::optional<QString> type;
    std::optional<QString> event;
    std::optional<QString> severity;
    std::optional<QString> headline;
    std::optional<QString> description;
    std::optional<double> magnitude;
    std::optional<QString> place;
    std::optional<double> distanceKm;
    std::optional<QString> time;
    std::optional<QString> url;
    std::optional<bool> emergency;

    // Announced emergency alerts are remembered by this across restarts, so it must not depend on the
    // fields a feed may reword (description, severity).
    QString id() const;
    // The one rule the alerts panel and the emergency alarm share: an explicit emergency flag decides;
    // without one only the exact words "Severe" and "Extreme" count.
    bool isSevere() const;

    static std::optional<Alert> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Eclipse {
    QString date;
    QString type;
    std::optional<QString> region;

    static std::optional<Eclipse> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Moon {
    QString phase;
    QString phaseName;
    double ageDays = 0;
    std::optional<qint64> cycleDays;
    qint64 illuminationPct = 0;
    bool waxing = false;
    std::optional<qint64> distanceKm;
    std::optional<QString> name;
    std::optional<QString> nameKey;
    std::optional<Eclipse> nextEclipse;
    std::optional<Eclipse> nextSolarEclipse;

    static std::optional<Moon> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Event {
    QString key;
    QString name;
    QString gregorian;
    qint64 inDays = 0;
    qint64 hijriDay = 0;
    QString hijriMonthName;

    // The date is part of it, so next year's occurrence is a different chip.
    QString id() const;

    static std::optional<Event> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

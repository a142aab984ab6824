#pragma once

#include "model/JsonCoding.h"

// The two call-to-prayer recordings a bundle offers: one for the dawn prayer, one for every other prayer.

struct AdhanItem {
    bool available = false;
    QString url;
    std::optional<QString> version;
    QString title;
    QString text;

    static std::optional<AdhanItem> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct AdhanBundle {
    AdhanItem fajr;
    AdhanItem regular;

    static std::optional<AdhanBundle> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

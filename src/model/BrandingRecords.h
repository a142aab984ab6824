#pragma once

#include "model/JsonCoding.h"

// Records the own server sends: dial logos, sun and moon display switches, and partner links.

struct LogoSlot {
    qint64 slot = 0;
    QString url;
    std::optional<QString> version;

    static std::optional<LogoSlot> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Branding {
    bool logoAvailable = false;
    QString logoUrl;
    std::optional<qint64> activeLogo;
    std::optional<bool> rotateLogos;
    std::optional<QList<LogoSlot>> logos;
    std::optional<QString> bundleVersion;
    std::optional<bool> nosvAvailable;
    std::optional<QString> nosvUrl;
    std::optional<QString> nosvVersion;

    static std::optional<Branding> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct ThemeConfig {
    std::optional<bool> moonInClock;
    std::optional<bool> sunInClock;
    std::optional<qint64> moonSize;
    std::optional<qint64> sunSize;
    std::optional<QString> sunImageUrl;

    friend bool operator==(const ThemeConfig&, const ThemeConfig&) = default;

    static std::optional<ThemeConfig> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct CustomLink {
    std::optional<QString> title;
    std::optional<QString> url;

    QString id() const;

    static std::optional<CustomLink> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

struct Monetization {
    std::optional<QString> travelpayoutsMarker;
    std::optional<QString> amazonTag;
    std::optional<QString> flightsUrl;
    std::optional<QString> hotelsUrl;
    std::optional<QString> packagesUrl;
    std::optional<QString> umrahUrl;
    std::optional<bool> enabled;
    std::optional<QList<CustomLink>> custom;

    static std::optional<Monetization> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

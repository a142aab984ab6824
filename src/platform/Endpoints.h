#pragma once

#include <QJsonObject>
#include <QUrl>

// Origins of every service the clock talks to. Users never configure them; tests and the probe point them
// at a loopback fixture server.
struct Endpoints {
    QUrl server;        // the own server
    QUrl update;        // update manifest host
    QUrl forecast;      // public forecast service
    QUrl earthquake;    // earthquake event query
    QUrl usAlerts;      // US weather-alert feed
    QUrl canadaAlerts;  // Canadian weather-alert collection
    QUrl maps;          // maps web services
    QUrl quran;         // Quran text service
    QUrl solarImage;    // latest solar picture
    QUrl planetarium;   // web planetarium page
    QString mapsKey;    // empty: no maps requests at all

    static Endpoints builtIn();
    // Every field named in `overrides` (same names as the members) replaces the built-in origin.
    static Endpoints withOverrides(const QJsonObject& overrides);

    static const Endpoints& current();
    static void setCurrent(const Endpoints& endpoints);
    // Points every host at one origin (tests); the maps key is kept unless given.
    static Endpoints allAt(const QUrl& origin, const QString& mapsKey = {});
};

// Build facts of the running program.
namespace BuildInfo {
QString version();
int buildNumber();
}  // namespace BuildInfo

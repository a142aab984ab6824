#include "platform/Endpoints.h"

namespace {
Endpoints& currentEndpoints() {
    static Endpoints endpoints = Endpoints::builtIn();
    return endpoints;
}
}  // namespace

Endpoints Endpoints::builtIn() {
    Endpoints e;
    e.server = QUrl(QStringLiteral(ORVANE_SERVER_BASE_URL));
    e.update = QUrl(QStringLiteral(ORVANE_UPDATE_BASE_URL));
    e.forecast = QUrl(QStringLiteral("https://api.open-meteo.com"));
    e.earthquake = QUrl(QStringLiteral("https://earthquake.usgs.gov"));
    e.usAlerts = QUrl(QStringLiteral("https://api.weather.gov"));
    e.canadaAlerts = QUrl(QStringLiteral("https://api.weather.gc.ca"));
    e.maps = QUrl(QStringLiteral("https://maps.googleapis.com"));
    e.quran = QUrl(QStringLiteral("https://api.alquran.cloud"));
    e.solarImage = QUrl(QStringLiteral("https://sdo.gsfc.nasa.gov"));
    e.planetarium = QUrl(QStringLiteral("https://stellarium-web.org"));
    e.mapsKey = QStringLiteral(ORVANE_MAPS_API_KEY);
    return e;
}

Endpoints Endpoints::withOverrides(const QJsonObject& o) {
    Endpoints e = builtIn();
    const auto take = [&o](const char* name, QUrl& field) {
        const QJsonValue v = o.value(QLatin1String(name));
        if (v.isString()) field = QUrl(v.toString());
    };
    take("server", e.server);
    take("update", e.update);
    take("forecast", e.forecast);
    take("earthquake", e.earthquake);
    take("usAlerts", e.usAlerts);
    take("canadaAlerts", e.canadaAlerts);
    take("maps", e.maps);
    take("quran", e.quran);
    take("solarImage", e.solarImage);
    take("planetarium", e.planetarium);
    if (o.value(QLatin1String("mapsKey")).isString()) e.mapsKey = o.value(QLatin1String("mapsKey")).toString();
    return e;
}

Endpoints Endpoints::allAt(const QUrl& origin, const QString& mapsKey) {
    Endpoints e;
    e.server = e.update = e.forecast = e.earthquake = e.usAlerts = e.canadaAlerts = e.maps = e.quran =
        e.solarImage = e.planetarium = origin;
    e.mapsKey = mapsKey;
    return e;
}

const Endpoints& Endpoints::current() { return currentEndpoints(); }
void Endpoints::setCurrent(const Endpoints& endpoints) { currentEndpoints() = endpoints; }

namespace BuildInfo {
QString version() { return QStringLiteral(ORVANE_VERSION); }
int buildNumber() { return QByteArrayLiteral(ORVANE_BUILD_NUMBER).toInt(); }
}  // namespace BuildInfo

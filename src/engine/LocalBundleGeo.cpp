#include "engine/LocalBundleGeo.h"

#include "engine/CivilDay.h"
#include "engine/GoogleMapsClient.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"

#include <cmath>

namespace {

// What the offset service gives when it knows nothing of the place: 0 at the null island, else the device's
// own offset. An answer equal to that, for a place the offline database has no zone for, is taken as "not
// found"; a real answer that happens to equal it only lets the stored manual offset stand in for it.
double guessedOffsetHours(double lat, double lon, const QDateTime& at) {
    if (std::abs(lat) <= 0.01 && std::abs(lon) <= 0.01) return 0.0;
    return QDateTime::fromMSecsSinceEpoch(at.toMSecsSinceEpoch(), Qt::LocalTime).offsetFromUtc() / 3600.0;
}

bool offsetWasFound(double offset, double lat, double lon, const QDateTime& at) {
    if (GoogleMapsClient::offlineOffsetHours(lat, lon, at)) return true;
    return offset != guessedOffsetHours(lat, lon, at);
}

CachedGeo withManualCity(CachedGeo geo, const SettingsSnapshot& settings) {
    if (!geo.city) geo.city = LocalBundleGeo::manualCity(settings);
    return geo;
}

}  // namespace

namespace LocalBundleGeo {

QString cacheKey(double lat, double lon) {
    return QStringLiteral("geo.") + NetworkDiscipline::coordinateKey(lat, lon);
}

bool hasManualTimezone(const SettingsSnapshot& settings) {
    return DefaultsStore::standard().contains(QStringLiteral("profile.") + settings.deviceId +
                                              QStringLiteral(".manualTzOffsetHours"));
}

std::optional<double> manualOffset(const SettingsSnapshot& settings) {
    const double h = settings.manualTzOffsetHours;
    if (!settings.useManualLocation || !std::isfinite(h) || std::abs(h) <= 0.01) return std::nullopt;
    if (!CivilDay::fixedOffsetSeconds(h)) return std::nullopt;
    if (!hasManualTimezone(settings)) return std::nullopt;
    return h;
}

std::optional<QString> manualCity(const SettingsSnapshot& settings) {
    if (!settings.useManualLocation) return std::nullopt;
    const QString city = settings.manualCity.trimmed();
    if (city.isEmpty()) return std::nullopt;
    return city;
}

QCoro::Task<CachedGeo> resolve(double lat, double lon, const SettingsSnapshot& settings, bool force,
                               QDateTime now) {
    const QString key = cacheKey(lat, lon);
    if (!force &&
        NetworkDiscipline::isFresh(key, NetworkDiscipline::maxAgeSeconds(settings.geoRefreshHours))) {
        if (std::optional<CachedGeo> cached = NetworkDiscipline::loadCodable<CachedGeo>(key))
            co_return withManualCity(std::move(*cached), settings);
    }

    // Started together, awaited in turn: the three requests are in flight at the same time.
    QCoro::Task<GoogleMapsClient::Zone> zoneTask = GoogleMapsClient::timeZone(lat, lon, now);
    QCoro::Task<GoogleMapsClient::ReverseGeocode> namesTask = GoogleMapsClient::reverseGeocode(lat, lon);
    QCoro::Task<bool> streetViewTask = GoogleMapsClient::streetViewAvailable(lat, lon);
    const GoogleMapsClient::Zone zone = co_await zoneTask;
    const double lookedUp = zone.offsetHours;
    const GoogleMapsClient::ReverseGeocode names = co_await namesTask;
    const bool streetView = co_await streetViewTask;

    const bool found = std::isfinite(lookedUp) && CivilDay::fixedOffsetSeconds(lookedUp) &&
                       offsetWasFound(lookedUp, lat, lon, now);
    CachedGeo geo;
    geo.city = names.city;
    geo.country = names.country;
    geo.admin1 = names.admin1;
    geo.streetViewOK = streetView;
    if (found) {
        // A place found by the services keeps its own offset (and its daylight-saving changes) even in
        // manual mode; the stored offset only stands in when the lookup failed.
        geo.tzOffsetHours = lookedUp;
        geo.timeZone = zone.zoneId;
        NetworkDiscipline::storeCodable(geo, key);
    } else {
        geo.tzOffsetHours = manualOffset(settings).value_or(guessedOffsetHours(lat, lon, now));
    }
    co_return withManualCity(std::move(geo), settings);
}

}  // namespace LocalBundleGeo

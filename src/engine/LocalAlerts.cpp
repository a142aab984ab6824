#include "engine/LocalAlerts.h"

#include "engine/NetworkDiscipline.h"

namespace LocalAlerts {

QString cacheKey(const QString& scope, double lat, double lon) {
    return QStringLiteral("alerts.") + normalizeScope(scope) + QLatin1Char('.') +
           NetworkDiscipline::coordinateKey(lat, lon);
}

QCoro::Task<QList<Alert>> fetch(double lat, double lon, std::optional<QString> countryCode,
                                std::optional<QString> admin1, QString scope, qint64 maxAgeHours,
                                bool force) {
    const QString normalized = normalizeScope(scope);
    const QString key = cacheKey(normalized, lat, lon);
    if (!force && NetworkDiscipline::isFresh(key, NetworkDiscipline::maxAgeSeconds(maxAgeHours))) {
        if (std::optional<CachedAlerts> cached = NetworkDiscipline::loadCodable<CachedAlerts>(key))
            co_return std::move(cached->items);
    }

    // Both feeds are under way before either is awaited.
    QCoro::Task<FeedResult> weatherTask = weatherAlerts(lat, lon, countryCode, admin1, normalized);
    QCoro::Task<FeedResult> quakeTask = earthquakes(lat, lon, countryCode, admin1, normalized);
    FeedResult weather = co_await std::move(weatherTask);
    FeedResult quakes = co_await std::move(quakeTask);

    CachedAlerts combined;
    combined.items = std::move(weather.items);
    combined.items.append(std::move(quakes.items));
    // A failed feed must not be remembered as "no alerts": the previous entry stays and the next load asks.
    if (weather.ok && quakes.ok) NetworkDiscipline::storeCodable(combined, key);
    co_return std::move(combined.items);
}

}  // namespace LocalAlerts

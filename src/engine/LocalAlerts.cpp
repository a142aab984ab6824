#include "engine/LocalAlerts.h"

#include "engine/NetworkDiscipline.h"

namespace LocalAlerts {

namespace {

bool isEarthquake(const Alert& alert) {
    return alert.type == QLatin1String("earthquake");
}

// The stored list's share of one feed, in the order it was stored.
QList<Alert> storedPart(const QList<Alert>& stored, bool earthquakes) {
    QList<Alert> part;
    for (const Alert& alert : stored)
        if (isEarthquake(alert) == earthquakes) part.append(alert);
    return part;
}

}  // namespace

QString cacheKey(const QString& scope, double lat, double lon) {
    return QStringLiteral("alerts.") + normalizeScope(scope) + QLatin1Char('.') +
           NetworkDiscipline::coordinateKey(lat, lon);
}

QCoro::Task<Fetched> fetch(double lat, double lon, std::optional<QString> countryCode,
                           std::optional<QString> admin1, QString scope, qint64 maxAgeHours, bool force) {
    const QString normalized = normalizeScope(scope);
    const QString key = cacheKey(normalized, lat, lon);
    if (!force && NetworkDiscipline::isFresh(key, NetworkDiscipline::maxAgeSeconds(maxAgeHours))) {
        if (std::optional<CachedAlerts> cached = NetworkDiscipline::loadCodable<CachedAlerts>(key))
            co_return Fetched{std::move(cached->items), Origin::Checked};
    }

    // Both feeds are under way before either is awaited.
    QCoro::Task<FeedResult> weatherTask = weatherAlerts(lat, lon, countryCode, admin1, normalized);
    QCoro::Task<FeedResult> quakeTask = earthquakes(lat, lon, countryCode, admin1, normalized);
    FeedResult weather = co_await std::move(weatherTask);
    FeedResult quakes = co_await std::move(quakeTask);

    if (weather.ok && quakes.ok) {
        CachedAlerts combined;
        combined.items = std::move(weather.items);
        combined.items.append(std::move(quakes.items));
        NetworkDiscipline::storeCodable(combined, key);
        co_return Fetched{std::move(combined.items), Origin::Checked};
    }

    // A failed feed must not be remembered as "no alerts": the stored entry stays as it was, and the failed
    // feed's share of it stands in for the missing answer while it is recent enough to mean something.
    std::optional<CachedAlerts> stored;
    if (NetworkDiscipline::isFresh(key, NetworkDiscipline::maxAgeSeconds(storedListHours)))
        stored = NetworkDiscipline::loadCodable<CachedAlerts>(key);
    const Origin origin = stored ? Origin::Stored : Origin::Unchecked;
    const QList<Alert> none;
    const QList<Alert>& kept = stored ? stored->items : none;
    Fetched out{weather.ok ? std::move(weather.items) : storedPart(kept, false), origin};
    out.items.append(quakes.ok ? std::move(quakes.items) : storedPart(kept, true));
    co_return out;
}

}  // namespace LocalAlerts

#include "engine/WeatherFetcher.h"

#include "engine/APIClient.h"
#include "engine/NetworkDiscipline.h"

#include <QUrlQuery>

#include <cmath>

namespace WeatherFetcher {

QString mode(const SettingsSnapshot& settings) {
    const QString m = settings.weatherSourceMode.toLower();
    if (m == QLatin1String("list") || m == QLatin1String("custom")) return m;
    return QStringLiteral("auto");
}

QString providerId(const SettingsSnapshot& settings) {
    const QString m = mode(settings);
    if (m == QLatin1String("list")) return settings.weatherProviderId;
    if (m == QLatin1String("custom")) return QStringLiteral("custom");
    return QStringLiteral("openmeteo");
}

QString label(const QString& id, const QString& m) {
    if (m == QLatin1String("custom")) return QStringLiteral("Custom weather URL");
    if (const NetworkDiscipline::WeatherProvider* p = NetworkDiscipline::provider(id))
        return QString::fromUtf8(p->label);
    return QStringLiteral("Open-Meteo");
}

QString cacheKey(const QString& id, double lat, double lon) {
    return QStringLiteral("weather.") + id + QLatin1Char('.') + NetworkDiscipline::coordinateKey(lat, lon);
}

bool isPlausible(const Weather& w) {
    if (w.daily.isEmpty() || std::abs(double(w.current.temp)) < 1) return true;
    for (const DailyWeather& d : w.daily)
        if (d.tmax != 0 || d.tmin != 0 || d.windMax != 0) return true;
    return false;
}

std::optional<QUrl> customUrl(const QString& text, double lat, double lon) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid()) return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("https") && scheme != QLatin1String("http")) return std::nullopt;
    QUrlQuery query(url);
    const auto addMissing = [&query](const QString& name, const QString& value) {
        if (!query.hasQueryItem(name)) query.addQueryItem(name, value);
    };
    addMissing(QStringLiteral("latitude"), NetworkDiscipline::decimalText(lat));
    addMissing(QStringLiteral("longitude"), NetworkDiscipline::decimalText(lon));
    addMissing(QStringLiteral("forecast_days"), QString::number(kForecastDays));
    addMissing(QStringLiteral("timezone"), QStringLiteral("auto"));
    url.setQuery(query);
    if (!url.isValid()) return std::nullopt;
    return url;
}

QCoro::Task<Result> fetch(double lat, double lon, const SettingsSnapshot& settings, bool force) {
    // Copied before the first suspension: the caller's settings need not outlive the request.
    const QString m = mode(settings);
    const QString id = providerId(settings);
    const QString customText = settings.weatherCustomURL;
    const double maxAge = NetworkDiscipline::maxAgeSeconds(settings.weatherRefreshHours);
    const QString key = cacheKey(id, lat, lon);
    const QString providerLabel = label(id, m);

    if (!force && NetworkDiscipline::isFresh(key, maxAge)) {
        std::optional<Weather> cached = NetworkDiscipline::loadCodable<Weather>(key);
        if (cached && isPlausible(*cached)) co_return Result{std::move(cached), providerLabel};
    }

    const APIClient& client = APIClient::shared();
    std::optional<Weather> fresh;
    if (m == QLatin1String("custom")) {
        if (const std::optional<QUrl> url = customUrl(customText, lat, lon))
            fresh = co_await client.parseOpenMeteoWeather(*url);
        if (!fresh) fresh = co_await client.directWeather(lat, lon, kForecastDays, std::nullopt);
    } else {
        std::optional<QString> models;
        if (m == QLatin1String("list")) {
            if (const NetworkDiscipline::WeatherProvider* p = NetworkDiscipline::provider(id); p && p->models)
                models = QString::fromLatin1(p->models);
        }
        fresh = co_await client.directWeather(lat, lon, kForecastDays, models);
    }

    if (fresh && isPlausible(*fresh)) {
        NetworkDiscipline::storeCodable(*fresh, key);
        co_return Result{std::move(fresh), providerLabel};
    }
    std::optional<Weather> stale = NetworkDiscipline::loadCodable<Weather>(key);
    if (stale && isPlausible(*stale))
        co_return Result{std::move(stale), providerLabel + QStringLiteral(" (cached)")};
    co_return Result{std::move(fresh), providerLabel};
}

}  // namespace WeatherFetcher

#pragma once

#include "model/SettingsSnapshot.h"
#include "model/WeatherRecords.h"

#include <QCoro/QCoroTask>
#include <QString>
#include <QUrl>
#include <optional>

// The current weather and daily forecast of a place from the user's chosen source (the forecast service,
// one of its models, or a custom address answering in the same form), served from the response cache while
// fresh, with the last good answer as the fallback when a request fails.
namespace WeatherFetcher {

struct Result {
    std::optional<Weather> weather;
    QString providerLabel;
};

inline constexpr int kForecastDays = 16;

// Never fails: with no source and no cache the weather is absent and the label plain.
QCoro::Task<Result> fetch(double lat, double lon, const SettingsSnapshot& settings, bool force);

// The source mode ("list", "custom" or anything else), its provider id and label, and its cache key.
QString mode(const SettingsSnapshot& settings);
QString providerId(const SettingsSnapshot& settings);
QString label(const QString& providerId, const QString& mode);
QString cacheKey(const QString& providerId, double lat, double lon);

// A record whose days all read 0 for maximum, minimum and wind while the air is not near 0 is a broken
// answer: it is neither served nor stored.
bool isPlausible(const Weather& weather);

// The custom address with the place's query items added where the address has none of that name; nothing
// for an empty text, an unparsable address or a scheme other than http and https.
std::optional<QUrl> customUrl(const QString& text, double lat, double lon);

}  // namespace WeatherFetcher

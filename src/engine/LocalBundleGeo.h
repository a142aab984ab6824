#pragma once

#include "engine/NetworkDiscipline.h"
#include "model/SettingsSnapshot.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <optional>

// The place record of a coordinate for the bundle: its UTC offset, names and street-view flag, looked up
// together and kept in the response cache under "geo." + coordinates.
namespace LocalBundleGeo {

QString cacheKey(double lat, double lon);

// Whether the settings store holds a fixed place's offset at all (the key exists, whatever its value).
bool hasManualTimezone(const SettingsSnapshot& settings);

// The stored manual offset, only while manual mode is on and the value is finite, above 0.01 in magnitude
// and an offset a fixed zone accepts.
std::optional<double> manualOffset(const SettingsSnapshot& settings);

// The trimmed manual city, only while manual mode is on and it is not blank.
std::optional<QString> manualCity(const SettingsSnapshot& settings);

// The place record at `now`. A fresh cache entry is used unless `force`; otherwise the three lookups run
// together. The cache holds only what the services said; the manual city is filled in on every call, so
// switching manual mode off takes effect at once. An offset lookup that found nothing is not cached: the
// next build asks again instead of keeping a guessed offset for a day.
QCoro::Task<CachedGeo> resolve(double lat, double lon, const SettingsSnapshot& settings, bool force,
                               QDateTime now);

}  // namespace LocalBundleGeo

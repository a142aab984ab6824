#pragma once

#include "model/JsonCoding.h"
#include "model/SettingsSnapshot.h"

#include <QString>
#include <cstdint>
#include <optional>

// The six prayer-time strings of a place's day for the bundle, computed on the device and kept in the
// response cache for the day they belong to.
namespace LocalBundlePrayers {

// One day's strings as stored: exactly the keys "day" and "prayers".
struct CachedPrayers {
    QString day;
    JsonCoding::StringMap prayers;

    // Fails unless all six keys are there, so a damaged entry is recomputed rather than shown with gaps.
    static std::optional<CachedPrayers> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

// Every input of the calculation is part of the key (method, Asr factor, high-latitude rule, UTC offset,
// day, place), so changing any of them computes afresh at once.
QString cacheKey(const SettingsSnapshot& settings, double tzOffsetHours, const QString& day, double lat,
                 double lon);

// The strings computed for the civil day `days` (days since 1970) at the place.
JsonCoding::StringMap compute(const SettingsSnapshot& settings, std::int64_t days, double lat, double lon,
                              double tzOffsetHours);

// The cached strings of that day while fresh (unless forced), else computed and stored.
JsonCoding::StringMap cachedOrComputed(const SettingsSnapshot& settings, std::int64_t days, double lat,
                                       double lon, double tzOffsetHours, bool force);

}  // namespace LocalBundlePrayers

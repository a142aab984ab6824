#pragma once

#include "model/AlertRecords.h"
#include "model/JsonCoding.h"
#include "model/SettingsSnapshot.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <array>
#include <optional>

class DefaultsStore;

// The place record the bundle builder caches per coordinate.
struct CachedGeo {
    std::optional<QString> city;
    std::optional<QString> country;
    std::optional<QString> admin1;  // first-level administrative area
    double tzOffsetHours = 0;       // hours east of UTC
    bool streetViewOK = false;
    std::optional<QString> timeZone;  // the IANA zone the offset came from, when one is known

    static std::optional<CachedGeo> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

// The alert list of one place and scope, in the order it was stored.
struct CachedAlerts {
    QList<Alert> items;

    static std::optional<CachedAlerts> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};

// The one response cache: the last good answer of each network-backed computation, kept in the defaults
// store with the moment it was stored, and the freshness rule every caller shares. Also the two tables the
// settings window offers (weather providers, refresh intervals).
namespace NetworkDiscipline {

struct WeatherProvider {
    const char* id;
    const char* label;
    const char* models;  // forecast model of the request; nullptr: the service's automatic choice
};

inline constexpr std::array<WeatherProvider, 5> weatherProviders{{
    {"openmeteo", "Open-Meteo (auto best)", nullptr},
    {"openmeteo_best", "Open-Meteo best match", "best_match"},
    {"openmeteo_gfs", "Open-Meteo GFS", "gfs_seamless"},
    {"openmeteo_ecmwf", "Open-Meteo ECMWF", "ecmwf_ifs025"},
    {"openmeteo_icon", "Open-Meteo DWD ICON", "icon_seamless"},
}};

struct IntervalChoice {
    int hours;
    const char* label;
};

inline constexpr std::array<IntervalChoice, 8> intervalChoices{{
    {1, "Every 1 hour"},
    {2, "Every 2 hours"},
    {3, "Every 3 hours"},
    {4, "Every 4 hours"},
    {6, "Every 6 hours"},
    {8, "Every 8 hours"},
    {12, "Every 12 hours (≈2×/day)"},
    {24, "Once a day"},
}};

// The process's standard defaults store, where every entry lives.
DefaultsStore& store();

QString dataKey(const QString& key);   // "netCache.v1.data." + key
QString stampKey(const QString& key);  // "netCache.v1.ts." + key

// Stored less than maxAge seconds ago. A stamp in the future (the clock was set back) counts as fresh only
// while it lies less than maxAge ahead, so a clock set back cannot freeze an entry for months.
bool isFresh(const QString& key, double maxAge);

// The payload of the key, whatever its age; nothing when absent or not a data value.
std::optional<QByteArray> loadData(const QString& key);

// Writes the payload first, then the stamp (now), so a reader never sees a new stamp over an old payload.
void storeData(const QByteArray& data, const QString& key);

// The stamp alone, for the disk caches that keep their payload in files; 0 when never stored.
double stamp(const QString& key);
void storeStamp(const QString& key);

template <class T>
std::optional<T> loadCodable(const QString& key) {
    const std::optional<QByteArray> bytes = loadData(key);
    if (!bytes) return std::nullopt;
    return JsonCoding::decode<T>(*bytes);
}

// Encodes and stores a record; false, with the previous entry left in place, when it cannot be encoded.
template <class T>
bool storeCodable(const T& record, const QString& key) {
    const std::optional<QByteArray> bytes = JsonCoding::encodeRecord(record);
    if (!bytes) return false;
    storeData(*bytes, key);
    return true;
}

// Removes the entries no reader will take again, so the cache does not grow for ever: prayer times stored
// more than a week ago (a new key per day and place) and any other entry stored more than ten times its
// freshness limit ago (or as far ahead of now). Gives the number of entries removed.
int prune(const SettingsSnapshot& settings);

// The provider row of that identifier (exact, case-sensitive), or nothing.
const WeatherProvider* provider(const QString& id);

// Seconds an entry stays fresh for a refresh setting in hours: one hour when the setting is below 1.
double maxAgeSeconds(qint64 hours);

// Latitude and longitude each rounded to three decimals, halves away from zero, as "%.3f,%.3f".
QString coordinateKey(double lat, double lon);

// The shortest decimal text that reads back as the same double, always with a fractional part (40.0,
// -74.006) and in exponent form only for very small or very large magnitudes, as query values want it.
QString decimalText(double value);

}  // namespace NetworkDiscipline

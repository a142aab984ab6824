#pragma once

#include "model/ClockBundle.h"
#include "model/JsonCoding.h"
#include "model/PlaceRecords.h"
#include "model/SettingsSnapshot.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Assembles what the clock shows for one place and day. For now: the prayer-time strings every consumer
// reads ("HH:MM" of the place's 24-hour clock, "--:--" for a time that does not exist).
namespace LocalBundleBuilder {

// The nearest minute of an hour value, wrapped into the day; "--:--" when the value is NaN or infinite.
QString timeString(double hours);

// Minutes after midnight of a stored prayer-time string: split at ":" (empty pieces dropped), the first two
// pieces read as decimal integers. Nothing for any other text, or for numbers too large to count minutes.
std::optional<qint64> minutesOfDay(QStringView text);

// The first of fajr, dhuhr, asr, maghrib and isha (in that fixed order, never sorted) whose time is later
// than now's minute on the place's clock; after the last, fajr with its stored string. Strings that do not
// parse are skipped. A place offset no zone accepts counts the device's own. Called every second: with a
// usable place offset it allocates nothing (the strings it returns share the dictionaries' data).
NextPrayer computeNext(const JsonCoding::StringMap& prayers, const QDateTime& now, double tzOffsetHours,
                       const JsonCoding::StringMap& labels);

// The dates of the place's civil day `day` (days since 1970) at the instant `now`: its Gregorian date and the
// on-device Hijri date with the confirmed day offset, both of the place's day, so the two always agree.
DateInfo datesOf(std::int64_t day, const QDateTime& now, double lat, double lon, double tzOffsetHours,
                 const JsonCoding::StringMap& labels);

// The whole bundle of a coordinate (LocalBundleBuild.cpp): place, prayer times, qibla, both dates, next
// prayer, moon, events, alerts, weather, call-to-prayer texts, theme and sources. Never fails: every source
// that cannot be reached gives its cached, empty or fallback value. A non-empty city override replaces the
// place's city; a country override replaces its country even when empty. A forced build reads no cache and
// rewrites every entry.
QCoro::Task<ClockBundle> build(double lat, double lon, SettingsSnapshot settings,
                               std::optional<QString> cityOverride, std::optional<QString> countryOverride,
                               bool forceNetwork);

}  // namespace LocalBundleBuilder

#pragma once

#include "model/JsonCoding.h"
#include "model/PlaceRecords.h"

#include <QDateTime>
#include <QString>
#include <QStringView>
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

}  // namespace LocalBundleBuilder

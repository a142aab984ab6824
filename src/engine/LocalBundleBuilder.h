#pragma once

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

}  // namespace LocalBundleBuilder

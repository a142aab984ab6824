#pragma once

#include "engine/LocalHijri.h"

#include <cstdint>
#include <optional>

// The Hijri display rules on civil day numbers (days since 1970-01-01 of the place's calendar), with the
// day offset passed in. The public LocalHijri functions read the stored offset and call these; the probe
// and the benchmarks use them with an offset of their own.
namespace LocalHijriDays {

struct Context {
    int offsetSeconds = 0;   // the place's fixed offset; 0 for UTC (no place)
    qint64 dayOffset = 0;    // the stored day offset
    std::int64_t today = 0;  // today's civil day at the place
};

Context makeContext(const std::optional<LocalHijri::Location>& location, std::int64_t todayMs,
                    qint64 dayOffset);

// The Umm al-Qura date paired with a civil day.
LocalHijri::YMD civil(std::int64_t day);

// A month has ended once the civil day of its successor's first day has come (true when that day cannot be
// formed).
bool monthEnded(int year, int month, std::int64_t today);

// The date shown for a civil day.
LocalHijri::YMD display(std::int64_t day, const Context& context);

// The civil day shown as day 1 of the month.
std::optional<std::int64_t> monthStart(int year, int month, const Context& context);

// Days of the civil month (30 when either end cannot be formed).
int civilMonthLength(int year, int month);

// Days of the month as shown: measured between the shown first days, 30 for 30 or more and 29 otherwise;
// the civil length when either first day is missing.
int shownMonthLength(int year, int month, const Context& context);

}  // namespace LocalHijriDays

#pragma once

#include "engine/LocalHijri.h"

#include <cstdint>
#include <optional>

// The platform's Umm al-Qura calendar (ICU "islamic-umalqura", always in UTC) on civil day numbers (days
// since 1970-01-01). One calendar object per thread, made on first use; the month starts of ICU's Umm
// al-Qura table are read once, so conversions in those years are a binary search.
namespace LocalHijriCalendar {

// The Umm al-Qura date of the UTC day; nothing when ICU cannot convert it.
std::optional<LocalHijri::YMD> fromDay(std::int64_t day);

// The UTC day of an Umm al-Qura date (ICU's lenient arithmetic: day 30 of a 29-day month is the next
// month's first); nothing when ICU cannot form it.
std::optional<std::int64_t> toDay(int year, int month, int day);

// ICU's own conversion, for checking the month-start table against it.
std::optional<LocalHijri::YMD> fromDayUncached(std::int64_t day);

}  // namespace LocalHijriCalendar

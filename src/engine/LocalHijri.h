#pragma once

#include "model/JsonCoding.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>
#include <cstdint>
#include <optional>

// Hijri dates as the clock shows them: the Umm al-Qura civil calendar, moved by the stored day offset for
// months that have not ended, month names, month grids and calendar navigation.
//
// A Hijri date belongs to a civil day, not to an instant: civil day Y-M-D at any place carries the
// Umm al-Qura date of Y-M-D 00:00 UTC. The face, both month grids and the event list all use this pairing,
// so they agree at every UTC offset. Without a place the civil day is the UTC day.
namespace LocalHijri {

// The place whose day boundaries count; only the offset enters the Hijri functions.
struct Location {
    double lat = 0;
    double lon = 0;
    double tzOffsetHours = 0;

    // Offset × 3600 truncated toward zero to whole seconds; 0 (UTC) when no zone accepts that offset.
    int offsetSeconds() const;
    QTimeZone timeZone() const;
};

struct YMD {
    int year = 1;
    int month = 1;
    int day = 1;
    friend bool operator==(const YMD&, const YMD&) = default;
};

// One day of a month grid.
struct MonthCell {
    int hijriDay = 0;
    int hijriMonth = 0;
    int hijriYear = 0;
    QDateTime gregorian;  // start of the day at the place (UTC without a place), in the place's offset
    int weekday = 1;      // 1 Sunday ... 7 Saturday
    bool isToday = false;

    // "year-month-day-" and the seconds since 1970 of `gregorian` in shortest form ("…-1786579200.0").
    QString id() const;
    friend bool operator==(const MonthCell&, const MonthCell&) = default;
};

// The Umm al-Qura date of the instant's UTC day; 1 for any part the calendar cannot supply.
YMD civilYMD(const QDateTime& instant);

// The date shown for the instant's civil day at the place (the UTC day without one): its civil date, or,
// while that month has not ended as of `today` and a day offset is stored, the civil date that many days on.
YMD displayYMD(const QDateTime& from, const std::optional<Location>& location, const QDateTime& today);

// "hmonth_<n>" / "hmonth_short_<n>" from the caller's labels, else the built-in English table; the full name
// falls back to "Month <n>", the short name to the full name.
QString monthName(int month, const JsonCoding::StringMap& labels);
QString shortMonthName(int month, const JsonCoding::StringMap& labels);

// The start of the local day that shows day 1 of the Hijri month; nothing when it cannot be formed.
std::optional<QDateTime> monthStart(int year, int month, const std::optional<Location>& location,
                                    const QDateTime& today);
// The days of a Hijri month from its shown first day, 29 or 30 of them.
QList<MonthCell> monthCells(int year, int month, const std::optional<Location>& location,
                            const QDateTime& today);
// The days of a Gregorian month at the place, each with the Hijri date the clock shows for it.
QList<MonthCell> gregorianMonthCells(int year, int month, const std::optional<Location>& location,
                                     const QDateTime& today);
// Whether the calendar may show the Hijri month: year 1...9999, month 1...12, and the month ends in Gregorian
// 1900 or later.
bool canGoTo(int year, int month);

// The day offset confirmed by the own server ("hijri.authority.dayOffset"; absent reads as 0).
qint64 storedDayOffset();

// Launch self-test: prints one line per failed check to standard output, changes nothing.
void runBirthdaySmoke();
bool verifyBirthday1983();
bool verifyTodaySafar1448(const std::optional<QDateTime>& reference = std::nullopt);

}  // namespace LocalHijri

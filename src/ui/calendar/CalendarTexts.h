#pragma once

#include "engine/LocalHijri.h"
#include "model/JsonCoding.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// The words and numbers of the month calendar. Gregorian texts use the Gregorian calendar of the bundle's
// language (so "fa" names Gregorian months in Persian, with its own digits) at the place's fixed offset;
// Hijri day and year numbers are always ASCII digits and the Hijri month names come from the labels.
namespace CalendarTexts {

struct Context {
    QString lang;
    int offsetSeconds = 0;
    JsonCoding::StringMap labels;
};

// A Gregorian instant by an ICU pattern ("LLLL yyyy", "d MMM", ...).
QString gregorian(std::int64_t ms, const Context& context, const QString& pattern);
// "EEEE, d MMMM yyyy", the detail card's second line.
QString longGregorian(std::int64_t ms, const Context& context);

// Very short weekday names, Sunday first; the English initials when the language has none.
QStringList weekdaySymbols(const QString& lang);
// Empty slots before day 1 in a grid whose first column is Sunday.
int leadingBlanks(const QList<LocalHijri::MonthCell>& cells);
// Rows of the grid: enough for every day, never fewer than five.
int rowCount(int leadingBlanks, qsizetype cellCount);

// "<day> <full month name> <year> AH".
QString hijriDate(const LocalHijri::MonthCell& cell, const Context& context);
// The small line under a day's number: the day in the other calendar.
QString caption(const LocalHijri::MonthCell& cell, bool hijriGrid, const Context& context);
// The big number of a day.
QString dayNumber(const LocalHijri::MonthCell& cell, bool hijriGrid, const Context& context);

// Titles of the navigation row.
QString gregorianTitle(int year, int month, const Context& context);
QString hijriTitle(int year, int month, const Context& context);
// The Hijri span of a Gregorian month, and the Gregorian span of a Hijri month; empty without cells.
QString hijriRange(const QList<LocalHijri::MonthCell>& cells, const Context& context);
QString gregorianRange(const LocalHijri::MonthCell& first, const QList<LocalHijri::MonthCell>& cells,
                       const Context& context);

}  // namespace CalendarTexts

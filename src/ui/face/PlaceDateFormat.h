#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// Dates and times of the place as text: an ICU pattern in the Gregorian calendar of the bundle's
// language, in the place's fixed-offset zone (the system zone when the offset forms none). Formatters are
// kept between calls, so the one-second redraw does not rebuild them.
namespace PlaceDateFormat {

QString format(std::int64_t utcMs, const QString& lang, std::optional<int> offsetSeconds,
               const QString& pattern);

// A "yyyy-MM-dd" text as a calendar date formatted with `pattern` in the Gregorian calendar of `lang`;
// nothing when the text is no such date.
std::optional<QString> formatCalendarDate(const QString& isoDate, const QString& lang,
                                          const QString& pattern);

// The seven narrowest weekday names of `lang`'s Gregorian calendar, Sunday first whatever weekday the
// language starts its weeks on; empty when the platform has none.
QStringList veryShortWeekdaySymbols(const QString& lang);

}  // namespace PlaceDateFormat

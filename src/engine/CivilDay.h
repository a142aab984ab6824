#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Proleptic Gregorian day arithmetic on day numbers (days since 1970-01-01) and fixed UTC offsets. The
// clock's places have fixed offsets with no daylight-saving rules, so a civil day is plain integer
// arithmetic: no time-zone database, no allocation, the same on every thread.
namespace CivilDay {

struct Date {
    int year = 1970;
    int month = 1;
    int day = 1;
    friend bool operator==(const Date&, const Date&) = default;
};

constexpr std::int64_t kMsPerDay = 86'400'000;
// The widest offset a fixed zone accepts on this platform (QTimeZone's range).
constexpr int kMaxOffsetSeconds = 14 * 3600;

std::int64_t daysFromCivil(int year, int month, int day);
Date civilFromDays(std::int64_t days);
int daysInMonth(int year, int month);
bool isValid(const Date& date);

// 1 Sunday ... 7 Saturday.
int weekday(std::int64_t days);

// The offset of a fixed zone of `hours` east of UTC: hours × 3600 truncated toward zero to whole seconds;
// nothing when that is not finite or lies beyond the widest offset a zone accepts.
std::optional<int> fixedOffsetSeconds(double hours);

// The civil day of an instant (ms since 1970, UTC) at a fixed offset, and the instant that day starts.
std::int64_t dayOf(std::int64_t msSinceEpoch, int offsetSeconds);
std::int64_t startOfDayMs(std::int64_t days, int offsetSeconds);

// "yyyy-MM-dd" in ASCII digits whatever the locale; a year outside 0...9999 is written with its sign and
// all its digits so no two days share a text.
QString isoText(const Date& date);
QString isoText(std::int64_t days);
// The same text written to `buffer`, no terminator; returns its length. Room for any int fields: a signed
// ten-digit year, two dashes and ten digits each for month and day.
constexpr int kMaxIsoChars = 33;
int writeIsoText(const Date& date, char* buffer);
// Strict "yyyy-MM-dd" (four-digit year) naming a real Gregorian day.
std::optional<Date> parseIso(QStringView text);

}  // namespace CivilDay

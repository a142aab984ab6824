#include "engine/LocalHijriDays.h"

#include "engine/CivilDay.h"
#include "engine/LocalHijriCalendar.h"

namespace LocalHijriDays {

namespace {

struct MonthRef {
    int year;
    int month;
};

// Years beyond this cannot be formed; the bound also keeps "the following month" from overflowing.
constexpr int kYearLimit = 100'000;
// Shown days are kept where instants of their start are exact in ms.
constexpr std::int64_t kDayLimit = 50'000'000;

MonthRef following(int year, int month) {
    return month < 12 ? MonthRef{year, month + 1} : MonthRef{year + 1, 1};
}

bool formable(int year, int month) {
    return year >= -kYearLimit && year <= kYearLimit && month >= 1 && month <= 12;
}

}  // namespace

Context makeContext(const std::optional<LocalHijri::Location>& location, std::int64_t todayMs,
                    qint64 dayOffset) {
    const int offset = location ? location->offsetSeconds() : 0;
    return {offset, dayOffset, CivilDay::dayOf(todayMs, offset)};
}

LocalHijri::YMD civil(std::int64_t day) {
    return LocalHijriCalendar::fromDay(day).value_or(LocalHijri::YMD{});
}

bool monthEnded(int year, int month, std::int64_t today) {
    if (!formable(year, month)) return true;
    const MonthRef next = following(year, month);
    const std::optional<std::int64_t> nextStart = LocalHijriCalendar::toDay(next.year, next.month, 1);
    return !nextStart || *nextStart <= today;
}

LocalHijri::YMD display(std::int64_t day, const Context& context) {
    const LocalHijri::YMD c = civil(day);
    if (context.dayOffset == 0 || monthEnded(c.year, c.month, context.today)) return c;
    std::int64_t moved = 0;
    if (__builtin_add_overflow(day, context.dayOffset, &moved)) return c;
    return LocalHijriCalendar::fromDay(moved).value_or(c);
}

std::optional<std::int64_t> monthStart(int year, int month, const Context& context) {
    if (!formable(year, month)) return std::nullopt;
    const std::optional<std::int64_t> first = LocalHijriCalendar::toDay(year, month, 1);
    if (!first) return std::nullopt;
    if (context.dayOffset == 0 || monthEnded(year, month, context.today)) return first;
    std::int64_t moved = 0;
    if (__builtin_sub_overflow(*first, context.dayOffset, &moved)) return std::nullopt;
    if (moved < -kDayLimit || moved > kDayLimit) return std::nullopt;
    return moved;
}

int civilMonthLength(int year, int month) {
    if (!formable(year, month)) return 30;
    const MonthRef next = following(year, month);
    const std::optional<std::int64_t> first = LocalHijriCalendar::toDay(year, month, 1);
    const std::optional<std::int64_t> last = LocalHijriCalendar::toDay(next.year, next.month, 1);
    return first && last ? int(*last - *first) : 30;
}

int shownMonthLength(int year, int month, const Context& context) {
    if (!formable(year, month)) return civilMonthLength(year, month);
    const MonthRef next = following(year, month);
    const std::optional<std::int64_t> first = monthStart(year, month, context);
    const std::optional<std::int64_t> last = monthStart(next.year, next.month, context);
    if (!first || !last) return civilMonthLength(year, month);
    return *last - *first >= 30 ? 30 : 29;
}

}  // namespace LocalHijriDays

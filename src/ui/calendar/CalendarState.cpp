#include "CalendarState.h"

#include "engine/CivilDay.h"

namespace {

QDateTime instant(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

// Whole months since year 0, so month arithmetic never wraps components by hand.
std::pair<int, int> fromMonthIndex(std::int64_t index) {
    const std::int64_t year = index >= 0 ? index / 12 : (index - 11) / 12;
    return {int(year), int(index - year * 12) + 1};
}

}  // namespace

CalendarState CalendarState::create(const LocalHijri::Location& place, std::int64_t nowMs) {
    CalendarState state;
    state.place = place;
    state.nowMs = nowMs;
    const CivilDay::Date day = CivilDay::civilFromDays(CivilDay::dayOf(nowMs, state.offsetSeconds()));
    state.gy = day.year;
    state.gm = day.month;
    state.selectedDate = state.startOfDay(nowMs);
    const LocalHijri::YMD hijri = LocalHijri::displayYMD(instant(nowMs), place, state.today());
    state.hy = hijri.year;
    state.hm = hijri.month;
    return state;
}

bool CalendarState::gregorianAllowed(int year, int month) {
    return month >= 1 && month <= 12 && year >= kFirstYear && year <= kLastYear;
}

QDateTime CalendarState::today() const {
    return instant(nowMs);
}

std::int64_t CalendarState::startOfDay(std::int64_t ms) const {
    return CivilDay::startOfDayMs(CivilDay::dayOf(ms, offsetSeconds()), offsetSeconds());
}

bool CalendarState::sameDay(std::int64_t a, std::int64_t b) const {
    return CivilDay::dayOf(a, offsetSeconds()) == CivilDay::dayOf(b, offsetSeconds());
}

QList<LocalHijri::MonthCell> CalendarState::cells() const {
    return useHijriGrid ? LocalHijri::monthCells(hy, hm, place, today())
                        : LocalHijri::gregorianMonthCells(gy, gm, place, today());
}

bool CalendarState::isSelected(const LocalHijri::MonthCell& cell) const {
    return selectedDate && cell.gregorian.isValid() &&
           sameDay(cell.gregorian.toMSecsSinceEpoch(), *selectedDate);
}

std::optional<qsizetype> CalendarState::selectedIndex(const QList<LocalHijri::MonthCell>& cells) const {
    for (qsizetype i = 0; i < cells.size(); ++i)
        if (isSelected(cells[i])) return i;
    return std::nullopt;
}

std::optional<std::pair<int, int>> CalendarState::shiftedGregorian(int months) const {
    if (gm < 1 || gm > 12) return std::nullopt;
    const auto [year, month] = fromMonthIndex(std::int64_t(gy) * 12 + (gm - 1) + months);
    if (!gregorianAllowed(year, month)) return std::nullopt;
    return std::pair{year, month};
}

std::pair<int, int> CalendarState::hijriNeighbour(int delta) const {
    if (delta < 1) return hm <= 1 ? std::pair{hy - 1, 12} : std::pair{hy, hm - 1};
    return hm >= 12 ? std::pair{hy + 1, 1} : std::pair{hy, hm + 1};
}

bool CalendarState::canShiftMonth(int delta) const {
    if (!useHijriGrid) return shiftedGregorian(delta).has_value();
    const auto [year, month] = hijriNeighbour(delta);
    return LocalHijri::canGoTo(year, month);
}

bool CalendarState::canShiftYear(int delta) const {
    if (!useHijriGrid) return gregorianAllowed(gy + delta, gm);
    return LocalHijri::canGoTo(hy + delta, hm);
}

bool CalendarState::shiftMonth(int delta) {
    if (!useHijriGrid) {
        const auto target = shiftedGregorian(delta);
        if (!target) return false;
        std::tie(gy, gm) = *target;
    } else {
        const auto [year, month] = hijriNeighbour(delta);
        if (!LocalHijri::canGoTo(year, month)) return false;
        hy = year;
        hm = month;
    }
    selectedDate = visibleMonthAnchor();
    return true;
}

bool CalendarState::shiftYear(int delta) {
    if (!canShiftYear(delta)) return false;
    (useHijriGrid ? hy : gy) += delta;
    selectedDate = visibleMonthAnchor();
    return true;
}

std::int64_t CalendarState::visibleMonthAnchor() const {
    if (!useHijriGrid) {
        if (!CivilDay::isValid({gy, gm, 1})) return nowMs;
        return CivilDay::startOfDayMs(CivilDay::daysFromCivil(gy, gm, 1), offsetSeconds());
    }
    const std::optional<QDateTime> start = LocalHijri::monthStart(hy, hm, place, today());
    return start && start->isValid() ? start->toMSecsSinceEpoch() : nowMs;
}

void CalendarState::showMonth(std::int64_t ms, bool hijri) {
    if (hijri) {
        const LocalHijri::YMD shown = LocalHijri::displayYMD(instant(ms), place, today());
        hy = shown.year;
        hm = shown.month;
    } else {
        const CivilDay::Date day = CivilDay::civilFromDays(CivilDay::dayOf(ms, offsetSeconds()));
        gy = day.year;
        gm = day.month;
    }
}

void CalendarState::setHijriGrid(bool hijri) {
    if (hijri == useHijriGrid) return;
    useHijriGrid = hijri;
    showMonth(selectedDate.value_or(visibleMonthAnchor()), hijri);
}

void CalendarState::jumpToday() {
    selectedDate = startOfDay(nowMs);
    showMonth(nowMs, useHijriGrid);
}

bool CalendarState::moveSelection(int days) {
    const std::int64_t from = CivilDay::dayOf(selectedDate.value_or(visibleMonthAnchor()), offsetSeconds());
    const std::int64_t target = CivilDay::startOfDayMs(from + days, offsetSeconds());
    const QList<LocalHijri::MonthCell> shown = cells();
    for (const LocalHijri::MonthCell& cell : shown) {
        if (cell.gregorian.isValid() && sameDay(cell.gregorian.toMSecsSinceEpoch(), target)) {
            selectedDate = target;
            return true;
        }
    }
    CalendarState moved = *this;
    moved.showMonth(target, useHijriGrid);
    const bool allowed =
        useHijriGrid ? LocalHijri::canGoTo(moved.hy, moved.hm) : gregorianAllowed(moved.gy, moved.gm);
    if (!allowed) return false;
    moved.selectedDate = target;
    *this = moved;
    return true;
}

#pragma once

#include "engine/LocalHijri.h"

#include <QList>
#include <cstdint>
#include <optional>
#include <utility>

// Where the month calendar stands: the mode, the shown Gregorian and Hijri months, the selected day, and
// the steps between them. Every date is a civil day at the place's fixed offset, never the device's zone;
// the instant the state was created with is its today.
struct CalendarState {
    LocalHijri::Location place;
    std::int64_t nowMs = 0;
    bool useHijriGrid = false;
    int gy = 1970;
    int gm = 1;
    int hy = 1389;
    int hm = 10;
    // The start of the selected local day (ms since 1970).
    std::optional<std::int64_t> selectedDate;

    // Opens on the Gregorian month of `nowMs` at the place with that day selected; the Hijri cursor on the
    // Hijri month shown for that day.
    static CalendarState create(const LocalHijri::Location& place, std::int64_t nowMs);

    // The Gregorian months the calendar may show.
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2200;
    static bool gregorianAllowed(int year, int month);

    int offsetSeconds() const { return place.offsetSeconds(); }
    QDateTime today() const;
    std::int64_t startOfDay(std::int64_t ms) const;
    bool sameDay(std::int64_t a, std::int64_t b) const;

    // The days of the shown month in the current mode.
    QList<LocalHijri::MonthCell> cells() const;
    bool isSelected(const LocalHijri::MonthCell& cell) const;
    // Index of the selected day in `cells`; nothing when it is not among them.
    std::optional<qsizetype> selectedIndex(const QList<LocalHijri::MonthCell>& cells) const;

    // The Gregorian (year, month) `months` from the shown one; nothing outside the bounds.
    std::optional<std::pair<int, int>> shiftedGregorian(int months) const;
    // The Hijri month one back (delta < 1) or one forward from the shown one, before any bound.
    std::pair<int, int> hijriNeighbour(int delta) const;
    bool canShiftMonth(int delta) const;
    bool canShiftYear(int delta) const;
    // Each returns whether the shown month moved; a move selects the new month's first day.
    bool shiftMonth(int delta);
    bool shiftYear(int delta);

    // The first day of the shown month; `nowMs` when it cannot be formed.
    std::int64_t visibleMonthAnchor() const;
    // Points one mode's cursor at the month holding `ms`; the other cursor and the selection stay.
    void showMonth(std::int64_t ms, bool hijri);
    // The mode switch: the new mode shows the month around the selected day, which stays selected.
    void setHijriGrid(bool hijri);
    void jumpToday();
    // Moves the selection by whole days; a day outside the shown month brings its month in when the
    // bounds allow that month, else nothing moves.
    bool moveSelection(int days);
};

#include <gtest/gtest.h>

#include "PrivateHome.h"
#include "engine/CivilDay.h"
#include "ui/calendar/CalendarState.h"

#include <QDateTime>
#include <cmath>

namespace {

std::int64_t utc(int y, int m, int d, int h = 0, int min = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC).toMSecsSinceEpoch();
}

LocalHijri::Location at(double offsetHours) {
    return {21.4225, 39.8262, offsetHours};
}

// The civil date of the selected day at the state's place.
CivilDay::Date selectedDay(const CalendarState& state) {
    return CivilDay::civilFromDays(CivilDay::dayOf(state.selectedDate.value(), state.offsetSeconds()));
}

struct CalendarStateTest : ::testing::Test {
    PrivateHome home;  // no stored Hijri day offset
};

}  // namespace

TEST_F(CalendarStateTest, OpensOnTheMonthOfNowAtThePlaceNotInUtc) {
    // 31 Jan 2026 22:30 UTC is still January in UTC but already 1 February at +3.
    const std::int64_t now = utc(2026, 1, 31, 22, 30);
    const CalendarState inUtc = CalendarState::create(at(0), now);
    EXPECT_FALSE(inUtc.useHijriGrid);
    EXPECT_EQ(inUtc.gy, 2026);
    EXPECT_EQ(inUtc.gm, 1);
    EXPECT_EQ(inUtc.selectedDate, utc(2026, 1, 31));
    // 31 Jan 2026 is 12 Shaban 1447.
    EXPECT_EQ(inUtc.hy, 1447);
    EXPECT_EQ(inUtc.hm, 8);

    const CalendarState plusThree = CalendarState::create(at(3), now);
    EXPECT_EQ(plusThree.gy, 2026);
    EXPECT_EQ(plusThree.gm, 2);
    // The start of 1 February at +3 is 21:00 UTC the day before.
    EXPECT_EQ(plusThree.selectedDate, utc(2026, 1, 31, 21));
    EXPECT_EQ(plusThree.hy, 1447);
    EXPECT_EQ(plusThree.hm, 8);
}

TEST_F(CalendarStateTest, AnOffsetNoZoneAcceptsCountsAsUtc) {
    const std::int64_t now = utc(2026, 1, 31, 22, 30);
    for (double offset : {std::nan(""), 26.0, -1e300}) {
        const CalendarState state = CalendarState::create(at(offset), now);
        EXPECT_EQ(state.offsetSeconds(), 0);
        EXPECT_EQ(state.gm, 1);
        EXPECT_EQ(state.selectedDate, utc(2026, 1, 31));
    }
}

TEST_F(CalendarStateTest, GregorianStepsStopAtJanuary1900AndDecember2200) {
    CalendarState state = CalendarState::create(at(0), utc(2026, 3, 10));
    state.gy = 1900;
    state.gm = 1;
    EXPECT_FALSE(state.canShiftMonth(-1));
    EXPECT_FALSE(state.canShiftYear(-1));
    EXPECT_FALSE(state.shiftMonth(-1));
    EXPECT_FALSE(state.shiftYear(-1));
    EXPECT_EQ(state.gy, 1900);
    EXPECT_EQ(state.gm, 1);
    EXPECT_EQ(state.selectedDate, utc(2026, 3, 10));  // a refused step selects nothing new
    EXPECT_TRUE(state.canShiftMonth(1));
    EXPECT_TRUE(state.canShiftYear(1));

    state.gm = 7;  // any month of 1900 refuses the year back, not the month back
    EXPECT_FALSE(state.canShiftYear(-1));
    EXPECT_TRUE(state.canShiftMonth(-1));

    state.gy = 2200;
    state.gm = 12;
    EXPECT_FALSE(state.canShiftMonth(1));
    EXPECT_FALSE(state.canShiftYear(1));
    EXPECT_FALSE(state.shiftMonth(1));
    EXPECT_EQ(state.shiftedGregorian(1), std::nullopt);
    EXPECT_EQ(state.shiftedGregorian(-1), (std::pair{2200, 11}));
    EXPECT_EQ(state.shiftedGregorian(-2400), (std::pair{2000, 12}));
    EXPECT_EQ(state.shiftedGregorian(-3613), std::nullopt);
}

TEST_F(CalendarStateTest, EveryStepSelectsTheFirstDayOfTheNewMonth) {
    CalendarState state = CalendarState::create(at(3), utc(2024, 3, 20, 12));
    ASSERT_TRUE(state.shiftYear(1));
    EXPECT_EQ(state.gy, 2025);
    EXPECT_EQ(state.gm, 3);  // a year step keeps the month
    EXPECT_EQ(state.selectedDate, utc(2025, 3, 1) - 3 * 3600 * 1000);

    ASSERT_TRUE(state.shiftMonth(-1));
    EXPECT_EQ(state.gm, 2);
    EXPECT_EQ(selectedDay(state), (CivilDay::Date{2025, 2, 1}));
    state.gm = 12;
    ASSERT_TRUE(state.shiftMonth(1));
    EXPECT_EQ(state.gy, 2026);
    EXPECT_EQ(state.gm, 1);

    state.useHijriGrid = true;
    state.hy = 1447;
    state.hm = 12;
    ASSERT_TRUE(state.shiftMonth(1));
    EXPECT_EQ(state.hy, 1448);
    EXPECT_EQ(state.hm, 1);
    EXPECT_EQ(state.selectedDate,
              LocalHijri::monthStart(1448, 1, state.place, state.today())->toMSecsSinceEpoch());
    ASSERT_TRUE(state.shiftMonth(-1));
    EXPECT_EQ(state.hy, 1447);
    EXPECT_EQ(state.hm, 12);
    ASSERT_TRUE(state.shiftYear(-1));
    EXPECT_EQ(state.hy, 1446);
    EXPECT_EQ(state.hm, 12);
    const auto first = state.cells().constFirst();
    EXPECT_EQ(first.hijriDay, 1);
    EXPECT_TRUE(state.isSelected(first));
}

TEST_F(CalendarStateTest, HijriStepsFollowCanGoTo) {
    CalendarState state = CalendarState::create(at(0), utc(2026, 3, 10));
    state.useHijriGrid = true;
    // 1 Ramadan 1317 fell on 3 January 1900, so Shaban 1317 is the first month shown; Rajab ended in 1899.
    ASSERT_TRUE(LocalHijri::canGoTo(1317, 8));
    ASSERT_FALSE(LocalHijri::canGoTo(1317, 7));
    state.hy = 1317;
    state.hm = 8;
    EXPECT_FALSE(state.canShiftMonth(-1));
    EXPECT_FALSE(state.shiftMonth(-1));
    EXPECT_FALSE(state.canShiftYear(-1));
    EXPECT_TRUE(state.canShiftMonth(1));

    state.hy = 9999;
    state.hm = 12;
    EXPECT_FALSE(state.canShiftMonth(1));
    EXPECT_FALSE(state.canShiftYear(1));
    EXPECT_FALSE(state.shiftYear(1));
    EXPECT_EQ(state.hy, 9999);
}

// The place's day decides the Hijri month: at +3 the evening of 13 August 2026 (UTC) is already 14 August,
// 1 Rabi al-Awwal 1448; at −5 the small hours of 14 August (UTC) are still 13 August, 30 Safar 1448.
TEST_F(CalendarStateTest, TheModeSwitchKeepsTheSelectedDayAtAHijriMonthBoundary) {
    struct Case {
        double offset;
        std::int64_t now;
        CivilDay::Date civil;
        int hijriMonth;
        int hijriDay;
    };
    for (const Case& c : {Case{3, utc(2026, 8, 13, 22), {2026, 8, 14}, 3, 1},
                          Case{-5, utc(2026, 8, 14, 3), {2026, 8, 13}, 2, 30}}) {
        SCOPED_TRACE(c.offset);
        CalendarState state = CalendarState::create(at(c.offset), c.now);
        const auto selected = state.selectedDate;
        EXPECT_EQ(selectedDay(state), c.civil);
        EXPECT_EQ(state.gm, 8);

        state.setHijriGrid(true);
        EXPECT_EQ(state.hy, 1448);
        EXPECT_EQ(state.hm, c.hijriMonth);
        EXPECT_EQ(state.selectedDate, selected);
        const auto cells = state.cells();
        const auto index = state.selectedIndex(cells);
        ASSERT_TRUE(index.has_value());
        EXPECT_EQ(cells[*index].hijriDay, c.hijriDay);
        EXPECT_TRUE(cells[*index].isToday);

        state.setHijriGrid(false);
        EXPECT_EQ(state.gy, 2026);
        EXPECT_EQ(state.gm, 8);
        EXPECT_EQ(state.selectedDate, selected);
    }
}

TEST_F(CalendarStateTest, TodayShowsItsMonthInTheCurrentModeOnly) {
    CalendarState state = CalendarState::create(at(3), utc(2026, 8, 13, 22));
    state.gy = 1950;
    state.gm = 4;
    state.useHijriGrid = true;
    state.hy = 1500;
    state.hm = 2;
    state.selectedDate = utc(1950, 4, 3);
    state.jumpToday();
    EXPECT_EQ(state.hy, 1448);
    EXPECT_EQ(state.hm, 3);
    EXPECT_EQ(state.gy, 1950);  // the other mode's cursor stays where it was
    EXPECT_EQ(state.gm, 4);
    EXPECT_EQ(selectedDay(state), (CivilDay::Date{2026, 8, 14}));
}

TEST_F(CalendarStateTest, ArrowMovesCrossIntoTheNextMonthOnlyWithinTheBounds) {
    CalendarState state = CalendarState::create(at(0), utc(2024, 3, 30));
    ASSERT_TRUE(state.moveSelection(1));
    EXPECT_EQ(selectedDay(state), (CivilDay::Date{2024, 3, 31}));
    EXPECT_EQ(state.gm, 3);
    ASSERT_TRUE(state.moveSelection(7));
    EXPECT_EQ(selectedDay(state), (CivilDay::Date{2024, 4, 7}));
    EXPECT_EQ(state.gm, 4);
    ASSERT_TRUE(state.moveSelection(-7));
    EXPECT_EQ(state.gm, 3);

    state.gy = 1900;
    state.gm = 1;
    state.selectedDate = utc(1900, 1, 2);
    ASSERT_TRUE(state.moveSelection(-1));
    EXPECT_FALSE(state.moveSelection(-1));
    EXPECT_EQ(selectedDay(state), (CivilDay::Date{1900, 1, 1}));
    EXPECT_EQ(state.gy, 1900);

    state.setHijriGrid(true);
    const int month = state.hm;
    const auto cells = state.cells();
    state.selectedDate = cells.constLast().gregorian.toMSecsSinceEpoch();
    ASSERT_TRUE(state.moveSelection(1));
    EXPECT_EQ(state.hm, month % 12 + 1);
    EXPECT_TRUE(state.isSelected(state.cells().constFirst()));
}

#include <gtest/gtest.h>

#include "EngineTestPrinters.h"
#include "engine/CivilDay.h"

#include <QDate>
#include <cmath>

TEST(CivilDay, AgreesWithQtOverFourCenturies) {
    const QDate epoch(1970, 1, 1);
    for (QDate d(1800, 1, 1); d.year() < 2200; d = d.addDays(1)) {
        const std::int64_t days = CivilDay::daysFromCivil(d.year(), d.month(), d.day());
        ASSERT_EQ(days, epoch.daysTo(d));
        const CivilDay::Date back = CivilDay::civilFromDays(days);
        ASSERT_EQ(back, (CivilDay::Date{d.year(), d.month(), d.day()}));
        ASSERT_EQ(CivilDay::weekday(days), d.dayOfWeek() % 7 + 1);  // Qt: Monday 1 ... Sunday 7
    }
}

TEST(CivilDay, FixedOffsetsTruncateAndStayInRange) {
    struct Case {
        double hours;
        std::optional<int> seconds;
    } cases[] = {
        {0, 0},          {3, 10800},    {5.5, 19800},       {-3.75, -13500}, {5.75, 20700},
        {1.0 / 7200, 0}, {-0.0004, -1}, {14, 50400},        {-14, -50400},   {14.001, {}},
        {-15, {}},       {1e300, {}},   {std::nan(""), {}}, {INFINITY, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(CivilDay::fixedOffsetSeconds(c.hours), c.seconds) << c.hours;
}

TEST(CivilDay, DayOfAnInstantAtAnOffset) {
    const std::int64_t day = CivilDay::daysFromCivil(2026, 8, 13);
    const std::int64_t at2100Utc = CivilDay::startOfDayMs(day, 0) + 21 * 3600'000LL;
    EXPECT_EQ(CivilDay::dayOf(at2100Utc, 0), day);
    EXPECT_EQ(CivilDay::dayOf(at2100Utc, 3 * 3600), day + 1);
    EXPECT_EQ(CivilDay::dayOf(CivilDay::startOfDayMs(day, 0), -5 * 3600), day - 1);
    EXPECT_EQ(CivilDay::startOfDayMs(day, 3 * 3600), CivilDay::startOfDayMs(day, 0) - 3 * 3600'000LL);
    EXPECT_EQ(CivilDay::dayOf(-1, 0), -1);
}

TEST(CivilDay, IsoTextIsAsciiAndStrict) {
    EXPECT_EQ(CivilDay::isoText(CivilDay::Date{2026, 3, 5}), QStringLiteral("2026-03-05"));
    EXPECT_EQ(CivilDay::isoText(CivilDay::Date{622, 7, 16}), QStringLiteral("0622-07-16"));
    EXPECT_EQ(CivilDay::isoText(CivilDay::Date{-1, 12, 31}), QStringLiteral("-0001-12-31"));
    EXPECT_EQ(CivilDay::isoText(CivilDay::Date{12345, 1, 1}), QStringLiteral("12345-01-01"));
    EXPECT_EQ(CivilDay::parseIso(u"2024-02-29"), (CivilDay::Date{2024, 2, 29}));
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-00-10", "2026-1-01", "26-01-01", "2026/01/01",
                            "2026-01-01T00:00", "", "２０２６-01-01", "2026-01-0x"}) {
        EXPECT_FALSE(CivilDay::parseIso(QString::fromUtf8(bad)).has_value()) << bad;
    }
}

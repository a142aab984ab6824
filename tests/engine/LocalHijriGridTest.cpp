#include "EngineTestPrinters.h"
#include "HijriTestSupport.h"

using LocalHijri::MonthCell;
using LocalHijri::YMD;

namespace {

YMD hijriOf(const MonthCell& cell) {
    return {cell.hijriYear, cell.hijriMonth, cell.hijriDay};
}

}  // namespace

TEST_F(HijriTest, HijriMonthOfThirtyDaysAtUtc) {
    // Safar 1448 has 30 days: 15 Jul to 13 Aug 2026; 15 Jul 2026 is a Wednesday.
    const QList<MonthCell> cells = LocalHijri::monthCells(1448, 2, std::nullopt, utc(2026, 1, 1));
    ASSERT_EQ(cells.size(), 30);
    for (int i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(hijriOf(cells[i]), (YMD{1448, 2, i + 1}));
        EXPECT_EQ(cells[i].gregorian, utc(2026, 7, 15).addDays(i));
        EXPECT_EQ(cells[i].weekday, (3 + i) % 7 + 1);
        EXPECT_FALSE(cells[i].isToday);
    }
    EXPECT_EQ(cells.last().id(), QStringLiteral("1448-2-30-1786579200.0"));
    // Dhu al-Hijjah is measured up to Muharram of the next year.
    EXPECT_EQ(LocalHijri::monthCells(1447, 12, std::nullopt, utc(2026, 1, 1)).size(), 29);
    EXPECT_EQ(LocalHijri::monthCells(1447, 12, std::nullopt, utc(2026, 1, 1)).last().gregorian,
              utc(2026, 6, 15));
}

TEST_F(HijriTest, TodayIsMarkedOnceInItsMonthOnly) {
    const QDateTime today = utc(2026, 8, 1, 12);
    const QList<MonthCell> safar = LocalHijri::monthCells(1448, 2, std::nullopt, today);
    EXPECT_EQ(std::count_if(safar.begin(), safar.end(), [](const MonthCell& c) { return c.isToday; }), 1);
    const QList<MonthCell> rabi = LocalHijri::monthCells(1448, 3, std::nullopt, today);
    EXPECT_EQ(std::count_if(rabi.begin(), rabi.end(), [](const MonthCell& c) { return c.isToday; }), 0);
    const QList<MonthCell> august = LocalHijri::gregorianMonthCells(2026, 8, std::nullopt, today);
    ASSERT_EQ(august.size(), 31);
    EXPECT_TRUE(august[0].isToday);
    // At UTC-5, 03:00 UTC on 1 Aug is still 31 Jul.
    const QList<MonthCell> july = LocalHijri::gregorianMonthCells(2026, 7, place(-5), utc(2026, 8, 1, 3));
    EXPECT_TRUE(july.last().isToday);
}

TEST_F(HijriTest, StoredOffsetMovesTheStartOfMonthsNotYetEnded) {
    storeDayOffset(1);
    const QDateTime today = utc(2026, 8, 1);
    EXPECT_EQ(LocalHijri::monthStart(1448, 2, std::nullopt, today), utc(2026, 7, 14));
    EXPECT_EQ(LocalHijri::monthStart(1448, 3, std::nullopt, today), utc(2026, 8, 13));
    EXPECT_EQ(LocalHijri::monthStart(1448, 1, std::nullopt, today), utc(2026, 6, 16));  // ended
    const QList<MonthCell> safar = LocalHijri::monthCells(1448, 2, std::nullopt, today);
    ASSERT_EQ(safar.size(), 30);
    EXPECT_EQ(safar.first().gregorian, utc(2026, 7, 14));
    // Muharram ended on its civil dates and Safar starts a day early: 28 days apart counts as 29.
    EXPECT_EQ(LocalHijri::monthCells(1448, 1, std::nullopt, today).size(), 29);
}

TEST_F(HijriTest, GregorianFebruary1983) {
    const QList<MonthCell> cells = LocalHijri::gregorianMonthCells(1983, 2, std::nullopt, utc(2026, 1, 1));
    ASSERT_EQ(cells.size(), 28);
    EXPECT_EQ(hijriOf(cells[26]), (YMD{1403, 5, 14}));
    EXPECT_EQ(cells[26].gregorian, utc(1983, 2, 27));
    EXPECT_EQ(cells[26].weekday, 1);  // a Sunday
    EXPECT_TRUE(LocalHijri::gregorianMonthCells(2026, 13, std::nullopt, utc(2026, 1, 1)).isEmpty());
    EXPECT_TRUE(LocalHijri::gregorianMonthCells(2026, 0, std::nullopt, utc(2026, 1, 1)).isEmpty());
    EXPECT_EQ(LocalHijri::gregorianMonthCells(2024, 2, std::nullopt, utc(2026, 1, 1)).size(), 29);
}

// The face, both grids and each other agree at every offset: a civil day carries one Hijri date wherever
// the place is, with and without a stored offset (on a day that is the same civil day at every place, as
// the offset's reach depends on the place's today).
TEST_F(HijriTest, GridsAgreeWithEachOtherAndTheFaceAtEveryOffset) {
    for (qint64 stored : {0, 1, -1}) {
        storeDayOffset(stored);
        const QDateTime today = utc(2026, 8, 10, 12);
        QMap<QString, YMD> byDate;
        for (double tz : {0.0, 3.0, -5.0, 5.5}) {
            const LocalHijri::Location where = place(tz);
            for (int month = 1; month <= 12; ++month) {
                for (const MonthCell& cell : LocalHijri::gregorianMonthCells(2026, month, where, today)) {
                    ASSERT_EQ(cell.gregorian.offsetFromUtc(), where.offsetSeconds());
                    ASSERT_EQ(cell.gregorian.time(), QTime(0, 0));
                    ASSERT_EQ(hijriOf(cell), LocalHijri::displayYMD(cell.gregorian, where, today));
                    ASSERT_EQ(hijriOf(cell),
                              LocalHijri::displayYMD(cell.gregorian.addSecs(86399), where, today));
                    const QString date = cell.gregorian.date().toString(Qt::ISODate);
                    if (byDate.contains(date)) {
                        ASSERT_EQ(hijriOf(cell), byDate.value(date)) << date.toStdString() << " at " << tz;
                    } else {
                        byDate.insert(date, hijriOf(cell));
                    }
                }
            }
            for (int month = 1; month <= 12; ++month) {
                for (const MonthCell& cell : LocalHijri::monthCells(1447, month, where, today)) {
                    const QString date = cell.gregorian.date().toString(Qt::ISODate);
                    if (byDate.contains(date)) {
                        ASSERT_EQ(hijriOf(cell), byDate.value(date)) << date.toStdString();
                    }
                }
            }
        }
        if (stored == 0) {
            // 13 Aug 2026 is 30 Safar 1448 at every offset, as the self-test says.
            EXPECT_EQ(byDate.value("2026-08-13"), (YMD{1448, 2, 30}));
            EXPECT_EQ(byDate.value("2026-02-18"), (YMD{1447, 9, 1}));
        }
    }
}

TEST_F(HijriTest, MonthStartIsTheSameCivilDayAtEveryOffset) {
    const QDateTime today = utc(2026, 1, 1);
    for (double tz : {0.0, 3.0, -5.0, 14.0, -12.0}) {
        const auto start = LocalHijri::monthStart(1447, 9, place(tz), today);
        ASSERT_TRUE(start.has_value());
        EXPECT_EQ(start->date(), QDate(2026, 2, 18)) << tz;
        EXPECT_EQ(start->time(), QTime(0, 0));
        EXPECT_EQ(start->offsetFromUtc(), int(tz * 3600));
    }
    EXPECT_FALSE(LocalHijri::monthStart(1447, 13, std::nullopt, today).has_value());
    EXPECT_FALSE(
        LocalHijri::monthStart(std::numeric_limits<int>::max(), 12, std::nullopt, today).has_value());
    EXPECT_TRUE(LocalHijri::monthCells(std::numeric_limits<int>::min(), 1, std::nullopt, today).isEmpty());
}

TEST_F(HijriTest, NavigationBounds) {
    struct Case {
        int year, month;
        bool allowed;
    } cases[] = {
        {1447, 0, false}, {1447, 13, false}, {0, 1, false},   {10000, 1, false},
        {-5, 3, false},   {9999, 12, true},  {1448, 2, true}, {1317, 8, true},
        {1317, 7, false}, {1317, 1, false},  {1, 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocalHijri::canGoTo(c.year, c.month), c.allowed) << c.year << "/" << c.month;
    // The stored offset plays no part.
    storeDayOffset(40);
    EXPECT_FALSE(LocalHijri::canGoTo(1317, 7));
    EXPECT_TRUE(LocalHijri::canGoTo(1317, 8));
}

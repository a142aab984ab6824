#include <gtest/gtest.h>

#include "PrivateHome.h"
#include "ui/calendar/CalendarTexts.h"

#include <QDateTime>

namespace {

const QDateTime kToday(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);

CalendarTexts::Context english(int offsetSeconds = 0) {
    return {QStringLiteral("en"), offsetSeconds, {}};
}

LocalHijri::MonthCell hijriCell(int year, int month, int day) {
    LocalHijri::MonthCell cell;
    cell.hijriYear = year;
    cell.hijriMonth = month;
    cell.hijriDay = day;
    return cell;
}

bool hasAsciiDigit(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

struct CalendarTextsTest : ::testing::Test {
    PrivateHome home;
};

}  // namespace

TEST_F(CalendarTextsTest, RowsFitEveryDayAndNeverFallBelowFive) {
    struct Case {
        int year, month, blanks, days, rows;
    };
    // Feb 2015 and Feb 2026 start on Sunday and fill four rows exactly; Mar 2024 starts on Friday with 31
    // days, Jun 2024 on Saturday with 30.
    for (const Case& c : {Case{2015, 2, 0, 28, 5}, Case{2026, 2, 0, 28, 5}, Case{2024, 3, 5, 31, 6},
                          Case{2024, 6, 6, 30, 6}, Case{1983, 2, 2, 28, 5}}) {
        SCOPED_TRACE(c.year * 100 + c.month);
        const auto cells = LocalHijri::gregorianMonthCells(c.year, c.month, std::nullopt, kToday);
        ASSERT_EQ(cells.size(), c.days);
        EXPECT_EQ(CalendarTexts::leadingBlanks(cells), c.blanks);
        EXPECT_EQ(CalendarTexts::rowCount(CalendarTexts::leadingBlanks(cells), cells.size()), c.rows);
    }
    EXPECT_EQ(CalendarTexts::leadingBlanks({}), 0);
    EXPECT_EQ(CalendarTexts::rowCount(0, 0), 5);
}

TEST_F(CalendarTextsTest, February1983OnTheGregorianGrid) {
    const auto cells = LocalHijri::gregorianMonthCells(1983, 2, std::nullopt, kToday);
    ASSERT_EQ(cells.size(), 28);
    EXPECT_EQ(CalendarTexts::gregorianTitle(1983, 2, english()), QStringLiteral("February 1983"));
    EXPECT_EQ(CalendarTexts::hijriRange(cells, english()),
              QStringLiteral("17 Rabi II \u2013 15 Jumada I 1403 AH"));
    EXPECT_EQ(CalendarTexts::caption(cells[26], false, english()), QStringLiteral("14 Jumada I"));
    EXPECT_EQ(CalendarTexts::dayNumber(cells[26], false, english()), QStringLiteral("27"));
    EXPECT_EQ(CalendarTexts::hijriDate(cells[26], english()), QStringLiteral("14 Jumada al-Awwal 1403 AH"));
    EXPECT_EQ(CalendarTexts::longGregorian(cells[26].gregorian.toMSecsSinceEpoch(), english()),
              QStringLiteral("Sunday, 27 February 1983"));
}

TEST_F(CalendarTextsTest, JumadaAlAwwal1403OnTheHijriGrid) {
    const auto cells = LocalHijri::monthCells(1403, 5, std::nullopt, kToday);
    ASSERT_EQ(cells.size(), 30);
    EXPECT_EQ(CalendarTexts::hijriTitle(1403, 5, english()), QStringLiteral("Jumada al-Awwal 1403 AH"));
    EXPECT_EQ(CalendarTexts::gregorianRange(cells.constFirst(), cells, english()),
              QStringLiteral("Feb 1983 \u2013 Mar 1983"));
    EXPECT_EQ(CalendarTexts::caption(cells.constFirst(), true, english()), QStringLiteral("14 Feb"));
    EXPECT_EQ(CalendarTexts::caption(cells[13], true, english()), QStringLiteral("27 Feb"));
    EXPECT_EQ(CalendarTexts::dayNumber(cells[13], true, english()), QStringLiteral("14"));
    // Monday 14 February: one blank before it.
    EXPECT_EQ(CalendarTexts::leadingBlanks(cells), 1);
    // A one-part range when the month begins and ends in one Gregorian month.
    EXPECT_EQ(CalendarTexts::gregorianRange(cells[1], {cells[1], cells[2]}, english()),
              QStringLiteral("Feb 1983"));
    EXPECT_EQ(CalendarTexts::gregorianRange(cells[1], {}, english()), QStringLiteral("Feb 1983"));
}

TEST_F(CalendarTextsTest, HijriRangeHasThreeForms) {
    const CalendarTexts::Context context = english();
    EXPECT_EQ(CalendarTexts::hijriRange({hijriCell(1447, 9, 1), hijriCell(1447, 9, 29)}, context),
              QStringLiteral("1\u201329 Ramadan 1447 AH"));
    EXPECT_EQ(CalendarTexts::hijriRange({hijriCell(1447, 3, 12), hijriCell(1447, 4, 11)}, context),
              QStringLiteral("12 Rabi I \u2013 11 Rabi II 1447 AH"));
    EXPECT_EQ(CalendarTexts::hijriRange({hijriCell(1446, 12, 20), hijriCell(1447, 1, 19)}, context),
              QStringLiteral("20 Dhul-Hijjah 1446 \u2013 19 Muharram 1447 AH"));
    EXPECT_EQ(CalendarTexts::hijriRange({}, context), QString());
    // Names come from the bundle's labels first.
    const CalendarTexts::Context own{
        QStringLiteral("en"), 0, {{QStringLiteral("hmonth_9"), QStringLiteral("Ramazan")}}};
    EXPECT_EQ(CalendarTexts::hijriRange({hijriCell(1447, 9, 1), hijriCell(1447, 9, 30)}, own),
              QStringLiteral("1\u201330 Ramazan 1447 AH"));
}

TEST_F(CalendarTextsTest, GregorianTextsFollowTheLanguageWhileHijriNumbersStayAscii) {
    const auto cells = LocalHijri::gregorianMonthCells(1983, 2, std::nullopt, kToday);
    const CalendarTexts::Context persian{QStringLiteral("fa"), 0, {}};
    // Persian Gregorian month names with Persian digits, never the Persian calendar's own months.
    EXPECT_EQ(CalendarTexts::gregorianTitle(1983, 2, persian), QStringLiteral("فوریه ۱۹۸۳"));
    EXPECT_EQ(CalendarTexts::dayNumber(cells[26], false, persian), QStringLiteral("۲۷"));
    EXPECT_EQ(CalendarTexts::caption(cells[26], false, persian), QStringLiteral("14 Jumada I"));

    const CalendarTexts::Context arabic{QStringLiteral("ar"), 3 * 3600, {}};
    const QString title = CalendarTexts::gregorianTitle(1983, 2, arabic);
    EXPECT_TRUE(title.contains(QStringLiteral("فبراير"))) << title.toStdString();
    EXPECT_FALSE(hasAsciiDigit(title)) << title.toStdString();
    EXPECT_EQ(CalendarTexts::hijriTitle(1403, 5, arabic), QStringLiteral("Jumada al-Awwal 1403 AH"));
    const auto hijriCells = LocalHijri::monthCells(1403, 5, std::nullopt, kToday);
    EXPECT_EQ(CalendarTexts::dayNumber(hijriCells[13], true, arabic), QStringLiteral("14"));
    EXPECT_FALSE(hasAsciiDigit(CalendarTexts::caption(hijriCells[13], true, arabic)));
}

TEST_F(CalendarTextsTest, WeekdaySymbolsStartOnSundayInEveryLanguage) {
    EXPECT_EQ(CalendarTexts::weekdaySymbols(QStringLiteral("en")),
              QStringLiteral("S,M,T,W,T,F,S").split(u','));
    // French weeks start on Monday, the header still on Sunday.
    EXPECT_EQ(CalendarTexts::weekdaySymbols(QStringLiteral("fr")).constFirst(), QStringLiteral("D"));
    const QStringList arabic = CalendarTexts::weekdaySymbols(QStringLiteral("ar"));
    ASSERT_EQ(arabic.size(), 7);
    EXPECT_EQ(arabic.constFirst(), QStringLiteral("ح"));
    EXPECT_EQ(CalendarTexts::weekdaySymbols(QString()).size(), 7);
    EXPECT_EQ(CalendarTexts::weekdaySymbols(QStringLiteral("%%bad")).size(), 7);
}

TEST_F(CalendarTextsTest, GregorianTextsUseThePlacesOffset) {
    // 1 March 1983 00:00 at +3 is still 28 February in UTC.
    const std::int64_t ms = QDateTime(QDate(1983, 2, 28), QTime(21, 0), Qt::UTC).toMSecsSinceEpoch();
    EXPECT_EQ(CalendarTexts::gregorian(ms, english(3 * 3600), QStringLiteral("d MMM")),
              QStringLiteral("1 Mar"));
    EXPECT_EQ(CalendarTexts::gregorian(ms, english(-5 * 3600), QStringLiteral("d MMM")),
              QStringLiteral("28 Feb"));
}

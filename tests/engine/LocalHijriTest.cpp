#include "EngineTestPrinters.h"
#include "HijriTestSupport.h"
#include "engine/LocalHijriCalendar.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

using LocalHijri::YMD;

TEST_F(HijriTest, SelfTestPassesQuietlyWithNoOffset) {
    EXPECT_TRUE(LocalHijri::verifyBirthday1983());
    EXPECT_TRUE(LocalHijri::verifyTodaySafar1448());
    testing::internal::CaptureStdout();
    LocalHijri::runBirthdaySmoke();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(HijriTest, SelfTestReportsAStoredOffsetOnTheSecondCheckOnly) {
    storeDayOffset(1);
    EXPECT_TRUE(LocalHijri::verifyBirthday1983());
    EXPECT_FALSE(LocalHijri::verifyTodaySafar1448());
    testing::internal::CaptureStdout();
    LocalHijri::runBirthdaySmoke();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "[Orvane] Hijri smoke FAILED: 13 Aug 2026 != 30 Safar 1448 AH\n");
    // Another reference day is checked against the same fixed date.
    storeDayOffset(0);
    EXPECT_FALSE(LocalHijri::verifyTodaySafar1448(utc(2026, 8, 12)));
    EXPECT_TRUE(LocalHijri::verifyTodaySafar1448(utc(2026, 8, 13, 23, 59)));
}

TEST_F(HijriTest, FixedDates) {
    struct Case {
        int y, m, d;
        YMD hijri;
    } cases[] = {
        {1983, 2, 27, {1403, 5, 14}}, {2026, 8, 13, {1448, 2, 30}}, {2026, 8, 14, {1448, 3, 1}},
        {2026, 3, 20, {1447, 10, 1}}, {2026, 2, 18, {1447, 9, 1}},  {2026, 6, 16, {1448, 1, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocalHijri::civilYMD(utc(c.y, c.m, c.d)), c.hijri) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(LocalHijri::civilYMD(utc(c.y, c.m, c.d, 23, 59)), c.hijri);
    }
    EXPECT_EQ(LocalHijri::civilYMD(QDateTime()), YMD{});
}

// Every day of 2026: the display date equals the civil date with no offset, days advance one by one, and
// each date leads back to its day through the month's first day.
TEST_F(HijriTest, EveryDayOf2026RoundTrips) {
    const QDateTime today = utc(2026, 1, 1);
    YMD previous = LocalHijri::civilYMD(utc(2025, 12, 31));
    for (std::int64_t day = CivilDay::daysFromCivil(2026, 1, 1); day <= CivilDay::daysFromCivil(2026, 12, 31);
         ++day) {
        const QDateTime instant = QDateTime::fromMSecsSinceEpoch(day * CivilDay::kMsPerDay, Qt::UTC);
        const YMD shown = LocalHijri::displayYMD(instant, std::nullopt, today);
        ASSERT_EQ(shown, LocalHijri::civilYMD(instant));
        const bool nextDay =
            shown.year == previous.year && shown.month == previous.month && shown.day == previous.day + 1;
        const bool nextMonth =
            shown.day == 1 && (previous.day == 29 || previous.day == 30) &&
            (shown.month == previous.month + 1 ||
             (shown.month == 1 && previous.month == 12 && shown.year == previous.year + 1));
        ASSERT_TRUE(nextDay || nextMonth) << CivilDay::isoText(day).toStdString();
        const auto start = LocalHijri::monthStart(shown.year, shown.month, std::nullopt, today);
        ASSERT_TRUE(start.has_value());
        ASSERT_EQ(start->daysTo(instant), shown.day - 1);
        previous = shown;
    }
}

TEST_F(HijriTest, CivilDatesPairWithThePlacesOwnDay) {
    // 22:00 UTC on 13 Aug 2026 is already 14 Aug at UTC+3 and still 13 Aug at UTC-5.
    const QDateTime late = utc(2026, 8, 13, 22);
    EXPECT_EQ(LocalHijri::displayYMD(late, std::nullopt, late), (YMD{1448, 2, 30}));
    EXPECT_EQ(LocalHijri::displayYMD(late, place(3), late), (YMD{1448, 3, 1}));
    EXPECT_EQ(LocalHijri::displayYMD(late, place(-5), late), (YMD{1448, 2, 30}));
    // 02:00 UTC on 14 Aug is still 13 Aug at UTC-5.
    const QDateTime early = utc(2026, 8, 14, 2);
    EXPECT_EQ(LocalHijri::displayYMD(early, place(-5), early), (YMD{1448, 2, 30}));
    EXPECT_EQ(LocalHijri::displayYMD(early, place(5.5), early), (YMD{1448, 3, 1}));
    // An offset no zone accepts counts as UTC.
    for (double bad : {std::nan(""), double(INFINITY), 15.0, -99.0})
        EXPECT_EQ(LocalHijri::displayYMD(late, place(bad), late), (YMD{1448, 2, 30})) << bad;
}

TEST_F(HijriTest, StoredOffsetMovesOnlyMonthsThatHaveNotEnded) {
    storeDayOffset(1);
    const QDateTime lastOfSafar = utc(2026, 8, 13);
    EXPECT_EQ(LocalHijri::displayYMD(lastOfSafar, std::nullopt, lastOfSafar), (YMD{1448, 3, 1}));
    // Seen from a later month, Safar has ended and keeps its civil dates.
    EXPECT_EQ(LocalHijri::displayYMD(lastOfSafar, std::nullopt, utc(2026, 9, 20)), (YMD{1448, 2, 30}));
    // The month ends at the first instant of the next month's first day.
    EXPECT_EQ(LocalHijri::displayYMD(lastOfSafar, std::nullopt, utc(2026, 8, 14)), (YMD{1448, 2, 30}));
    EXPECT_EQ(LocalHijri::displayYMD(lastOfSafar, std::nullopt, utc(2026, 8, 13, 23, 59)), (YMD{1448, 3, 1}));
    // At UTC+3 the next month's first day has begun at 21:00 UTC.
    EXPECT_EQ(LocalHijri::displayYMD(lastOfSafar, place(3), utc(2026, 8, 13, 21)), (YMD{1448, 2, 30}));

    storeDayOffset(-1);
    EXPECT_EQ(LocalHijri::displayYMD(utc(2026, 8, 14), std::nullopt, utc(2026, 8, 14)), (YMD{1448, 2, 30}));

    // Absurd stored values fall back to the civil date instead of failing.
    storeDayOffset(std::numeric_limits<qint64>::max());
    EXPECT_EQ(LocalHijri::displayYMD(lastOfSafar, std::nullopt, lastOfSafar), (YMD{1448, 2, 30}));
    storeDayOffset(std::numeric_limits<qint64>::min());
    EXPECT_EQ(LocalHijri::displayYMD(lastOfSafar, std::nullopt, lastOfSafar), (YMD{1448, 2, 30}));
}

TEST_F(HijriTest, MonthNames) {
    const JsonCoding::StringMap none;
    const JsonCoding::StringMap own{{"hmonth_9", "رمضان"}, {"hmonth_short_3", "R1"}};
    struct Case {
        int month;
        const char* full;
        const char* brief;
    } cases[] = {
        {1, "Muharram", "Muharram"},        {3, "Rabi al-Awwal", "Rabi I"},
        {5, "Jumada al-Awwal", "Jumada I"}, {9, "Ramadan", "Ramadan"},
        {11, "Dhu al-Qadah", "Dhul-Qadah"}, {12, "Dhu al-Hijjah", "Dhul-Hijjah"},
        {13, "Month 13", "Month 13"},       {0, "Month 0", "Month 0"},
        {-2, "Month -2", "Month -2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocalHijri::monthName(c.month, none), QString(c.full)) << c.month;
        EXPECT_EQ(LocalHijri::shortMonthName(c.month, none), QString(c.brief)) << c.month;
    }
    EXPECT_EQ(LocalHijri::monthName(9, own), QStringLiteral("رمضان"));
    EXPECT_EQ(LocalHijri::shortMonthName(9, own), QStringLiteral("Ramadan"));
    EXPECT_EQ(LocalHijri::shortMonthName(3, own), QStringLiteral("R1"));
    EXPECT_EQ(LocalHijri::shortMonthName(13, JsonCoding::StringMap{{"hmonth_13", "Extra"}}),
              QStringLiteral("Extra"));
}

TEST_F(HijriTest, LocationZones) {
    struct Case {
        double hours;
        int seconds;
    } cases[] = {{5.5, 19800}, {-3.75, -13500}, {3, 10800}, {0, 0}, {14, 50400}, {14.5, 0}, {NAN, 0}};
    for (const Case& c : cases) {
        const LocalHijri::Location location{0, 0, c.hours};
        EXPECT_EQ(location.offsetSeconds(), c.seconds) << c.hours;
        EXPECT_TRUE(location.timeZone().isValid());
        EXPECT_EQ(location.timeZone().offsetFromUtc(QDateTime::currentDateTimeUtc()), c.seconds);
    }
}

namespace {

QJsonArray referenceTable(const char* name) {
    QFile file(QStringLiteral(ORVANE_REFDATA_DIR "/hijri-ummalqura/") + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).array();
}

}  // namespace

// The official calendar's month starts and dated issues of the official newspaper, 1420-1450 AH (the years
// for which the platform's calendar follows the official one).
TEST_F(HijriTest, AgreesWithOfficialTablesFor1420To1450) {
    int checked = 0;
    for (const char* name : {"ummalqura_calendar_website.json", "ummalqura_newspaper_issues.json"}) {
        for (const QJsonValue& row : referenceTable(name)) {
            const QJsonArray pair = row.toArray().at(0).toArray();
            const QJsonArray h = pair.at(0).toArray();
            const QJsonArray g = pair.at(1).toArray();
            if (h.at(0).toInt() < 1420 || h.at(0).toInt() > 1450) continue;
            const QDateTime instant = utc(g.at(0).toInt(), g.at(1).toInt(), g.at(2).toInt());
            EXPECT_EQ(LocalHijri::civilYMD(instant), (YMD{h.at(0).toInt(), h.at(1).toInt(), h.at(2).toInt()}))
                << name << " " << instant.toString(Qt::ISODate).toStdString();
            ++checked;
        }
    }
    if (checked == 0) GTEST_SKIP() << "reference data not present";
    EXPECT_GT(checked, 200);
}

// Conversions in the years of the platform's Umm al-Qura table come from month starts read once; they
// must be the platform's own answers for every day of those years and around them.
TEST_F(HijriTest, CachedConversionsAreThePlatformsOwn) {
    const std::int64_t first = *LocalHijriCalendar::toDay(1299, 11, 1);
    const std::int64_t last = *LocalHijriCalendar::toDay(1601, 3, 1);
    for (std::int64_t day = first; day <= last; ++day) {
        const auto ours = LocalHijriCalendar::fromDay(day);
        ASSERT_TRUE(ours.has_value());
        ASSERT_EQ(*ours, LocalHijriCalendar::fromDayUncached(day)) << CivilDay::isoText(day).toStdString();
        if (ours->day == 1) {
            ASSERT_EQ(LocalHijriCalendar::toDay(ours->year, ours->month, 1), day);
            ASSERT_EQ(LocalHijriCalendar::toDay(ours->year, ours->month, 0), day - 1);
        }
    }
}

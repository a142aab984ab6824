#include "EngineTestPrinters.h"
#include "HijriTestSupport.h"
#include "engine/LocalHijriEvents.h"
#include "engine/LocalLabels.h"

namespace {

QStringList describe(const QList<Event>& events) {
    QStringList lines;
    for (const Event& e : events)
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(e.gregorian, e.key, QString::number(e.inDays), QString::number(e.hijriDay),
                          e.hijriMonthName, e.name);
    return lines;
}

}  // namespace

TEST_F(HijriTest, SixEventsFromEidAlFitr2026) {
    const QDateTime today = utc(2026, 3, 20, 9);
    EXPECT_EQ(describe(LocalHijri::upcomingEvents(today, 6, LocalLabels::en(), place(3))),
              QStringList({
                  "2026-03-20 eid_al_fitr 0 1 Shawwal Eid al-Fitr",
                  "2026-05-26 day_of_arafah 67 9 Dhu al-Hijjah Day of Arafah",
                  "2026-05-27 eid_al_adha 68 10 Dhu al-Hijjah Eid al-Adha",
                  "2026-06-16 islamic_new_year 88 1 Muharram Islamic New Year",
                  "2026-06-25 ashura 97 10 Muharram Ashura",
                  "2026-08-25 mawlid 158 12 Rabi al-Awwal Mawlid al-Nabi",
              }));
}

TEST_F(HijriTest, EventCountsAndNames) {
    const QDateTime today = utc(2026, 3, 20, 9);
    EXPECT_TRUE(LocalHijri::upcomingEvents(today, 0, {}, std::nullopt).isEmpty());
    EXPECT_TRUE(LocalHijri::upcomingEvents(today, -3, {}, std::nullopt).isEmpty());
    // Six rows of 1447 are past: 3 + 9 + 9 remain.
    const QList<Event> all = LocalHijri::upcomingEvents(today, 40, {}, std::nullopt);
    ASSERT_EQ(all.size(), 21);
    EXPECT_EQ(all.first().name, QStringLiteral("eid_al_fitr"));
    EXPECT_EQ(all.first().hijriMonthName, QStringLiteral("Shawwal"));
    for (qsizetype i = 1; i < all.size(); ++i) EXPECT_LE(all[i - 1].gregorian, all[i].gregorian);
    for (qsizetype i = 1; i < all.size(); ++i) {
        if (all[i].key == QLatin1StringView("eid_al_adha")) {
            EXPECT_EQ(all[i - 1].key, QStringLiteral("day_of_arafah"));
        }
    }
}

TEST_F(HijriTest, TheDayAfterEidAlAdhaStartsWithTheNextNewYear) {
    const QList<Event> events = LocalHijri::upcomingEvents(utc(2026, 5, 28, 12), 2, {}, std::nullopt);
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].key, QStringLiteral("islamic_new_year"));
    EXPECT_EQ(events[0].gregorian, QStringLiteral("2026-06-16"));
    EXPECT_EQ(events[1].key, QStringLiteral("ashura"));
}

TEST_F(HijriTest, StoredOffsetMovesEventsOfMonthsNotEnded) {
    storeDayOffset(1);
    const QList<Event> events = LocalHijri::upcomingEvents(utc(2026, 3, 21, 9), 3, {}, std::nullopt);
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[0].gregorian, QStringLiteral("2026-05-25"));
    EXPECT_EQ(events[0].hijriDay, 9);
    EXPECT_EQ(events[0].inDays, 65);
    // The explicit offset overrides the stored one.
    const QList<Event> civil = LocalHijri::upcomingEvents(utc(2026, 3, 21, 9), 1, {}, std::nullopt, 0);
    EXPECT_EQ(civil.first().gregorian, QStringLiteral("2026-05-26"));
}

// Days count at the place: the same instant is already Eid at UTC+05:30 and still the eve at UTC; at
// UTC-5 Ramadan is announced for the civil day it begins, not a day early.
TEST_F(HijriTest, EventDaysFollowThePlacesDayBoundaries) {
    const QDateTime evening = utc(2026, 3, 19, 20);
    EXPECT_EQ(describe(LocalHijri::upcomingEvents(evening, 1, {}, place(5.5))).value(0),
              QStringLiteral("2026-03-20 eid_al_fitr 0 1 Shawwal eid_al_fitr"));
    EXPECT_EQ(describe(LocalHijri::upcomingEvents(evening, 1, {}, std::nullopt)).value(0),
              QStringLiteral("2026-03-20 eid_al_fitr 1 1 Shawwal eid_al_fitr"));
    const QDateTime eve = utc(2026, 2, 17, 23);  // 18:00 on 17 Feb at UTC-5
    EXPECT_EQ(describe(LocalHijri::upcomingEvents(eve, 1, {}, place(-5))).value(0),
              QStringLiteral("2026-02-18 ramadan_start 1 1 Ramadan ramadan_start"));
    EXPECT_EQ(describe(LocalHijri::upcomingEvents(eve, 1, {}, place(3))).value(0),
              QStringLiteral("2026-02-18 ramadan_start 0 1 Ramadan ramadan_start"));
}

// The strip, the face and the grid name the same day.
TEST_F(HijriTest, EventsFallOnTheirGridDays) {
    storeDayOffset(1);
    for (double tz : {-5.0, 0.0, 3.0, 5.5}) {
        const QDateTime today = utc(2026, 4, 1, 12);
        for (const Event& e : LocalHijri::upcomingEvents(today, 27, {}, place(tz))) {
            const QDate date = QDate::fromString(e.gregorian, Qt::ISODate);
            const QDateTime localMidnight(date, QTime(0, 0), QTimeZone(int(tz * 3600)));
            const LocalHijri::YMD shown = LocalHijri::displayYMD(localMidnight, place(tz), today);
            EXPECT_EQ(shown.day, e.hijriDay) << e.key.toStdString() << " " << tz;
            EXPECT_EQ(LocalHijri::monthName(shown.month, {}), e.hijriMonthName) << e.key.toStdString();
        }
    }
}

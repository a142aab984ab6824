#include "ui/face/FaceFormat.h"
#include "ui/face/PrayerCells.h"
#include "ui/face/StatusPills.h"

#include <gtest/gtest.h>

#include "SampleBundle.h"

namespace {

TEST(StatusPills, FeedsInOrderWithWeatherDashAndAlertCount) {
    ClockBundle bundle = sampleBundle();
    ASSERT_EQ(bundle.location.city.value_or(QString()), QStringLiteral("Makkah"));
    auto pills = StatusPills::pills(bundle, true);
    ASSERT_EQ(pills.size(), 5);
    EXPECT_EQ(pills[0].text, QStringLiteral("Prayers: OK"));
    EXPECT_EQ(pills[1].text, QStringLiteral("Weather: OK"));
    EXPECT_TRUE(pills[1].ok);
    EXPECT_EQ(pills[2].text, QStringLiteral("Alerts: 3"));
    EXPECT_TRUE(pills[2].ok);  // a count is not a warning
    EXPECT_EQ(pills[3].text, QStringLiteral("Geo: OK"));
    EXPECT_EQ(pills[4].text, QStringLiteral("NASA: OK"));

    bundle.weather.reset();
    bundle.alerts.clear();
    bundle.labels.insert(QStringLiteral("status_geo"), QStringLiteral("موقع"));
    bundle.labels.insert(QStringLiteral("status_alerts"), QStringLiteral("تنبيهات"));
    pills = StatusPills::pills(bundle, true);
    EXPECT_EQ(pills[1].text, QStringLiteral("Weather: \u2014"));
    EXPECT_FALSE(pills[1].ok);
    EXPECT_EQ(pills[2].text, QStringLiteral("تنبيهات: OK"));
    EXPECT_EQ(pills[3].text, QStringLiteral("موقع: OK"));
    EXPECT_EQ(pills[4].text, QStringLiteral("NASA: OK"));

    // Alerts no feed could check are never "OK".
    bundle.sources->alerts.active = false;
    pills = StatusPills::pills(bundle, true);
    EXPECT_EQ(pills[2].text, QStringLiteral("تنبيهات: \u2014"));
    EXPECT_FALSE(pills[2].ok);
}

TEST(StatusPills, PrayersAndNasaReadOKOnlyWhenTheirFeedsWorked) {
    ClockBundle bundle = sampleBundle();
    bundle.prayers.insert(QStringLiteral("asr"), QStringLiteral("--:--"));
    const auto pills = StatusPills::pills(bundle, false);
    EXPECT_EQ(pills[0].text, QStringLiteral("Prayers: \u2014"));
    EXPECT_FALSE(pills[0].ok);
    EXPECT_EQ(pills[4].text, QStringLiteral("NASA: \u2014"));
    EXPECT_FALSE(pills[4].ok);
}

TEST(StatusPills, PillTextRules) {
    EXPECT_EQ(StatusPills::pillText(QStringLiteral("status_geo"), true), QStringLiteral("status_geo: OK"));
    EXPECT_EQ(StatusPills::pillText(QStringLiteral("X"), false, 0), QStringLiteral("X: \u2014"));
    EXPECT_EQ(StatusPills::pillText(QStringLiteral("X"), false, 12345), QStringLiteral("X: 12345"));
}

TEST(PrayerCells, OnlyTheNextPrayerIsMarked) {
    ClockBundle bundle = sampleBundle();
    const QLocale en(QStringLiteral("en"));
    auto cells = PrayerCells::cells(bundle, true, en, PrayerCells::faceOrder());
    ASSERT_EQ(cells.size(), 5);
    int marked = 0;
    for (const auto& cell : cells) marked += cell.next;
    EXPECT_EQ(marked, 1);
    EXPECT_EQ(cells[2].key, QStringLiteral("asr"));
    EXPECT_TRUE(cells[2].next);
    EXPECT_EQ(cells[2].name, QStringLiteral("Asr"));
    EXPECT_EQ(cells[2].time, QStringLiteral("15:52"));
    EXPECT_EQ(cells[0].time, QStringLiteral("05:14"));

    cells = PrayerCells::cells(bundle, false, en, PrayerCells::faceOrder());
    EXPECT_EQ(cells[0].time, QStringLiteral("5:14 AM"));
    EXPECT_EQ(cells[2].time, QStringLiteral("3:52 PM"));

    bundle.nextPrayer.key = QStringLiteral("sunrise");
    bundle.prayers.remove(QStringLiteral("isha"));
    cells = PrayerCells::cells(bundle, true, en, PrayerCells::faceOrder());
    for (const auto& cell : cells) EXPECT_FALSE(cell.next) << cell.key.toStdString();
    EXPECT_EQ(cells[4].time, QStringLiteral("--:--"));
    EXPECT_TRUE(PrayerCells::cells(bundle, true, en, {}).isEmpty());
}

TEST(FaceFormat, EventChipTexts) {
    EXPECT_EQ(FaceFormat::eventDetail(1, QStringLiteral("Shawwal"), QStringLiteral("2026-03-20"), "en"),
              QStringLiteral("1 Shawwal \u00B7 Mar 20"));
    EXPECT_EQ(FaceFormat::eventShortDate(QStringLiteral("soon"), "en"), QStringLiteral("soon"));
    EXPECT_EQ(FaceFormat::eventShortDate(QStringLiteral("2026-02-30"), "en"), QStringLiteral("2026-02-30"));
    // A Gregorian date even where the language's own calendar is another.
    EXPECT_EQ(FaceFormat::eventShortDate(QStringLiteral("2026-03-20"), "fa"), QStringLiteral("مارس ۲۰"));
    EXPECT_EQ(FaceFormat::eventDaysLeft(0, QStringLiteral("today"), QStringLiteral("days")),
              QStringLiteral("today"));
    EXPECT_EQ(FaceFormat::eventDaysLeft(5, QStringLiteral("today"), QStringLiteral("days")),
              QStringLiteral("5 days"));
}

TEST(FaceFormat, EventsStepWrapsAndSingleChipsStayPut) {
    std::vector<int> seen;
    int index = 0;
    for (int i = 0; i < 4; ++i) seen.push_back(index = FaceFormat::nextEventIndex(index, 3));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(FaceFormat::nextEventIndex(0, 1), 0);
    EXPECT_EQ(FaceFormat::nextEventIndex(0, 0), 0);
    EXPECT_EQ(FaceFormat::nextEventIndex(7, 3), 2);  // left over from a longer list
}

TEST(FaceFormat, PercentHasNoGrouping) {
    EXPECT_TRUE(FaceFormat::percent(0).endsWith(QLatin1Char('%')));
    EXPECT_EQ(FaceFormat::percent(1234).size(), 5);
}

}  // namespace

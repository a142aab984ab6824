#include <gtest/gtest.h>

#include "clock/AppEvents.h"
#include "clock/PrayerSchedule.h"

#include <QDateTime>

TEST(PrayerSchedule, MinutesOfTheFiveKeys) {
    const JsonCoding::StringMap prayers{{"fajr", "05:07"}, {"sunrise", "06:30"}, {"dhuhr", "--:--"},
                                        {"asr", "15:4"},   {"maghrib", "24:00"}, {"isha", "x:10"}};
    const PrayerSchedule::Minutes m = PrayerSchedule::minutesOf(prayers);
    EXPECT_EQ(m[0], 5 * 60 + 7);
    EXPECT_FALSE(m[1].has_value());
    EXPECT_EQ(m[2], 15 * 60 + 4);
    EXPECT_FALSE(m[3].has_value()) << "outside the day";
    EXPECT_FALSE(m[4].has_value());
    EXPECT_FALSE(PrayerSchedule::minutesOf({})[0].has_value());
}

TEST(PrayerSchedule, KeysAndInstants) {
    EXPECT_EQ(PrayerSchedule::indexOf(u"fajr"), 0);
    EXPECT_EQ(PrayerSchedule::indexOf(u"isha"), 4);
    EXPECT_EQ(PrayerSchedule::indexOf(u"sunrise"), -1);
    EXPECT_EQ(PrayerSchedule::indexOf(u"Fajr"), -1);
    // 2026-03-10 is day 20522; 05:10 at UTC+5:30 is 23:40 UTC the evening before.
    EXPECT_EQ(PrayerSchedule::instantOf(20522, 310, 19800),
              QDateTime::fromString("2026-03-09T23:40:00Z", Qt::ISODate).toMSecsSinceEpoch());
    EXPECT_EQ(PrayerSchedule::compactDate(20522), QStringLiteral("20260310"));
    EXPECT_EQ(PrayerSchedule::offsetSeconds(-3.5, 0), -12600);
    EXPECT_EQ(PrayerSchedule::offsetSeconds(5.75, 0), 20700);
    // Beyond what a zone accepts: the device's own offset stands in.
    const std::int64_t at = 1'770'000'000'000;
    EXPECT_EQ(PrayerSchedule::offsetSeconds(20, at),
              QDateTime::fromMSecsSinceEpoch(at, Qt::LocalTime).offsetFromUtc());
    EXPECT_EQ(PrayerSchedule::offsetSeconds(std::nan(""), at),
              QDateTime::fromMSecsSinceEpoch(at, Qt::LocalTime).offsetFromUtc());
}

TEST(AppEvents, PostsByName) {
    QList<std::pair<QString, bool>> played;
    int fresh = 0, settings = 0, auth = 0;
    AppEvents& e = AppEvents::shared();
    auto c1 = QObject::connect(&e, &AppEvents::playPrayer, [&](const QString& p, bool f) {
        played.append({p, f});
    });
    auto c2 = QObject::connect(&e, &AppEvents::openFresh, [&] { ++fresh; });
    auto c3 = QObject::connect(&e, &AppEvents::openNotificationSettings, [&] { ++settings; });
    auto c4 = QObject::connect(&e, &AppEvents::notificationAuthChanged, [&] { ++auth; });
    EXPECT_TRUE(e.post(QStringLiteral("OrvanePlayPrayer"), QStringLiteral("isha"), true));
    EXPECT_TRUE(e.post(QStringLiteral("OrvaneOpenFresh")));
    EXPECT_TRUE(e.post(QStringLiteral("OrvaneOpenNotificationSettings")));
    EXPECT_TRUE(e.post(QStringLiteral("OrvaneNotificationAuthChanged")));
    EXPECT_FALSE(e.post(QStringLiteral("orvaneplayprayer")));
    EXPECT_EQ(played, (QList<std::pair<QString, bool>>{{QStringLiteral("isha"), true}}));
    EXPECT_EQ(fresh + settings + auth, 3);
    for (const auto& c : {c1, c2, c3, c4}) QObject::disconnect(c);
}

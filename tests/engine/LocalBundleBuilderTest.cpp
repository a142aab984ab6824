#include <gtest/gtest.h>

#include "EngineTestPrinters.h"
#include "engine/LocalBundleBuilder.h"

#include <QTimeZone>
#include <cmath>
#include <ctime>
#include <limits>

using LocalBundleBuilder::minutesOfDay;
using LocalBundleBuilder::timeString;

TEST(PrayerTimeStrings, NearestMinuteWrappedIntoTheDay) {
    struct Case {
        double hours;
        const char* expected;
    } cases[] = {
        {5.1, "05:06"},
        {5.9917, "06:00"},
        {23.9917, "00:00"},
        {23.999, "00:00"},
        {0.0, "00:00"},
        {12.0 + 29.0 / 3600, "12:00"},
        {12.0 + 31.0 / 3600, "12:01"},
        {23.98, "23:59"},
        {-0.5, "23:30"},
        {24.0, "00:00"},
        {25.25, "01:15"},
        {-24.0 - 1e-12, "00:00"},
        {1e9 + 0.5, "16:30"},
        {std::numeric_limits<double>::quiet_NaN(), "--:--"},
        {std::numeric_limits<double>::infinity(), "--:--"},
        {-std::numeric_limits<double>::infinity(), "--:--"},
    };
    for (const Case& c : cases) EXPECT_EQ(timeString(c.hours), QString(c.expected)) << c.hours;
}

TEST(PrayerTimeStrings, EveryMinuteRoundTrips) {
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const QString text = timeString(minute / 60.0);
        ASSERT_EQ(minutesOfDay(text), minute) << text.toStdString();
    }
}

TEST(PrayerTimeStrings, ParsingSplitsAtColonsAndReadsTwoIntegers) {
    struct Case {
        const char* text;
        std::optional<qint64> minutes;
    } cases[] = {
        {"05:06", 306},
        {"5:6", 306},
        {"23:59", 1439},
        {"12:30:45", 750},
        {"::07::15", 435},
        {"+1:05", 65},
        {"-1:30", -30},
        {"--:--", {}},
        {"", {}},
        {"0515", {}},
        {"05:", {}},
        {":05", {}},
        {"05 :06", {}},
        {"05:06 ", {}},
        {"5:x", {}},
        {"٠٥:٠٦", {}},
        {"99999999999999999999:00", {}},
        {"153722867280912931:0", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(minutesOfDay(QString::fromUtf8(c.text)), c.minutes) << c.text;
}

namespace {

const JsonCoding::StringMap kCairo{{"fajr", "04:39"}, {"sunrise", "05:59"}, {"dhuhr", "12:04"},
                                   {"asr", "15:30"},  {"maghrib", "18:06"}, {"isha", "19:21"}};
const JsonCoding::StringMap kNames{{"fajr", "Fajr"},       {"dhuhr", "Dhuhr"}, {"asr", "Asr"},
                                   {"maghrib", "Maghrib"}, {"isha", "Isha"},   {"sunrise", "Sunrise"}};

// An instant given as the place's wall-clock time at UTC+2 on 20 March 2026.
QDateTime cairoTime(int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 3, 20), QTime(hour, minute, second), QTimeZone(2 * 3600));
}

std::string describe(const NextPrayer& p) {
    return (p.key + u' ' + p.name + u' ' + p.time).toStdString();
}

}  // namespace

TEST(ComputeNext, PicksTheFirstPrayerStillAhead) {
    struct Case {
        int hour, minute, second;
        const char* expected;
    } cases[] = {
        {0, 0, 0, "fajr Fajr 04:39"},        {4, 38, 59, "fajr Fajr 04:39"},
        {4, 39, 0, "dhuhr Dhuhr 12:04"},     {6, 0, 0, "dhuhr Dhuhr 12:04"},
        {12, 3, 59, "dhuhr Dhuhr 12:04"},    {12, 4, 0, "asr Asr 15:30"},
        {18, 5, 0, "maghrib Maghrib 18:06"}, {19, 20, 59, "isha Isha 19:21"},
        {19, 21, 0, "fajr Fajr 04:39"},      {23, 59, 59, "fajr Fajr 04:39"},
    };
    for (const Case& c : cases) {
        const NextPrayer next =
            LocalBundleBuilder::computeNext(kCairo, cairoTime(c.hour, c.minute, c.second), 2, kNames);
        EXPECT_EQ(describe(next), c.expected) << c.hour << ":" << c.minute;
    }
}

TEST(ComputeNext, UnusableTimesAreSkipped) {
    JsonCoding::StringMap prayers = kCairo;
    prayers["dhuhr"] = "--:--";
    EXPECT_EQ(describe(LocalBundleBuilder::computeNext(prayers, cairoTime(10, 0), 2, kNames)),
              "asr Asr 15:30");
    prayers["asr"] = "15h30";
    prayers["maghrib"] = "18";
    EXPECT_EQ(describe(LocalBundleBuilder::computeNext(prayers, cairoTime(10, 0), 2, kNames)),
              "isha Isha 19:21");
    prayers["fajr"] = "--:--";
    EXPECT_EQ(describe(LocalBundleBuilder::computeNext(prayers, cairoTime(20, 0), 2, kNames)),
              "fajr Fajr --:--");
    EXPECT_EQ(describe(LocalBundleBuilder::computeNext({}, cairoTime(20, 0), 2, kNames)), "fajr Fajr --:--");
    EXPECT_EQ(describe(LocalBundleBuilder::computeNext({}, cairoTime(20, 0), 2, {})), "fajr fajr --:--");
}

TEST(ComputeNext, OrderIsFixedNotSorted) {
    // Far north in summer: isha after midnight.
    const JsonCoding::StringMap north{
        {"fajr", "01:30"}, {"dhuhr", "13:10"}, {"asr", "17:40"}, {"maghrib", "22:40"}, {"isha", "00:30"}};
    const auto at = [&](int h, int m) {
        return describe(LocalBundleBuilder::computeNext(
            north, QDateTime(QDate(2026, 6, 21), QTime(h, m), QTimeZone(7200)), 2, {}));
    };
    EXPECT_EQ(at(23, 0), "fajr fajr 01:30");
    EXPECT_EQ(at(0, 10), "fajr fajr 01:30");
    EXPECT_EQ(at(22, 0), "maghrib maghrib 22:40");
}

TEST(ComputeNext, ComparesOnThePlacesClock) {
    const QDateTime instant = QDateTime(QDate(2026, 3, 20), QTime(10, 0), QTimeZone(0));
    struct Case {
        double tz;
        const char* key;
    } cases[] = {{2, "dhuhr"}, {3, "asr"}, {1, "dhuhr"}, {5.5, "maghrib"}, {-3.75, "dhuhr"}, {-8, "fajr"}};
    for (const Case& c : cases)
        EXPECT_EQ(LocalBundleBuilder::computeNext(kCairo, instant, c.tz, kNames).key, QString(c.key)) << c.tz;
}

TEST(ComputeNext, AnOffsetNoZoneAcceptsUsesTheDevicesZone) {
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "Asia/Tokyo");  // UTC+9, no daylight saving
    tzset();
    const QDateTime instant = QDateTime(QDate(2026, 3, 20), QTime(3, 0), QTimeZone(0));  // 12:00 in Tokyo
    QStringList keys;
    for (double bad : {std::nan(""), double(INFINITY), 15.0, -1e9})
        keys << LocalBundleBuilder::computeNext(kCairo, instant, bad, kNames).key;
    if (saved.isNull()) {
        qunsetenv("TZ");
    } else {
        qputenv("TZ", saved);
    }
    tzset();
    EXPECT_EQ(keys, QStringList({"dhuhr", "dhuhr", "dhuhr", "dhuhr"}));
}

#include <gtest/gtest.h>

#include "EngineTestPrinters.h"
#include "engine/LocalBundleBuilder.h"

#include <cmath>
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

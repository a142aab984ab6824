#include <gtest/gtest.h>

#include "model/DisplayFormat.h"

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {
const QLocale us(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);
}  // namespace

TEST(DisplayFormat, Distance) {
    struct Case {
        double km;
        bool metric;
        QLocale locale;
        QString text;
    } cases[] = {
        {12.0, true, us, u"12 km"_s},
        {12.5, true, us, u"12.5 km"_s},
        {3.46, true, us, u"3.5 km"_s},
        {10, false, us, u"6.2 mi"_s},
        {1234.0, true, us, u"1,234 km"_s},
        {0, true, us, u"0 km"_s},
        {0, false, us, u"0 mi"_s},
        {0.04, true, us, u"0 km"_s},
        {-0.04, true, us, u"0 km"_s},
        {-1.5, true, us, u"-1.5 km"_s},
        {0.25, true, us, u"0.2 km"_s},  // half-even, as number formatters round by default
        {0.35, true, us, u"0.4 km"_s},
        {12.5, true, german, u"12,5 km"_s},
        {1234.5, true, german, u"1.234,5 km"_s},
        {std::numeric_limits<double>::quiet_NaN(), true, us, u"— km"_s},
        {std::numeric_limits<double>::infinity(), false, us, u"— mi"_s},
    };
    for (const Case& c : cases) EXPECT_EQ(DisplayFormat::distance(c.km, c.metric, c.locale), c.text) << c.km;
}

TEST(DisplayFormat, DistanceNeverShowsTwoFractionDigits) {
    for (double km : {0.123, 1.049, 7.777, 99.95, 1e6 + 0.06}) {
        const QString text = DisplayFormat::distance(km, true, us);
        const qsizetype dot = text.indexOf(u'.');
        if (dot >= 0) {
            EXPECT_EQ(text.indexOf(u' ') - dot, 2) << text.toStdString();
        }
    }
}

TEST(DisplayFormat, Temperature) {
    struct Case {
        qint64 celsius;
        bool metric;
        QString text;
    } cases[] = {
        {21, true, u"21°C"_s},
        {-5, true, u"-5°C"_s},
        {21, false, u"70°F"_s},
        {0, false, u"32°F"_s},
        {-40, false, u"-40°F"_s},
        {27, false, u"81°F"_s},
        {-22, false, u"-8°F"_s},
        {-18, false, u"0°F"_s},
        {-17, false, u"1°F"_s},
        {std::numeric_limits<qint64>::max(), false, u"—°F"_s},
        {std::numeric_limits<qint64>::min(), false, u"—°F"_s},
        {std::numeric_limits<qint64>::min(), true, u"-9223372036854775808°C"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayFormat::temperature(c.celsius, c.metric), c.text) << c.celsius;
}

TEST(DisplayFormat, Wind) {
    struct Case {
        qint64 kmh;
        bool metric;
        QString text;
    } cases[] = {
        {15, true, u"15 km/h"_s}, {15, false, u"9 mph"_s},
        {10, false, u"6 mph"_s},  {0, false, u"0 mph"_s},
        {-1, false, u"-1 mph"_s}, {std::numeric_limits<qint64>::max(), true, u"9223372036854775807 km/h"_s},
    };
    for (const Case& c : cases) EXPECT_EQ(DisplayFormat::wind(c.kmh, c.metric), c.text) << c.kmh;
}

TEST(DisplayFormat, PrayerTime) {
    struct Case {
        QString time;
        bool use24Hour;
        QString text;
    } cases[] = {
        {u"05:07"_s, true, u"05:07"_s},
        {u"05:07"_s, false, u"5:07 AM"_s},
        {u"00:15"_s, false, u"12:15 AM"_s},
        {u"12:00"_s, false, u"12:00 PM"_s},
        {u"23:59"_s, false, u"11:59 PM"_s},
        {u"5:7"_s, true, u"05:07"_s},
        {u"--:--"_s, true, u"--:--"_s},
        {u"--:--"_s, false, u"--:--"_s},
        {u"12:30:00"_s, true, u"12:30:00"_s},
        {u"1230"_s, false, u"1230"_s},
        {u":30"_s, true, u":30"_s},
        {u""_s, false, u""_s},
        {u"7::05"_s, true, u"07:05"_s},
        {u"ab:cd"_s, false, u"ab:cd"_s},
        {u"25:99"_s, true, u"25:99"_s},
        {u" 5:07"_s, true, u" 5:07"_s},
        {u"+5:07"_s, true, u"05:07"_s},
        {u"99999999999999999999:00"_s, true, u"99999999999999999999:00"_s},
        {u"9999999999999:00"_s, false, u"9999999999999:00"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayFormat::prayerTime(c.time, c.use24Hour, us), c.text) << c.time.toStdString();
}

TEST(DisplayFormat, TwelveHourFormUsesTheLocalesDayPeriods) {
    const QString morning = DisplayFormat::prayerTime(u"05:07"_s, false, german);
    EXPECT_TRUE(morning.startsWith(u"5:07 "_s)) << morning.toStdString();
    EXPECT_NE(DisplayFormat::prayerTime(u"05:07"_s, false, german),
              DisplayFormat::prayerTime(u"17:07"_s, false, german));
    EXPECT_EQ(DisplayFormat::distance(1234.5, true, QLocale::c()), u"1234.5 km"_s);
    EXPECT_EQ(DisplayFormat::prayerTime(u"17:07"_s, false, QLocale::c()), u"5:07 PM"_s);
    // Switching locales back and forth must not keep the other locale's symbols.
    EXPECT_EQ(DisplayFormat::prayerTime(u"17:07"_s, false, us), u"5:07 PM"_s);
}

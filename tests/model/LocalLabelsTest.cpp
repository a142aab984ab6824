#include <gtest/gtest.h>

#include "model/LocalLabels.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

TEST(LocalLabels, HoldsEveryTextOnce) {
    const JsonCoding::StringMap& en = LocalLabels::en();
    EXPECT_EQ(en.size(), 150);
    const QRegularExpression snakeCase(u"^[a-z0-9_]+$"_s);
    for (auto it = en.begin(); it != en.end(); ++it) {
        EXPECT_TRUE(snakeCase.match(it.key()).hasMatch()) << it.key().toStdString();
        EXPECT_FALSE(it.value().isEmpty()) << it.key().toStdString();
    }
    EXPECT_EQ(&en, &LocalLabels::en());
}

TEST(LocalLabels, ExactTexts) {
    const JsonCoding::StringMap& en = LocalLabels::en();
    struct Case {
        QString key;
        QString text;
    } cases[] = {
        {u"fajr"_s, u"Fajr"_s},
        {u"next_prayer"_s, u"Next"_s},
        {u"read_quran"_s, u"Read Qur\u2019an"_s},
        {u"street_view"_s, u"Street View \u00b7 Qibla direction"_s},
        {u"map_north_up"_s, u"Map \u00b7 North up \u00b7 arrow from pin = Qibla"_s},
        {u"unknown"_s, u"\u2014"_s},
        {u"hmonth_9"_s, u"Ramadan"_s},
        {u"hmonth_short_9"_s, u"Ramadan"_s},
        {u"ramadan_start"_s, u"Ramadan"_s},
        {u"hmonth_11"_s, u"Dhu al-Qadah"_s},
        {u"hmonth_short_12"_s, u"Dhul-Hijjah"_s},
        {u"moon_hunter"_s, u"Hunter's Moon"_s},
        {u"jumah"_s, u"Jumu'ah (Friday)"_s},
        {u"rk_total"_s, u"total"_s},
        {u"weather_moon"_s, u"Weather & Moon"_s},
        {u"forecast_7day"_s, u"7-day forecast"_s},
        {u"rime_fog"_s, u"Freezing Fog"_s},
        {u"violent_rain_showers"_s, u"Heavy Rain Showers"_s},
        {u"thunderstorm_hail"_s, u"Thunderstorm with Hail"_s},
        {u"prayer_qibla"_s, u"Prayer/Qibla"_s},
        {u"clock_id"_s, u"Clock ID"_s},
        {u"adhan_regular_title"_s, u"Adhan"_s},
        {u"mawlid"_s, u"Mawlid al-Nabi"_s},
    };
    for (const Case& c : cases) EXPECT_EQ(en.value(c.key), c.text) << c.key.toStdString();
    EXPECT_TRUE(en.value(u"calendar_caption"_s).startsWith(u"A normal month calendar with the Hijri date"_s));
    EXPECT_TRUE(
        en.value(u"calendar_caption"_s).endsWith(u"when the crescent is visible at your location."_s));
}

TEST(LocalLabels, CoversEveryConditionMoonAndMonthKey) {
    const JsonCoding::StringMap& en = LocalLabels::en();
    const QStringList keys = {u"clear"_s,
                              u"mainly_clear"_s,
                              u"partly_cloudy"_s,
                              u"overcast"_s,
                              u"fog"_s,
                              u"rime_fog"_s,
                              u"light_drizzle"_s,
                              u"drizzle"_s,
                              u"dense_drizzle"_s,
                              u"light_rain"_s,
                              u"rain"_s,
                              u"heavy_rain"_s,
                              u"light_snow"_s,
                              u"snow"_s,
                              u"heavy_snow"_s,
                              u"rain_showers"_s,
                              u"violent_rain_showers"_s,
                              u"snow_showers"_s,
                              u"thunderstorm"_s,
                              u"thunderstorm_hail"_s,
                              u"unknown"_s,
                              u"new_moon"_s,
                              u"waxing_crescent"_s,
                              u"first_quarter"_s,
                              u"waxing_gibbous"_s,
                              u"full_moon"_s,
                              u"waning_gibbous"_s,
                              u"last_quarter"_s,
                              u"waning_crescent"_s,
                              u"moon_wolf"_s,
                              u"moon_snow"_s,
                              u"moon_worm"_s,
                              u"moon_pink"_s,
                              u"moon_flower"_s,
                              u"moon_strawberry"_s,
                              u"moon_buck"_s,
                              u"moon_sturgeon"_s,
                              u"moon_harvest"_s,
                              u"moon_hunter"_s,
                              u"moon_beaver"_s,
                              u"moon_cold"_s,
                              u"rk_sunnah"_s,
                              u"rk_fard"_s,
                              u"rk_nafl"_s,
                              u"rk_witr"_s,
                              u"rk_total"_s,
                              u"jumah"_s};
    for (const QString& key : keys) EXPECT_TRUE(en.contains(key)) << key.toStdString();
    for (int month = 1; month <= 12; ++month) {
        EXPECT_TRUE(en.contains(u"hmonth_"_s + QString::number(month)));
        EXPECT_TRUE(en.contains(u"hmonth_short_"_s + QString::number(month)));
    }
}

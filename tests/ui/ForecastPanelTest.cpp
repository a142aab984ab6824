#include "ui/panels/ForecastLayout.h"
#include "ui/panels/ForecastStripModel.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {
ClockBundle withDays(int n) {
    ClockBundle b;
    b.weather = Weather{};
    const QDate first(2026, 12, 7);
    for (int i = 0; i < n; ++i) {
        DailyWeather d;
        d.date = first.addDays(i).toString(Qt::ISODate);
        d.condition = u"clear"_s;
        d.tmax = 20;
        d.tmin = -3;
        b.weather->daily.append(d);
    }
    return b;
}
}  // namespace

TEST(ForecastPanel, TitleCountsShownDays) {
    EXPECT_EQ(ForecastLayout::title(ClockBundle{}, 0), u"0 day forecast"_s);
    EXPECT_EQ(ForecastLayout::title(ClockBundle{}, -4), u"0 day forecast"_s);
    const ClockBundle twenty = withDays(20);
    EXPECT_EQ(ForecastLayout::allDays(twenty).size(), 16);
    EXPECT_EQ(ForecastLayout::allDays(twenty).last().date, u"2026-12-22"_s);
    EXPECT_EQ(ForecastLayout::title(twenty, 16), u"16 day forecast"_s);
    EXPECT_EQ(ForecastLayout::allDays(ClockBundle{}).size(), 0);
}

TEST(ForecastPanel, GridRowsAndHeights) {
    struct Row {
        int days;
        double height;
        int rows;
        double rowHeight;
    };
    const Row rows[] = {{0, 100, 1, 100}, {1, 100, 1, 100}, {4, 100, 1, 100}, {5, 200, 2, 96},
                        {16, 100, 4, 19}, {16, 20, 4, 1},   {13, 400, 4, 94}};
    for (const Row& r : rows) {
        EXPECT_EQ(ForecastLayout::rows(r.days), r.rows) << r.days;
        EXPECT_DOUBLE_EQ(ForecastLayout::rowHeight(r.days, r.height), r.rowHeight) << r.days;
    }
    EXPECT_FALSE(ForecastLayout::isCompact(88));
    EXPECT_TRUE(ForecastLayout::isCompact(87.9));
    EXPECT_TRUE(ForecastLayout::isCompact(ForecastLayout::rowCardHeight));
}

TEST(ForecastPanel, ConditionSymbols) {
    const std::pair<const char16_t*, const char16_t*> rows[] = {
        {u"clear", u"sun.max.fill"},
        {u"mainly_clear", u"sun.max.fill"},
        {u"partly_cloudy", u"cloud.sun.fill"},
        {u"overcast", u"cloud.fill"},
        {u"rime_fog", u"cloud.fog.fill"},
        {u"freezing_drizzle", u"cloud.drizzle.fill"},
        {u"violent_rain_showers", u"cloud.rain.fill"},
        {u"freezing_rain", u"cloud.sleet.fill"},
        {u"snow_grains", u"cloud.snow.fill"},
        {u"thunderstorm_hail", u"cloud.bolt.rain.fill"},
        {u"unknown", u"cloud.fill"},
        {u"Clear", u"cloud.fill"},
        {u"", u"cloud.fill"},
    };
    for (const auto& [condition, symbol] : rows) {
        EXPECT_EQ(ForecastLayout::icon(QString::fromUtf16(condition)), QString::fromUtf16(symbol));
        EXPECT_EQ(ForecastLayout::currentIcon(QString::fromUtf16(condition), true),
                  QString::fromUtf16(symbol));
    }
    EXPECT_EQ(ForecastLayout::currentIcon(u"clear"_s, false), u"moon.stars.fill"_s);
    EXPECT_EQ(ForecastLayout::currentIcon(u"mainly_clear"_s, false), u"moon.stars.fill"_s);
    EXPECT_EQ(ForecastLayout::currentIcon(u"partly_cloudy"_s, false), u"cloud.moon.fill"_s);
    EXPECT_EQ(ForecastLayout::currentIcon(u"rain"_s, false), u"cloud.rain.fill"_s);
    EXPECT_EQ(ForecastLayout::currentIcon(u"Clear"_s, false), u"cloud.fill"_s);
}

TEST(ForecastPanel, CardTexts) {
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ForecastLayout::weekday(u"2026-12-07"_s, en), u"Mon"_s);
    EXPECT_EQ(ForecastLayout::weekday(u"tomorrow"_s, en), u"tomorrow"_s);
    EXPECT_EQ(ForecastLayout::precipitation(std::nullopt), QString());
    EXPECT_EQ(ForecastLayout::precipitation(0), QString());
    EXPECT_EQ(ForecastLayout::precipitation(40), u"40%"_s);
    DailyWeather d;
    d.tmax = 20;
    d.tmin = 5;
    EXPECT_EQ(ForecastLayout::temperatures(d, true), u"20°C/5°C"_s);
    EXPECT_EQ(ForecastLayout::temperatures(d, false), u"68°F/41°F"_s);
    EXPECT_EQ(ForecastLayout::windCompact(0, true), u"0 km/h"_s);
    EXPECT_EQ(ForecastLayout::windCompact(15, false), u"9 mph"_s);
}

TEST(ForecastPanel, ModelDays) {
    ClockBundle b = withDays(3);
    b.lang = u"en"_s;
    b.weather->daily[1].humidity = 0;
    b.weather->daily[1].precipPct = 70;
    b.weather->daily[2].humidity = 55;
    ForecastStripModel model;
    model.setBundle(b);
    ASSERT_EQ(model.days().size(), 3);
    const QVariantMap second = model.days()[1].toMap();
    EXPECT_EQ(second[u"humidity"_s].toInt(), 0);
    EXPECT_EQ(second[u"precipitation"_s].toString(), u"70%"_s);
    EXPECT_EQ(model.days()[2].toMap()[u"humidity"_s].toInt(), 55);
    EXPECT_EQ(model.days()[0].toMap()[u"weekday"_s].toString(), u"Mon"_s);
    EXPECT_EQ(model.title(), u"3 day forecast"_s);
}

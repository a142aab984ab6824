#include "ui/panels/WeatherPanelModel.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(WeatherMoonPanel, TitleFollowsTheMoonSection) {
    WeatherPanelModel model;
    model.setBundle(ClockBundle{});
    EXPECT_EQ(model.title(), u"Weather"_s);
    model.setShowMoon(true);
    EXPECT_EQ(model.title(), u"Weather & Moon"_s);
    EXPECT_FALSE(model.hasWeather());
    EXPECT_EQ(model.icon(), QString());
}

TEST(WeatherMoonPanel, CurrentWeatherTexts) {
    ClockBundle b;
    b.weather = Weather{};
    b.weather->current.temp = 20;
    b.weather->current.wind = 15;
    b.weather->current.condition = u"clear"_s;
    b.weather->current.isDay = false;
    WeatherPanelModel model;
    model.setBundle(b);
    EXPECT_EQ(model.icon(), u"moon.stars.fill"_s);
    EXPECT_EQ(model.temperature(), u"20°C"_s);
    EXPECT_EQ(model.windText(), u"15 km/h"_s);
    EXPECT_EQ(model.conditionText(), u"clear"_s);
    EXPECT_FALSE(model.hasHumidity());

    b.weather->current.conditionLocalized = u"Klar"_s;
    b.weather->current.condition = u"Clear"_s;
    b.weather->current.humidity = 40;
    model.setBundle(b);
    model.setMetric(false);
    EXPECT_EQ(model.conditionText(), u"Klar"_s);
    EXPECT_EQ(model.icon(), u"cloud.fill"_s);
    EXPECT_EQ(model.temperature(), u"68°F"_s);
    EXPECT_EQ(model.windText(), u"9 mph"_s);
    EXPECT_EQ(model.humidity(), 40);
}

#include "ui/face/ClockFaceLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace ClockFaceLayout;

SidePanelTheme theme(std::optional<bool> sun, std::optional<bool> moon) {
    SidePanelTheme t;
    t.present = true;
    t.sunInClock = sun;
    t.moonInClock = moon;
    return t;
}

TEST(ClockFaceLayout, TheWideCanvasStartsAboveSevenHundredSixtyPoints) {
    EXPECT_TRUE(isWide(761));
    EXPECT_FALSE(isWide(760));
    EXPECT_FALSE(isWide(402));
}

TEST(ClockFaceLayout, CanvasHeightAndScale) {
    struct Row {
        double contentH, w, h, canvasH, scale;
    };
    const Row rows[] = {
        {700, 1280, 880, 880, 1.0},
        {700, 1920, 880, 880, 1.0},  // the height bounds it; equal bands left and right
        {1000, 1280, 860, 1020, 860.0 / 1020},
        {860, 900, 2000, 880, 900.0 / 1280},
        {905, 1920, 1200, 925, 1200.0 / 925},
    };
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(canvasHeight(r.contentH), r.canvasH) << r.contentH;
        EXPECT_DOUBLE_EQ(canvasScale(r.w, r.h, r.contentH), r.scale) << r.w << "x" << r.h;
    }
    EXPECT_EQ(canvasScale(0, 0, 860), 0);
    EXPECT_EQ(canvasScale(-5, 900, 860), 0);
    EXPECT_DOUBLE_EQ(canvasHeight(std::numeric_limits<double>::quiet_NaN()), 880);
}

TEST(ClockFaceLayout, ContentHeightMeasurementHasRangeAndHysteresis) {
    EXPECT_EQ(acceptedContentHeight(905, 860), 905.0);
    EXPECT_FALSE(acceptedContentHeight(905.4, 905));
    EXPECT_FALSE(acceptedContentHeight(860.3, 860));  // first measurement within half a point of 860
    EXPECT_FALSE(acceptedContentHeight(1, 860));
    EXPECT_FALSE(acceptedContentHeight(2000, 860));
    EXPECT_EQ(acceptedContentHeight(1999, 860), 1999.0);
    EXPECT_FALSE(acceptedContentHeight(std::numeric_limits<double>::quiet_NaN(), 860));
    EXPECT_DOUBLE_EQ(faceAspect(905), 1280.0 / 905);
    EXPECT_DOUBLE_EQ(faceAspect(860), 64.0 / 43);
    EXPECT_DOUBLE_EQ(faceAspect(0), 1280);
}

TEST(ClockFaceLayout, RowHeightIsClampedAndSmallMeasurementsIgnored) {
    struct Row {
        double measured, current;
        std::optional<double> taken;
    };
    const Row rows[] = {
        {150, 520, std::nullopt}, {200, 520, std::nullopt},   {450, 520, 480.0},          {600, 520, 600.0},
        {700, 520, 640.0},        {640.3, 640, std::nullopt}, {520.4, 520, std::nullopt},
    };
    for (const Row& r : rows) EXPECT_EQ(acceptedRowHeight(r.measured, r.current), r.taken) << r.measured;
}

TEST(ClockFaceLayout, WeatherColumnFitHeight) {
    EXPECT_DOUBLE_EQ(weatherFitHeight(520, SidePanelTheme{}), 330);
    EXPECT_DOUBLE_EQ(weatherFitHeight(520, theme(std::nullopt, false)), 170);
    EXPECT_DOUBLE_EQ(weatherFitHeight(480, theme(std::nullopt, false)), 130);
    EXPECT_DOUBLE_EQ(weatherFitHeight(300, theme(std::nullopt, false)), 120);
    EXPECT_DOUBLE_EQ(weatherFitHeight(520, theme(std::nullopt, std::nullopt)), 330);
}

TEST(ClockFaceLayout, PhoneDialSizes) {
    struct Row {
        double width;
        SidePanelTheme theme;
        double dial, flank;
    };
    const Row rows[] = {
        {402, SidePanelTheme{}, 240, 58},    // 378 - 132 = 246, capped at 240
        {300, SidePanelTheme{}, 168, 58},    // 144 is below the minimum
        {304, theme(false, false), 280, 0},  // no panels: up to 280
        {250, theme(false, false), 226, 0}, {100, theme(false, false), 200, 0},
        {0, SidePanelTheme{}, 168, 58},     {402, theme(false, std::nullopt), 240, 58},
    };
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(phoneDialSize(r.width, r.theme), r.dial) << r.width;
        EXPECT_DOUBLE_EQ(phoneFlankWidth(r.theme), r.flank) << r.width;
    }
}

TEST(ClockFaceLayout, SidePanelsBesideTheDial) {
    EXPECT_DOUBLE_EQ(sidePanelSize(116, std::nullopt), 116);
    EXPECT_DOUBLE_EQ(sidePanelSize(116, 90), 90);
    EXPECT_DOUBLE_EQ(sidePanelSize(116, 200), 116);
    EXPECT_DOUBLE_EQ(sidePanelSize(58, 40), 40);
    EXPECT_DOUBLE_EQ(sidePanelSize(58, std::nullopt), 58);
    EXPECT_DOUBLE_EQ(sidePanelSize(58, -10), 0);

    const SidePanelTheme onlyMoon = theme(false, true);
    EXPECT_FALSE(showsSunPanel(116, onlyMoon));
    EXPECT_TRUE(showsMoonPanel(116, onlyMoon));
    EXPECT_TRUE(showsSunPanel(116, SidePanelTheme{}));
    EXPECT_FALSE(showsSunPanel(0, SidePanelTheme{}));

    EXPECT_TRUE(phoneShowsSkyDetail(SidePanelTheme{}));
    EXPECT_TRUE(phoneShowsSkyDetail(theme(false, std::nullopt)));
    EXPECT_FALSE(phoneShowsSkyDetail(theme(false, false)));
    EXPECT_TRUE(theme(std::nullopt, false).moonInWeatherPanel());
    EXPECT_FALSE(SidePanelTheme{}.moonInWeatherPanel());
}

}  // namespace

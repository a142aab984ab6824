#include "ui/face/ClockFaceController.h"

#include <gtest/gtest.h>

#include "FakeClock.h"
#include "PrivateHome.h"
#include "SampleBundle.h"

namespace {

TEST(ClockFaceController, MeasurementsMoveTheAspectOnlyPastTheirThresholds) {
    PrivateHome home;
    ClockFaceController face;
    QList<double> aspects;
    QObject::connect(&face, &ClockFaceController::faceAspectChanged, [&](double a) { aspects.append(a); });
    EXPECT_DOUBLE_EQ(face.faceAspect(), 64.0 / 43);
    face.reportContentHeight(860.4);
    EXPECT_TRUE(aspects.isEmpty());
    face.reportContentHeight(905);
    face.reportContentHeight(905.4);
    face.reportContentHeight(2500);
    ASSERT_EQ(aspects.size(), 1);
    EXPECT_DOUBLE_EQ(aspects[0], 1280.0 / 905);
    EXPECT_DOUBLE_EQ(face.canvasHeight(), 925);

    face.reportCenterColumnHeight(150);
    EXPECT_DOUBLE_EQ(face.mainRowH(), 520);
    face.reportCenterColumnHeight(700);
    EXPECT_DOUBLE_EQ(face.mainRowH(), 640);
}

TEST(ClockFaceController, DatesFollowThePlacesMidnightAndTheTimeEverySecond) {
    PrivateHome home;
    FakeClock clock("2026-03-09T20:59:59Z");
    ClockFaceController face;
    face.setBundle(sampleBundle());
    face.setUse24HourClock(true);
    EXPECT_EQ(face.digitalTime(), QStringLiteral("23:59:59"));
    EXPECT_EQ(face.gregorianText(), QStringLiteral("Monday, Mar 9, 2026"));
    int dates = 0;
    QObject::connect(&face, &ClockFaceController::dateChanged, [&] { ++dates; });
    face.setNow(face.now() + 1000);
    EXPECT_EQ(face.digitalTime(), QStringLiteral("00:00:00"));
    EXPECT_EQ(face.gregorianText(), QStringLiteral("Tuesday, Mar 10, 2026"));
    EXPECT_EQ(dates, 1);
    face.setNow(face.now() + 1000);
    EXPECT_EQ(dates, 1);  // same day: the dates are not rebuilt
    EXPECT_EQ(face.planetariumUrl().query(),
              QStringLiteral("obj=moon&date=2026-03-10&h=00&m=00&lat=21.4225&lon=39.8262&fov=80"));
}

TEST(ClockFaceController, HijriLineComesFromTheHijriSource) {
    PrivateHome home;
    FakeClock clock("2026-08-14T09:00:00Z");
    ClockFaceController face;
    face.setBundle(sampleBundle());
    face.setHijriSource([](std::int64_t, const LocalHijri::Location&) {
        return std::array<int, 3>{1448, 2, 30};
    });
    EXPECT_EQ(face.hijriText(), QStringLiteral("30 Safar 1448 AH"));
}

TEST(ClockFaceController, TheHijriDateIsThatOfThePlacesDayEastOfUTC) {
    PrivateHome home;
    FakeClock clock("2026-12-07T19:30:00Z");  // Jakarta, 02:30 on Tuesday
    ClockFaceController face;
    ClockBundle jakarta = sampleBundle();
    jakarta.location.tzOffsetHours = 7;
    face.setBundle(jakarta);
    EXPECT_EQ(face.gregorianText(), QStringLiteral("Tuesday, Dec 8, 2026"));
    EXPECT_EQ(face.hijriText(), QStringLiteral("28 Jumada al-Thani 1448 AH"));
}

TEST(ClockFaceController, ThemeSwitchesTheSidePanels) {
    PrivateHome home;
    ClockFaceController face;
    ClockBundle bundle = sampleBundle();
    face.setBundle(bundle);
    EXPECT_TRUE(face.sunInClock());
    EXPECT_TRUE(face.moonInClock());
    EXPECT_FALSE(face.weatherShowsMoon());
    EXPECT_DOUBLE_EQ(face.sunPanelSize(116), 116);
    EXPECT_DOUBLE_EQ(face.weatherFitHeight(), 330);

    ThemeConfig theme;
    theme.moonInClock = false;
    theme.sunSize = 90;
    bundle.theme = theme;
    face.setBundle(bundle);
    EXPECT_FALSE(face.moonInClock());
    EXPECT_TRUE(face.weatherShowsMoon());
    EXPECT_DOUBLE_EQ(face.sunPanelSize(116), 90);
    EXPECT_DOUBLE_EQ(face.weatherFitHeight(), 170);
    EXPECT_FALSE(face.sunImageUrl().isEmpty());

    face.setWindowWidth(402);
    EXPECT_DOUBLE_EQ(face.phoneDialSize(), 240);
}

TEST(ClockFaceController, LoadsOnlyWholeBundles) {
    PrivateHome home;
    ClockFaceController face;
    face.setBundle(sampleBundle());
    EXPECT_FALSE(face.loadBundleJson("{not json"));
    EXPECT_FALSE(face.loadBundleJson("[]"));
    EXPECT_FALSE(face.loadBundleJson(R"({"lang": "en"})"));
    EXPECT_EQ(face.cityTitle(), QStringLiteral("MAKKAH"));
}

}  // namespace

#include "ui/common/Theme.h"
#include "ui/face/AnalogClockView.h"
#include "ui/face/PlaceTime.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTest>
#include <QTimer>
#include <limits>

#include "FakeClock.h"
#include "QuickHarness.h"

namespace {

std::int64_t utcMs(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

TEST(PlaceTime, OffsetsAreTruncatedWholeSecondsWithinEighteenHours) {
    EXPECT_EQ(PlaceTime::fixedOffsetSeconds(5.5), 19800);
    EXPECT_EQ(PlaceTime::fixedOffsetSeconds(-3.5), -12600);
    EXPECT_EQ(PlaceTime::fixedOffsetSeconds(-3.75), -13500);
    EXPECT_EQ(PlaceTime::fixedOffsetSeconds(1.0 / 7200.0 * 3), 1);  // 1.5 s truncated
    EXPECT_EQ(PlaceTime::fixedOffsetSeconds(18), 64800);
    EXPECT_FALSE(PlaceTime::fixedOffsetSeconds(18.01));
    EXPECT_FALSE(PlaceTime::fixedOffsetSeconds(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(PlaceTime::fixedOffsetSeconds(std::numeric_limits<double>::infinity()));
}

TEST(PlaceTime, FieldsOfAnInstantAtThePlace) {
    const PlaceTime::Fields f = PlaceTime::fields(utcMs("2026-03-09T07:35:09.250Z"), 5.5);
    EXPECT_EQ(f.year, 2026);
    EXPECT_EQ(f.month, 3);
    EXPECT_EQ(f.day, 9);
    EXPECT_EQ(f.hour, 13);
    EXPECT_EQ(f.minute, 5);
    EXPECT_EQ(f.second, 9);
    EXPECT_EQ(f.millisecond, 250);
    const PlaceTime::Fields leap = PlaceTime::fields(utcMs("2024-03-01T02:00:00Z"), -3.75);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
    EXPECT_EQ(leap.hour, 22);
    EXPECT_EQ(leap.minute, 15);
    const PlaceTime::Fields old = PlaceTime::fields(utcMs("1969-12-31T23:59:59Z"), 0);
    EXPECT_EQ(old.year, 1969);
    EXPECT_EQ(old.day, 31);
    EXPECT_EQ(old.second, 59);
}

TEST(AnalogClockView, HandsAtHalfPastThreeAndAtTwelve) {
    struct Row {
        const char* utc;
        double tz, h, m, s;
    };
    const Row rows[] = {
        {"2026-03-09T15:30:00Z", 0, 3.5, 30, 0},
        {"2026-03-09T10:00:00Z", 5.5, 3.5, 30, 0},  // 15:30 at UTC+5:30
        {"2026-03-09T00:00:00Z", 0, 0, 0, 0},
        {"2026-03-09T12:00:00Z", 0, 0, 0, 0},
        {"2026-03-09T12:00:30.500Z", 0, 30.5 / 3600, 30.5 / 60, 30.5},
    };
    for (const Row& r : rows) {
        const auto c = AnalogClockView::handComps(utcMs(r.utc), r.tz);
        EXPECT_NEAR(c.h, r.h, 1e-9) << r.utc;
        EXPECT_NEAR(c.m, r.m, 1e-9) << r.utc;
        EXPECT_NEAR(c.s, r.s, 1e-9) << r.utc;
    }
}

TEST(AnalogClockView, DayWindowFollowsThePlaceAcrossMidnight) {
    // 21:30 UTC on the 9th is already the 10th at UTC+3 and still the 9th at UTC-3.75.
    EXPECT_EQ(AnalogClockView::dayOfMonth(utcMs("2026-03-09T21:30:00Z"), 3), 10);
    EXPECT_EQ(AnalogClockView::dayOfMonth(utcMs("2026-03-09T21:30:00Z"), -3.75), 9);
    EXPECT_EQ(AnalogClockView::dayOfMonth(utcMs("2026-03-09T20:59:59Z"), 3), 9);
    EXPECT_EQ(AnalogClockView::dayOfMonth(utcMs("2026-03-01T02:00:00Z"), -3.75), 28);
}

TEST(AnalogClockView, DrawsTheDialWithTheDayOfThePlace) {
    FakeClock clock("2026-03-09T21:30:12Z");
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        import Orvane.Face
        Rectangle {
            color: Theme.panel
            AnalogClockView { objectName: "dial"; x: 10; y: 10; width: 300; height: 260; tzOffsetHours: 3 }
            AnalogClockView {
                objectName: "sharp"; x: 320; y: 10; width: 132; height: 132; scale: 2; transformOrigin: Item.TopLeft
                tzOffsetHours: -3.75; running: false
            }
        })",
                                    QSize(600, 280));
    ASSERT_NE(root, nullptr);
    auto* dial = qobject_cast<AnalogClockView*>(findItem(root, QStringLiteral("dial")));
    auto* sharp = qobject_cast<AnalogClockView*>(findItem(root, QStringLiteral("sharp")));
    ASSERT_TRUE(dial && sharp);
    const QImage image = harness.grab(QStringLiteral("analog-dial"));
    EXPECT_EQ(dial->dayText(), QStringLiteral("10"));
    EXPECT_EQ(sharp->dayText(), QStringLiteral("9"));
    // The dial is the 260-point square centred in its 300-point-wide box: nothing left of x = 30.
    const QColor panel = Theme::panel();
    EXPECT_EQ(image.pixelColor(25, 140).rgb(), panel.rgb());
    EXPECT_NE(image.pixelColor(45, 140).rgb(), panel.rgb());
    // The second hand is green.
    EXPECT_GT(countPixelsNear(image, Theme::green(), 30), 20);
}

TEST(AnalogClockView, DrawsAFrameEachTimeTheSecondHandTipMovesAPixel) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Face
        AnalogClockView { width: 260; height: 260 }
    )",
                                    QSize(260, 260));
    ASSERT_NE(root, nullptr);
    auto* timer = root->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    // The tip stands 0.78 x 130 = 101.4 pixels from the centre at any angle of the hand: a pixel is 0.565
    // degrees, 94 ms of the sweep.
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer->interval() != 100; }, 5000));
    EXPECT_EQ(timer->interval(), 94);
}

TEST(AnalogClockView, StopsItsFramesWhenTheWindowCloses) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Face
        AnalogClockView { objectName: "dial"; width: 200; height: 200 }
    )",
                                    QSize(200, 200));
    ASSERT_NE(root, nullptr);
    auto* timer = root->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    harness.window().hide();
    EXPECT_FALSE(timer->isActive());
    harness.window().show();
    EXPECT_TRUE(timer->isActive());
}

}  // namespace

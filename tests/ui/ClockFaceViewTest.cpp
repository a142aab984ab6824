#include "ui/common/Theme.h"
#include "ui/face/ClockFaceController.h"

#include <gtest/gtest.h>

#include <QQmlProperty>

#include "FakeClock.h"
#include "PrivateHome.h"
#include "QuickHarness.h"
#include "SampleBundle.h"

namespace {

const QByteArray kFace = R"(
    import QtQuick
    import Orvane.Face
    ClockFaceView {}
)";

const QByteArray kFaceWithOverlay = R"(
    import QtQuick
    import Orvane.Face
    Item {
        ClockFaceView { anchors.fill: parent }
        AdhanRingView {
            anchors.fill: parent
            z: 10
            activeTitle: "Adhan"
            activePrayerName: "Asr"
            activeText: "Allahu Akbar, Allahu Akbar\nAshhadu an la ilaha illa Allah\nHayya 'ala as-salah\nAllahu Akbar\nLa ilaha illa Allah"
            rakatTitle: "Asr"
            rakatLines: ["4 Sunnah", "4 Fard"]
            rakatTotal: "8 rakats"
            adhanNowLabel: "Adhan now"; adhanForLabel: "Time for"; rakatsLabel: "Rakats"; stopLabel: "Stop"
        }
    }
)";

ClockFaceController* controllerIn(QQuickItem* root) {
    return root ? root->findChild<ClockFaceController*>(QStringLiteral("faceController")) : nullptr;
}

QString textOf(QQuickItem* root, const char* name) {
    QQuickItem* item = findItem(root, QString::fromLatin1(name));
    return item ? QQmlProperty::read(item, QStringLiteral("text")).toString() : QString();
}

struct WindowCase {
    QSize size;
    const char* grab;
    bool wide;
};

class ClockFaceViewSizes : public ::testing::TestWithParam<WindowCase> {};

TEST_P(ClockFaceViewSizes, ShowsTheWholeFaceFromTheSampleBundle) {
    PrivateHome home;
    const WindowCase c = GetParam();
    FakeClock clock("2026-03-09T10:05:09Z");  // 13:05:09 in Makkah
    QuickHarness harness;
    QQuickItem* root = harness.load(kFace, c.size);
    ClockFaceController* face = controllerIn(root);
    ASSERT_NE(face, nullptr);
    face->setBundle(sampleBundle());
    face->setClockId(QStringLiteral("clk-0a1b2c3d"));
    harness.settle(150);
    harness.grab(QString::fromLatin1(c.grab));

    EXPECT_EQ(face->wide(), c.wide);
    EXPECT_EQ(textOf(root, "cityTitle"), QStringLiteral("MAKKAH"));
    EXPECT_TRUE(textOf(root, "digitalTime").startsWith(QStringLiteral("1:05:09")));
    EXPECT_EQ(textOf(root, "gregorianText"), QStringLiteral("Monday, Mar 9, 2026"));
    EXPECT_EQ(textOf(root, "hijriText"), QStringLiteral("20 Ramadan 1447 AH"));
    EXPECT_EQ(textOf(root, "nextPrayerLine"), QStringLiteral("Next: Asr 3:52 PM"));
    EXPECT_EQ(textOf(root, "clockIdLine"), QStringLiteral("Clock ID: clk-0a1b2c3d"));

    QQuickItem* dial = findItem(root, QStringLiteral("dial"));
    ASSERT_NE(dial, nullptr);
    if (c.wide) {
        EXPECT_DOUBLE_EQ(dial->width(), 264.96);
        // The canvas reported its natural height; the aspect follows it.
        EXPECT_NE(face->contentH(), 860);
        EXPECT_DOUBLE_EQ(face->faceAspect(), 1280.0 / face->contentH());
        EXPECT_GE(face->mainRowH(), 480);
        EXPECT_LE(face->mainRowH(), 640);
        const QRectF dialInWindow = dial->mapRectToScene(QRectF(0, 0, dial->width(), dial->height()));
        EXPECT_NEAR(dialInWindow.width(), 264.96 * face->canvasScale(), 0.01);
        // The scaled canvas stands centred in the window.
        QQuickItem* canvas = findItem(root, QStringLiteral("canvas"));
        ASSERT_NE(canvas, nullptr);
        const QRectF canvasInWindow = canvas->mapRectToScene(QRectF(0, 0, canvas->width(), canvas->height()));
        EXPECT_NEAR(canvasInWindow.left(), c.size.width() - canvasInWindow.right(), 0.5);
        EXPECT_NEAR(canvasInWindow.top(), 0, 0.5);
        // The status pills stand centred under the column, whose centre is the canvas's.
        QQuickItem* pills = findItem(root, QStringLiteral("statusRow"));
        ASSERT_NE(pills, nullptr);
        EXPECT_GT(pills->width(), 200);
        const QRectF pillsInCanvas =
            pills->mapRectToItem(canvas, QRectF(0, 0, pills->width(), pills->height()));
        EXPECT_NEAR(pillsInCanvas.center().x(), 1280 / 2.0, 0.5);
    } else {
        EXPECT_DOUBLE_EQ(dial->width(), face->phoneDialSize());
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ClockFaceViewSizes,
                         ::testing::Values(WindowCase{{1280, 880}, "face-wide-1280", true},
                                           WindowCase{{900, 640}, "face-wide-900", true},
                                           WindowCase{{1920, 1080}, "face-wide-1920", true},
                                           WindowCase{{761, 600}, "face-wide-761", true},
                                           WindowCase{{760, 900}, "face-phone-760", false},
                                           WindowCase{{402, 874}, "face-phone-402", false}));

TEST(ClockFaceView, PhoneDialIs240PointsAt402WithoutATheme) {
    PrivateHome home;
    FakeClock clock("2026-03-09T10:05:09Z");
    QuickHarness harness;
    QQuickItem* root = harness.load(kFace, QSize(402, 874));
    ClockFaceController* face = controllerIn(root);
    ASSERT_NE(face, nullptr);
    face->setBundle(sampleBundle());
    harness.settle(50);
    EXPECT_DOUBLE_EQ(findItem(root, QStringLiteral("dial"))->width(), 240);
}

TEST(ClockFaceView, CapsulesOpenTheSheetsAndPlayTheNextCall) {
    PrivateHome home;
    FakeClock clock("2026-03-09T10:05:09Z");
    QuickHarness harness;
    QQuickItem* root = harness.load(kFace, QSize(1280, 880));
    ClockFaceController* face = controllerIn(root);
    ASSERT_NE(face, nullptr);
    ClockBundle bundle = sampleBundle();
    bundle.nextPrayer.key = QStringLiteral("sunrise");
    face->setBundle(bundle);
    harness.settle(50);
    QString played;
    QObject::connect(face, &ClockFaceController::playAdhanRequested,
                     [&](const QString& key) { played = key; });
    for (const char* name : {"capsule_play", "capsule_calendar", "capsule_quran"}) {
        QQuickItem* capsule = findItem(root, QString::fromLatin1(name));
        ASSERT_NE(capsule, nullptr) << name;
        QMetaObject::invokeMethod(capsule, "activated");
    }
    EXPECT_EQ(played, QStringLiteral("dhuhr"));
    EXPECT_TRUE(face->property("showCalendar").toBool());
    EXPECT_TRUE(face->property("showQuran").toBool());
    EXPECT_FALSE(face->property("showPlanetarium").toBool());
    EXPECT_TRUE(findItem(root, QStringLiteral("quranOverlay"))->isVisible());

    bundle.adhan.reset();
    EXPECT_FALSE(ClockFaceController::playAdhanKey(bundle));
}

TEST(ClockFaceView, CallOverlayCoversTheFace) {
    PrivateHome home;
    FakeClock clock("2026-03-09T12:52:00Z");
    for (QSize size : {QSize(1280, 880), QSize(402, 874)}) {
        QuickHarness harness;
        QQuickItem* root = harness.load(kFaceWithOverlay, size);
        ClockFaceController* face = controllerIn(root);
        ASSERT_NE(face, nullptr);
        face->setBundle(sampleBundle());
        harness.settle(100);
        const QImage image = harness.grab(QStringLiteral("face-with-call-overlay-%1").arg(size.width()));
        // The dial's green second hand is hidden under the overlay.
        EXPECT_LT(countPixelsNear(image, Theme::green(), 20), 400);
    }
}

}  // namespace

#include "ui/common/Theme.h"
#include "ui/panels/AlertsPanelModel.h"
#include "ui/panels/NasaSunImageCache.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QPainter>
#include <QRadialGradient>

#include "FakeClock.h"
#include "FixtureServer.h"
#include "QuickHarness.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"

using namespace Qt::Literals::StringLiterals;

namespace {

ClockBundle panelSample() {
    QFile file(QStringLiteral(ORVANE_FIXTURES_DIR "/panels/sample-bundle.json"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ClockBundle::fromJson(QJsonDocument::fromJson(file.readAll()).object()).value_or(ClockBundle{});
}

// A drawn stand-in for the observatory's picture: a glowing disc on black.
QByteArray sunJpeg() {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(128, 128), 110);
    g.setColorAt(0, QColor(255, 236, 160));
    g.setColorAt(0.7, QColor(240, 150, 40));
    g.setColorAt(1, QColor(140, 40, 10));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(128, 128), 110, 110);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// Every panel is loaded with the sample bundle and no network beyond the loopback server.
class PanelGrabs : public ::testing::Test {
  protected:
    void SetUp() override {
        DefaultsStore::resetStandard();
        saved_ = Endpoints::current();
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        server.route(u"/assets/img/latest/latest_256_0193.jpg"_s,
                     FixtureServer::Reply{200, sunJpeg(), {{"Content-Type", "image/jpeg"}}, {}});
    }
    void TearDown() override {
        Endpoints::setCurrent(saved_);
        DefaultsStore::resetStandard();
    }

    QQuickItem* load(const QByteArray& body, QSize size) {
        const QByteArray qml =
            "import QtQuick\nimport Orvane.Common\nimport Orvane.Face\nimport Orvane.Panels\n"
            "Rectangle { color: Theme.bg\n property var sample\n" +
            body + "\n}";
        QQuickItem* root = harness.load(qml, size);
        if (root) root->setProperty("sample", QVariant::fromValue(panelSample()));
        harness.settle(150);
        return root;
    }

    TempHome home;
    FixtureServer server;
    Endpoints saved_;
    QuickHarness harness;
};

}  // namespace

TEST_F(PanelGrabs, AlertsPanel) {
    QQuickItem* root = load(R"(
        Column { x: 14; y: 14; width: 560; spacing: 12
            AlertsPanel { objectName: "alerts"; width: parent.width; bundle: sample; followSharedPlayer: false }
            AlertsPanel { objectName: "ringing"; width: parent.width; bundle: sample; followSharedPlayer: false
                Component.onCompleted: { alerts.emergencyRinging = true; alerts.emergencyTitle = "Tornado Warning";
                    alerts.emergencyBody = "Take shelter now in a basement or an interior room."; alerts.ringing = true;
                    alerts.activeTitle = "Asr"; alerts.activeText = "Allahu Akbar, Allahu Akbar" }
            }
            AlertsPanel { objectName: "calm"; width: parent.width; followSharedPlayer: false }
        })",
                            QSize(588, 330));
    ASSERT_NE(root, nullptr);
    const QImage image = harness.grab(u"panels-alerts"_s);
    EXPECT_TRUE(findItem(root, u"alertsBar"_s)->isVisible());
    EXPECT_FALSE(findItem(findItem(root, u"alerts"_s), u"emergencyRow"_s)->isVisible());
    EXPECT_TRUE(findItem(findItem(root, u"ringing"_s), u"emergencyRow"_s)->isVisible());
    EXPECT_TRUE(findItem(findItem(root, u"calm"_s), u"calmLine"_s)->isVisible());
    // The sample has a severe alert: the ticker and badge are red.
    EXPECT_GT(countPixelsNear(image, AlertsPanelModel::red(), 40), 20);
    EXPECT_GT(countPixelsNear(image, Theme::green(), 30), 5);
}

TEST_F(PanelGrabs, SideAndSkyPanels) {
    FakeClock clock("2026-03-09T10:00:00Z");
    QQuickItem* root = load(R"(
        Row { x: 14; y: 14; spacing: 16
            Item { width: 170; height: 330
                SunSidePanel { objectName: "sun"; width: parent.width; bundle: sample; size: 120 } }
            Item { width: 170; height: 330
                MoonSidePanel { width: parent.width; bundle: sample; size: 120 } }
            Column { spacing: 12; width: 360
                PhoneSkyDetailPanel { width: parent.width; bundle: sample }
                PhoneSkyDetailPanel { width: parent.width; bundle: sample; showSun: false }
                Row { spacing: 16
                    SunSidePanel { width: 100; bundle: sample; size: 90; imagesOnly: true }
                    MoonSidePanel { width: 100; bundle: sample; size: 90; imagesOnly: true } } }
        })",
                            QSize(760, 360));
    ASSERT_NE(root, nullptr);
    auto* picture = findItem(root, u"sunPicture"_s);
    ASSERT_NE(picture, nullptr);
    for (int i = 0; i < 40 && picture->property("phase").toInt() != 0; ++i) harness.settle(50);
    EXPECT_EQ(picture->property("phase").toInt(), 0);  // ready
    const QImage image = harness.grab(u"panels-sky"_s);
    EXPECT_GT(countPixelsNear(image, Theme::gold(), 20), 20);
}

TEST_F(PanelGrabs, FailedSunPictureDrawsTheOrangeToRedDisc) {
    FakeClock clock("2026-03-09T10:00:00Z");
    server.setOffline(true);
    QQuickItem* root = load(R"(
        SunPicture { objectName: "sun"; x: 20; y: 20; size: 120 })",
                            QSize(160, 160));
    ASSERT_NE(root, nullptr);
    auto* picture = findItem(root, u"sunPicture"_s);
    ASSERT_NE(picture, nullptr);
    for (int i = 0; i < 60 && picture->property("phase").toInt() != 2; ++i) harness.settle(50);
    ASSERT_EQ(picture->property("phase").toInt(), 2);  // failed
    const QImage image = harness.grab(u"panels-sun-failed"_s);
    // Near the centre (beside the drawn sun) the disc is orange; near the rim it turns towards red. Neither
    // is the panel colour behind the picture.
    const QColor inner = image.pixelColor(80 - 18, 80 - 18);
    const QColor rim = image.pixelColor(80, 20 + 6);
    EXPECT_GT(inner.red(), 230);
    EXPECT_GT(inner.green(), 110);
    EXPECT_LT(inner.blue(), 60);
    EXPECT_GT(rim.red(), 200);
    EXPECT_LT(rim.green(), inner.green());
    EXPECT_LT(rim.blue(), 80);
    EXPECT_GT(countPixelsNear(image, QColor(255, 255, 0), 40), 50);  // the yellow sun symbol
}

TEST_F(PanelGrabs, ForecastGridAndRow) {
    QQuickItem* root = load(R"(
        Column { x: 14; y: 14; spacing: 12
            ForecastStrip { width: 326; bundle: sample; localeName: "en_GB"; fitHeight: 420 }
            ForecastStrip { width: 326; bundle: sample; localeName: "en_GB"; fitHeight: 120 }
            ForecastStrip { width: 600; bundle: sample; localeName: "en_GB"; vertical: false }
        })",
                            QSize(640, 800));
    ASSERT_NE(root, nullptr);
    const QImage image = harness.grab(u"panels-forecast"_s);
    EXPECT_GT(countPixelsNear(image, Theme::panelHi(), 4), 2000);
}

TEST_F(PanelGrabs, WeatherAndMoon) {
    QQuickItem* root = load(R"(
        Row { x: 14; y: 14; spacing: 12
            WeatherMoonPanel { width: 326; bundle: sample; showMoon: true }
            Column { spacing: 12
                WeatherMoonPanel { width: 326; bundle: sample }
                WeatherMoonPanel { width: 326; metric: false; bundle: sample }
                WeatherMoonPanel { width: 326 } }
        })",
                            QSize(692, 420));
    ASSERT_NE(root, nullptr);
    const QImage image = harness.grab(u"panels-weather"_s);
    EXPECT_GT(countPixelsNear(image, Theme::gold(), 20), 50);
}

TEST_F(PanelGrabs, QiblaPanel) {
    QQuickItem* root = load(R"(
        Row { x: 14; y: 14; spacing: 12
            Item { width: 326; height: 700; QiblaPanel { width: parent.width; bundle: sample } }
            Item { width: 326; height: 700; QiblaPanel { objectName: "nosv"; width: parent.width
                bundle: { if (!json.qibla) return undefined; var b = JSON.parse(JSON.stringify(json)); b.qibla.images.streetview_available = false; return b } } }
        }
        property var json: ({})
        )",
                            QSize(692, 760));
    ASSERT_NE(root, nullptr);
    QFile file(QStringLiteral(ORVANE_FIXTURES_DIR "/panels/sample-bundle.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    root->setProperty("json", QJsonDocument::fromJson(file.readAll()).object().toVariantMap());
    harness.settle(300);
    const QImage image = harness.grab(u"panels-qibla"_s);
    EXPECT_TRUE(findItem(findItem(root, u"nosv"_s), u"noStreetView"_s)->isVisible());
    // No stored picture and no server copy: the built-in picture stands in.
    EXPECT_TRUE(findItem(findItem(root, u"nosv"_s), u"noStreetViewPicture"_s)->property("hasImage").toBool());
    EXPECT_GT(countPixelsNear(image, Theme::green(), 30), 30);
}

TEST_F(PanelGrabs, FaceWithEveryPanel) {
    FakeClock clock("2026-03-09T10:00:00Z");
    QFile file(QStringLiteral(ORVANE_FIXTURES_DIR "/panels/sample-bundle.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray json = file.readAll();
    for (const QSize size : {QSize(1280, 900), QSize(420, 1900)}) {
        QuickHarness face;
        QQuickItem* root = face.load(R"(
            import QtQuick
            import Orvane.Face
            import Orvane.Panels
            ClockFaceView {
                id: view
                property var sample
                alertsPanel: panels.alertsPanel; qiblaPanel: panels.qiblaPanel
                weatherPanel: panels.weatherPanel; forecastStrip: panels.forecastStrip
                sunSidePanel: panels.sunSidePanel; moonSidePanel: panels.moonSidePanel
                skyDetailPanel: panels.skyDetailPanel
                FacePanels { id: panels; face: view.face; bundle: view.sample }
            })",
                                     size);
        ASSERT_NE(root, nullptr);
        auto* controller = root->property("face").value<QObject*>();
        ASSERT_NE(controller, nullptr);
        bool loaded = false;
        QMetaObject::invokeMethod(controller, "loadBundleJson", Q_RETURN_ARG(bool, loaded),
                                  Q_ARG(QByteArray, json));
        ASSERT_TRUE(loaded);
        root->setProperty("sample", QVariant::fromValue(panelSample()));
        face.settle(600);
        const QImage image = face.grab(size.width() > 760 ? u"panels-face-wide"_s : u"panels-face-phone"_s);
        EXPECT_GT(countPixelsNear(image, AlertsPanelModel::red(), 40), 20);
        EXPECT_GT(countPixelsNear(image, Theme::panelHi(), 4), 2000);
    }
}

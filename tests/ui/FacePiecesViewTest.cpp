#include "ui/common/Theme.h"
#include "ui/face/AdhanRingLayout.h"
#include "ui/face/PrayerCells.h"
#include "ui/face/StatusPills.h"

#include <gtest/gtest.h>

#include <QQmlProperty>

#include "QuickHarness.h"
#include "SampleBundle.h"

namespace {

QVariantList sampleEvents() {
    QVariantList events;
    for (const Event& e : sampleBundle().events)
        events.append(QVariantMap{{"id", e.id()},
                                  {"name", e.name},
                                  {"gregorian", e.gregorian},
                                  {"inDays", e.inDays},
                                  {"hijriDay", e.hijriDay},
                                  {"hijriMonthName", e.hijriMonthName}});
    return events;
}

TEST(FacePieces, PrayerRowStatusRowAndBadges) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        import Orvane.Face
        Rectangle {
            color: Theme.panel
            property alias cells: prayers.cells
            property alias pills: status.pills
            Column {
                x: 14; y: 14; width: 520; spacing: 16
                PrayerRow { id: prayers; objectName: "prayers"; width: parent.width }
                StatusRow { id: status; objectName: "status" }
                Row {
                    spacing: 20
                    HumidityBadge { pct: 40 }
                    WindBadge { text: "12 km/h" }
                }
            }
        })",
                                    QSize(548, 150));
    ASSERT_NE(root, nullptr);
    const ClockBundle bundle = sampleBundle();
    root->setProperty("cells", PrayerCells::toVariant(PrayerCells::cells(
                                   bundle, false, QLocale(QStringLiteral("en")), PrayerCells::faceOrder())));
    root->setProperty("pills", StatusPills::toVariant(StatusPills::pills(bundle)));
    harness.settle(50);
    const QImage image = harness.grab(QStringLiteral("prayer-status-badges"));

    auto* asr = findItem(root, QStringLiteral("prayerTime_asr"));
    auto* fajr = findItem(root, QStringLiteral("prayerTime_fajr"));
    ASSERT_TRUE(asr && fajr);
    EXPECT_EQ(QQmlProperty::read(asr, QStringLiteral("color")).value<QColor>().rgb(), Theme::gold().rgb());
    EXPECT_EQ(QQmlProperty::read(fajr, QStringLiteral("color")).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(QQmlProperty::read(asr, QStringLiteral("text")).toString(), QStringLiteral("3:52 PM"));
    // The row's width is shared evenly: five cells of 104 points.
    EXPECT_DOUBLE_EQ(asr->width(), 104);
    EXPECT_GT(countPixelsNear(image, Theme::gold(), 20), 30);
    EXPECT_GT(countPixelsNear(image, Theme::green(), 30), 30);
}

TEST(FacePieces, EventsStripStepsThroughItsChips) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        import Orvane.Face
        Rectangle {
            color: Theme.bg
            property alias strip: strip
            Panel {
                x: 14; y: 14; width: 420; title: "Upcoming Islamic dates"
                EventsStripView { id: strip; objectName: "strip"; stepInterval: 1000000 }
            }
        })",
                                    QSize(448, 130));
    ASSERT_NE(root, nullptr);
    QQuickItem* strip = findItem(root, QStringLiteral("strip"));
    ASSERT_NE(strip, nullptr);
    EXPECT_DOUBLE_EQ(strip->height(), 0);  // no events: no room taken
    strip->setProperty("events", sampleEvents());
    harness.settle(50);
    EXPECT_DOUBLE_EQ(strip->height(), 52);
    harness.grab(QStringLiteral("events-strip-start"));
    std::vector<int> indices;
    for (int i = 0; i < 5; ++i) {
        QMetaObject::invokeMethod(strip, "step");
        indices.push_back(strip->property("index").toInt());
    }
    EXPECT_EQ(indices, (std::vector<int>{1, 2, 3, 0, 1}));
    harness.settle(700);
    harness.grab(QStringLiteral("events-strip-stepped"));

    QVariantList one = sampleEvents().mid(0, 1);
    strip->setProperty("events", one);
    strip->setProperty("index", 0);
    QMetaObject::invokeMethod(strip, "step");
    EXPECT_EQ(strip->property("index").toInt(), 0);
}

TEST(FacePieces, CallOverlayInEachSizeClass) {
    struct Row {
        QSize size;
        const char* name;
    };
    const Row rows[] = {{{1280, 860}, "adhan-overlay-large"},
                        {{402, 760}, "adhan-overlay-narrow"},
                        {{900, 600}, "adhan-overlay-small"}};
    for (const Row& r : rows) {
        QuickHarness harness;
        QQuickItem* root = harness.load(R"(
            import QtQuick
            import Orvane.Common
            import Orvane.Face
            AdhanRingView {
                activeTitle: "Fajr Adhan"
                activePrayerName: "Fajr"
                activeText: "Allahu Akbar, Allahu Akbar\n\n  Ashhadu an la ilaha illa Allah  \nHayya 'ala as-salah\nAs-salatu khayrun min an-nawm\nAllahu Akbar\nLa ilaha illa Allah"
                rakatTitle: "Fajr"
                rakatLines: ["2 Sunnah", "2 Fard"]
                rakatTotal: "4 rakats"
                adhanNowLabel: "Adhan now"; adhanForLabel: "Time for"; rakatsLabel: "Rakats"; stopLabel: "Stop"
            })",
                                        r.size);
        ASSERT_NE(root, nullptr);
        const QImage image = harness.grab(QString::fromLatin1(r.name));
        QQuickItem* lines = findItem(root, QStringLiteral("adhanLines"));
        ASSERT_NE(lines, nullptr);
        EXPECT_LE(lines->width(), AdhanRingLayout::textMaxWidthFor(r.size.width(), r.size.height() < 780));
        QQuickItem* stop = findItem(root, QStringLiteral("adhanStop"));
        ASSERT_NE(stop, nullptr);
        const QPointF stopInWindow = stop->mapToScene(QPointF());
        EXPECT_LE(stopInWindow.y() + stop->height(), r.size.height()) << r.name;
        EXPECT_GT(countPixelsNear(image, Theme::gold(), 25), 100) << r.name;
    }
}

}  // namespace

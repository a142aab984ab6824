#include "model/AdhanTexts.h"
#include "ui/common/Theme.h"
#include "ui/face/AdhanRingLayout.h"
#include "ui/face/PrayerCells.h"
#include "ui/face/StatusPills.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QFont>
#include <QQmlProperty>
#include <cmath>
#include <functional>

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
    root->setProperty("pills", StatusPills::toVariant(StatusPills::pills(bundle, true)));
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
    // The smallest windows the face allows, and one a user made smaller, hold the dawn call's whole text.
    const Row rows[] = {{{1280, 860}, "adhan-overlay-large"},   {{402, 760}, "adhan-overlay-narrow"},
                        {{900, 600}, "adhan-overlay-small"},    {{900, 560}, "adhan-overlay-900x560"},
                        {{760, 520}, "adhan-overlay-smallest"}, {{360, 640}, "adhan-overlay-phone"}};
    for (const Row& r : rows) {
        QuickHarness harness;
        QQuickItem* root = harness.load(R"(
            import QtQuick
            import Orvane.Common
            import Orvane.Face
            AdhanRingView {
                activeTitle: "Fajr Adhan"
                activePrayerName: "Fajr"
                rakatTitle: "Fajr"
                rakatLines: ["2 Sunnah", "2 Fard"]
                rakatTotal: "4 rakats"
                adhanNowLabel: "Adhan now"; adhanForLabel: "Time for"; rakatsLabel: "Rakats"; stopLabel: "Stop"
                creditNote: Component { ThemeText { text: "Credit"; textStyle: "caption2" } }
            })",
                                        r.size);
        ASSERT_NE(root, nullptr);
        root->setProperty("activeText", AdhanTexts::table(u"en").fajr);
        harness.settle(100);
        const QImage image = harness.grab(QString::fromLatin1(r.name));
        QQuickItem* lines = findItem(root, QStringLiteral("adhanLines"));
        ASSERT_NE(lines, nullptr);
        EXPECT_LE(lines->width(), AdhanRingLayout::textMaxWidthFor(r.size.width(), r.size.height() < 780));
        QQuickItem* stop = findItem(root, QStringLiteral("adhanStop"));
        ASSERT_NE(stop, nullptr);
        const QRectF stopInWindow = stop->mapRectToScene(QRectF(0, 0, stop->width(), stop->height()));
        EXPECT_LE(stopInWindow.bottom(), r.size.height()) << r.name;
        QQuickItem* icon = findItem(root, QStringLiteral("adhanIcon"));
        EXPECT_GE(icon->mapToScene(QPointF()).y(), 0) << r.name;
        // Stop has the keyboard as the call starts, and its ring shows around the red.
        EXPECT_TRUE(stop->hasActiveFocus());
        EXPECT_GT(countPixelsAround(image, stop, Qt::white), stop->width()) << r.name;
        EXPECT_GT(countPixelsNear(image, Theme::gold(), 25), 100) << r.name;
    }
}

TEST(FacePieces, CallLinesAndRakatHeadingShrinkBeforeTheyAreCut) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        import Orvane.Face
        AdhanRingView {
            activeTitle: "Isha Adhan"
            activeText: "Allahu Akbar\nAshhadu anna Muhammadan Rasulullah, Ashhadu anna Muhammadan Rasulullah, wa ashhadu anna Muhammadan Rasulullah"
            rakatTitle: "Isha"
            rakatLines: ["4 Sunnah", "4 Fard", "2 Sunnah", "3 Witr"]
            adhanNowLabel: "Adhan now"; adhanForLabel: "Time for"; stopLabel: "Stop"
            rakatsLabel: "Rakats of the night prayer with the sunnah prayed before it and the sunnah and witr after it"
        })",
                                    QSize(402, 760));
    ASSERT_NE(root, nullptr);
    harness.grab(QStringLiteral("adhan-overlay-shrunk"));
    const double full = Theme::textSize(QStringLiteral("callout"));
    QList<QQuickItem*> lines;
    const std::function<void(QQuickItem*)> collect = [&](QQuickItem* item) {
        if (item->objectName() == QLatin1String("adhanLine")) lines.append(item);
        for (QQuickItem* child : item->childItems()) collect(child);
    };
    collect(root);
    ASSERT_EQ(lines.size(), 2);
    // The short line keeps its size; the long one shrinks, not below 65 %, and is not cut.
    EXPECT_EQ(lines[0]->property("font").value<QFont>().pixelSize(), int(full));
    const int shrunk = lines[1]->property("font").value<QFont>().pixelSize();
    EXPECT_LT(shrunk, int(full));
    EXPECT_GE(shrunk, std::ceil(full * 0.65));
    EXPECT_LE(lines[1]->property("lineCount").toInt(), 2);
    EXPECT_FALSE(lines[1]->property("truncated").toBool());

    QQuickItem* heading = findItem(root, QStringLiteral("adhanRakatHeading"));
    ASSERT_NE(heading, nullptr);
    const QPointF left = heading->mapToScene(QPointF());
    EXPECT_GE(left.x(), 0);
    EXPECT_LE(left.x() + heading->width(), 402);
    const int headingSize = heading->property("fontInfo").toMap().value(QStringLiteral("pixelSize")).toInt();
    EXPECT_LT(headingSize, int(Theme::textSize(QStringLiteral("caption"))));
    EXPECT_GE(headingSize, std::ceil(Theme::textSize(QStringLiteral("caption")) * 0.8));
}

TEST(FacePieces, ForecastWindShrinksBeforeItIsCut) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Panels
        Row {
            spacing: 8
            ForecastCard { objectName: "wide"; width: 80; compact: true
                day: ({ weekday: "Mon", icon: "sun.max.fill", temperatures: "20°/12°", wind: "35 km/h",
                        humidity: 0, precipitation: "" }) }
            ForecastCard { objectName: "narrow"; width: 40; compact: true
                day: ({ weekday: "Tue", icon: "sun.max.fill", temperatures: "20°/12°", wind: "35 km/h",
                        humidity: 0, precipitation: "" }) }
        })",
                                    QSize(140, 80));
    ASSERT_NE(root, nullptr);
    harness.grab(QStringLiteral("forecast-wind-shrunk"));
    const auto windIn = [&](const char* card) {
        return findItem(findItem(root, QString::fromLatin1(card)), QStringLiteral("forecastWind"));
    };
    ASSERT_NE(windIn("wide"), nullptr);
    EXPECT_EQ(windIn("wide")->property("fontInfo").toMap().value(QStringLiteral("pixelSize")).toInt(), 8);
    const int narrow =
        windIn("narrow")->property("fontInfo").toMap().value(QStringLiteral("pixelSize")).toInt();
    EXPECT_LT(narrow, 8);
    EXPECT_GE(narrow, std::ceil(8 * 0.55));
    EXPECT_LE(windIn("narrow")->width(), 40);
    // A screen reader reads the whole day as one line.
    QAccessibleInterface* day = QAccessible::queryAccessibleInterface(findItem(root, QStringLiteral("wide")));
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->role(), QAccessible::StaticText);
    EXPECT_EQ(day->text(QAccessible::Name), QStringLiteral("Mon, 20°/12°, 35 km/h"));
}

}  // namespace

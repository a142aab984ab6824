#include "ui/common/RoundedBox.h"
#include "ui/common/SymbolIcon.h"
#include "ui/common/Theme.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>

#include "QuickHarness.h"

namespace {

struct ColourRow {
    QColor colour;
    double r, g, b, a;
};

TEST(Theme, PaletteHoldsTheSevenColours) {
    const ColourRow rows[] = {
        {Theme::bg(), 0.02, 0.03, 0.06, 1},        {Theme::panel(), 0.07, 0.10, 0.15, 1},
        {Theme::panelHi(), 0.10, 0.14, 0.21, 1},   {Theme::line(), 1, 1, 1, 0.08},
        {Theme::gold(), 0.91, 0.73, 0.29, 1},      {Theme::green(), 0.21, 0.75, 0.54, 1},
        {Theme::textMuted(), 0.54, 0.63, 0.74, 1},
    };
    for (const auto& row : rows) {
        EXPECT_NEAR(row.colour.redF(), row.r, 1e-3);
        EXPECT_NEAR(row.colour.greenF(), row.g, 1e-3);
        EXPECT_NEAR(row.colour.blueF(), row.b, 1e-3);
        EXPECT_NEAR(row.colour.alphaF(), row.a, 1e-3);
    }
}

TEST(Theme, TextStylesHaveTheirSizesAndUnknownNamesFallBackToBody) {
    EXPECT_EQ(Theme::textSize(QStringLiteral("caption2")), 10);
    EXPECT_EQ(Theme::textSize(QStringLiteral("callout")), 12);
    EXPECT_EQ(Theme::textSize(QStringLiteral("title3")), 15);
    EXPECT_EQ(Theme::textSize(QStringLiteral("headline")), 13);
    EXPECT_TRUE(Theme::textStyleIsBold(QStringLiteral("headline")));
    EXPECT_FALSE(Theme::textStyleIsBold(QStringLiteral("subheadline")));
    EXPECT_EQ(Theme::textSize(QStringLiteral("no-such-style")), Theme::textSize(QStringLiteral("body")));
}

TEST(SymbolIcon, EveryKnownNameHasALoadableDrawingAndUnknownNamesHaveNone) {
    QuickHarness harness;  // links the modules that carry the drawings
    for (const QString& name : SymbolIcon::knownNames()) {
        const QString path = SymbolIcon::resourceFor(name);
        ASSERT_FALSE(path.isEmpty()) << name.toStdString();
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
    EXPECT_TRUE(SymbolIcon::resourceFor(QStringLiteral("no.such.symbol")).isEmpty());
}

TEST(Panel, HeadingIsUpperCasedAndContentStartsBelowIt) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        Rectangle {
            color: Theme.bg
            Column {
                x: 20; y: 20; width: 360; spacing: 20
                Panel {
                    objectName: "titled"; width: parent.width; title: "Upcoming dates"
                    Rectangle { objectName: "content"; implicitHeight: 40; color: Theme.panelHi; radius: 12 }
                }
                Panel {
                    objectName: "plain"; width: parent.width
                    Rectangle { objectName: "plainContent"; implicitHeight: 30; color: Theme.gold }
                }
                Row {
                    spacing: 14
                    Repeater {
                        model: ["moon.stars.fill", "gearshape.fill", "play.fill", "text.book.closed.fill",
                                "book.fill", "calendar", "sparkles", "stop.fill", "drop.fill", "wind",
                                "sun.max.fill", "exclamationmark.triangle.fill"]
                        SymbolIcon { name: modelData; size: 22; color: Theme.gold }
                    }
                }
            }
        })",
                                    QSize(400, 260));
    ASSERT_NE(root, nullptr);
    QQuickItem* titled = findItem(root, QStringLiteral("titled"));
    QQuickItem* content = findItem(root, QStringLiteral("content"));
    QQuickItem* plainContent = findItem(root, QStringLiteral("plainContent"));
    ASSERT_TRUE(titled && content && plainContent);
    EXPECT_GT(content->mapToItem(titled, QPointF()).y(), 14 + 10);
    EXPECT_DOUBLE_EQ(plainContent->mapToItem(plainContent->parentItem()->parentItem(), QPointF()).y(), 14);
    EXPECT_DOUBLE_EQ(content->width(), 360 - 28);
    EXPECT_DOUBLE_EQ(titled->height(), content->mapToItem(titled, QPointF()).y() + 40 + 14);
    const QImage image = harness.grab(QStringLiteral("panel"));
    EXPECT_GT(countPixelsNear(image, Theme::gold(), 10), 200);
}

}  // namespace

namespace {

QImage paintBox(qreal radius, qreal borderWidth) {
    RoundedBox box;
    box.setSize(QSizeF(100, 40));
    box.setColor(Qt::red);
    box.setBorderColor(Qt::white);
    box.setBorderWidth(borderWidth);
    box.setRadius(radius);
    QImage image(100, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    box.paint(&painter);
    return image;
}

TEST(RoundedBox, CapsuleCornersAndNegativeSizesDrawNothing) {
    const QImage capsule = paintBox(1000, 1);  // a radius past half the height gives a capsule
    EXPECT_EQ(capsule.pixelColor(1, 1).alpha(), 0);
    EXPECT_EQ(capsule.pixelColor(50, 20), QColor(Qt::red));
    EXPECT_EQ(capsule.pixelColor(50, 0), QColor(Qt::white));
    const QImage square = paintBox(0, 0);
    EXPECT_EQ(square.pixelColor(0, 0), QColor(Qt::red));
    for (const QImage& image : {paintBox(-4, 1), paintBox(8, -1)})
        EXPECT_EQ(image.pixelColor(50, 20).alpha(), 0);
}

}  // namespace

#include "ui/face/MoonColors.h"
#include "ui/face/MoonPhaseView.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "QuickHarness.h"

namespace {

QImage render(double illumination, bool waxing, QSize size = QSize(200, 200),
              QList<QVector3D> craters = MoonPhaseView::standardCraters()) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    MoonPhaseView::drawMoon(p, QSizeF(size),
                            {illumination, waxing, MoonColors::tint("moon_strawberry"), craters});
    return image;
}

// Lit pixels carry the red tint; the dark disc is grey.
bool isLit(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return c.alpha() > 200 && c.red() - c.blue() > 40;
}

int litCount(const QImage& image, int fromX, int toX) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = fromX; x < toX; ++x) n += isLit(image, x, y);
    return n;
}

TEST(MoonColors, TableAndFallback) {
    EXPECT_EQ(MoonColors::tint("moon_wolf"), QColor::fromRgbF(0.80f, 0.86f, 1.00f));
    EXPECT_EQ(MoonColors::tint("moon_harvest"), QColor::fromRgbF(1.00f, 0.66f, 0.30f));
    const QColor warmWhite = QColor::fromRgbF(0.98f, 0.93f, 0.80f);
    EXPECT_EQ(MoonColors::tint({}), warmWhite);
    EXPECT_EQ(MoonColors::tint("Moon_Wolf"), warmWhite);
    EXPECT_EQ(MoonColors::tint("moon_blue"), warmWhite);
}

TEST(MoonPhaseView, NewMoonShowsNoLitPixels) {
    EXPECT_EQ(litCount(render(0, true), 0, 200), 0);
    EXPECT_EQ(litCount(render(-0.3, false), 0, 200), 0);
    EXPECT_EQ(litCount(render(std::nan(""), true), 0, 200), 0);
}

TEST(MoonPhaseView, HalfMoonLightsTheWaxingSide) {
    const QImage waxing = render(0.5, true);
    EXPECT_EQ(litCount(waxing, 0, 99), 0);
    EXPECT_GT(litCount(waxing, 101, 200), 9000);  // half of a radius-98 disc is about 15 000
    const QImage waning = render(0.5, false);
    EXPECT_EQ(litCount(waning, 101, 200), 0);
    EXPECT_GT(litCount(waning, 0, 99), 9000);
}

TEST(MoonPhaseView, FullMoonLightsTheWholeDisc) {
    const QImage full = render(1.2, true, QSize(200, 200), {});
    const int lit = litCount(full, 0, 200);
    EXPECT_NEAR(lit, M_PI * 98 * 98, 700);
}

TEST(MoonPhaseView, CratersDarkenOnlyTheLitPart) {
    // Crater 2 (0.25, 0.10) lies on the lit half of a waxing half moon, crater 1 (-0.30, -0.25) on the
    // dark half; r = 98, centre (100, 100).
    const QImage with = render(0.5, true);
    const QImage without = render(0.5, true, QSize(200, 200), {});
    const QPoint crater2(100 + qRound(98 * 0.25), 100 + qRound(98 * 0.10));
    const QPoint crater1(100 - qRound(98 * 0.30), 100 - qRound(98 * 0.25));
    EXPECT_LT(with.pixelColor(crater2).red(), without.pixelColor(crater2).red() - 10);
    EXPECT_EQ(with.pixelColor(crater1), without.pixelColor(crater1));
}

TEST(MoonPhaseView, DiscIsInscribedWithATwoPointMargin) {
    const QImage image = render(1, true, QSize(200, 100), {});
    EXPECT_TRUE(isLit(image, 100 + 46, 50));
    EXPECT_EQ(image.pixelColor(100 + 50, 50).alpha(), 0);
    EXPECT_EQ(image.pixelColor(100, 1).alpha(), 0);
    EXPECT_TRUE(isLit(image, 100, 4));
}

TEST(MoonPhaseView, ShowsWithItsGlowInAView) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        import Orvane.Face
        Rectangle {
            color: Theme.panel
            Row {
                x: 10; y: 10; spacing: 10
                Repeater {
                    model: [[0.0, true, "moon_wolf"], [0.25, true, "moon_snow"], [0.5, true, "moon_harvest"],
                            [0.75, false, "moon_pink"], [1.0, false, ""], [0.5, false, "moon_strawberry"]]
                    MoonPhaseView {
                        width: 90; height: 90
                        illumination: modelData[0]; waxing: modelData[1]; tint: MoonColors.tint(modelData[2])
                    }
                }
            }
        })",
                                    QSize(620, 110));
    ASSERT_NE(root, nullptr);
    const QImage image = harness.grab(QStringLiteral("moon-phases"));
    EXPECT_FALSE(image.isNull());
}

}  // namespace

#include "ui/face/MarqueeMotion.h"

#include <gtest/gtest.h>

#include "FakeClock.h"
#include "QuickHarness.h"

namespace {

TEST(MarqueeMotion, ScrollsOnlyWhenTheTextOverflowsOrIsForced) {
    EXPECT_FALSE(MarqueeMotion::scrolls(0, 300, false));
    EXPECT_FALSE(MarqueeMotion::scrolls(0, 300, true));  // an empty text never moves
    EXPECT_FALSE(MarqueeMotion::scrolls(301, 300, false));
    EXPECT_TRUE(MarqueeMotion::scrolls(301.5, 300, false));
    EXPECT_FALSE(MarqueeMotion::scrolls(500, 0, false));  // unmeasured strip
    EXPECT_FALSE(MarqueeMotion::scrolls(500, 1, false));
    EXPECT_TRUE(MarqueeMotion::scrolls(40, 300, true));
}

TEST(MarqueeMotion, OffsetsFollowElapsedTime) {
    EXPECT_DOUBLE_EQ(MarqueeMotion::offsetAt(1, 55, 300), -55);
    EXPECT_DOUBLE_EQ(MarqueeMotion::offsetAt(10, 55, 300), -250);
    EXPECT_DOUBLE_EQ(MarqueeMotion::offsetAt(0, 55, 300), 0);
    EXPECT_DOUBLE_EQ(MarqueeMotion::offsetAt(5, 55, 0), 0);
    EXPECT_DOUBLE_EQ(MarqueeMotion::offsetAt(5, 55, std::nan("")), 0);
}

TEST(MarqueeMotion, AdvanceReadsTheClockFromCreation) {
    FakeClock clock("2026-03-09T10:00:00Z");
    MarqueeMotion motion;
    motion.setForceScroll(true);
    motion.setTextWidth(240);
    motion.setGap(60);
    clock.advanceSeconds(10);
    motion.advance();
    EXPECT_DOUBLE_EQ(motion.offset(), -250);
    // A new text width keeps the phase: fmod with the new cycle.
    motion.setTextWidth(340);
    motion.advance();
    EXPECT_DOUBLE_EQ(motion.offset(), -150);
}

TEST(Marquee, ForcedShortTextShowsTwoCopiesAndMoves) {
    FakeClock clock("2026-03-09T10:00:00Z");
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        import Orvane.Face
        Rectangle {
            color: Theme.panel
            Marquee {
                objectName: "marquee"; x: 10; y: 10; width: 380; height: 20
                text: "Dust Storm Warning \u00B7 Blowing dust until evening"; forceScroll: true
                color: "orange"
            }
        })",
                                    QSize(400, 40));
    ASSERT_NE(root, nullptr);
    QQuickItem* row = findItem(root, QStringLiteral("marqueeRow"));
    ASSERT_NE(row, nullptr);
    EXPECT_DOUBLE_EQ(row->x(), 0);
    clock.advanceSeconds(1);
    harness.settle(100);
    EXPECT_DOUBLE_EQ(row->x(), -55);
    harness.grab(QStringLiteral("marquee"));
}

}  // namespace

#include <gtest/gtest.h>

#include "shell/WindowFit.h"

#include <limits>

TEST(WindowFit, DefaultSizesFollowThePhoneSwitch) {
    EXPECT_EQ(WindowFit::defaultSize(false), QSize(1280, 860));
    EXPECT_EQ(WindowFit::defaultSize(true), QSize(402, 850));
}

TEST(WindowFit, HeightFollowsTheAspectAndShrinksIntoWhatTheUserSees) {
    struct Case {
        QSize current;
        double aspect;
        QRect screen;
        QRect available;
        QSize expected;
        bool reportsWorkArea = true;
    } cases[] = {
        {{1280, 860}, 64.0 / 43.0, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, {1280, 860}},
        {{1280, 860}, 1.6, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, {1280, 800}},
        {{1280, 860}, 1.0, {0, 0, 1920, 1080}, {0, 0, 1920, 1000}, {1000, 1000}},
        {{1280, 860}, 2.0, {}, {}, {1280, 640}},
        // No work area reported (Wayland): room for a panel and a title bar is left all the same.
        {{1280, 860}, 64.0 / 43.0, {0, 0, 1366, 768}, {0, 0, 1366, 768}, {1024, 688}, false},
        // A reported work area that is the whole screen (no panel on X11) is all the window's.
        {{1280, 860}, 64.0 / 43.0, {0, 0, 1366, 768}, {0, 0, 1366, 768}, {1143, 768}},
        {{1280, 860}, std::numeric_limits<double>::quiet_NaN(), {0, 0, 1920, 1080}, {}, {1280, 860}},
        {{1280, 860}, 0.0, {0, 0, 1920, 1080}, {}, {1280, 860}},
        {{1280, 860}, -1.5, {0, 0, 1920, 1080}, {}, {1280, 860}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowFit::fitted(c.current, c.aspect,
                                    WindowFit::usableArea(c.screen, c.available, {}, c.reportsWorkArea)),
                  c.expected)
            << c.aspect;
    // A frame the window knows of comes off too.
    EXPECT_EQ(WindowFit::usableArea({0, 0, 1280, 720}, {0, 0, 1280, 690}, {4, 28, 4, 4}, true),
              QRect(4, 28, 1272, 658));
}

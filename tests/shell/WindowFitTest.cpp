#include <gtest/gtest.h>

#include "shell/WindowFit.h"

#include <limits>

TEST(WindowFit, DefaultSizesFollowThePhoneSwitch) {
    EXPECT_EQ(WindowFit::defaultSize(false), QSize(1280, 860));
    EXPECT_EQ(WindowFit::defaultSize(true), QSize(402, 850));
}

TEST(WindowFit, HeightFollowsTheAspectAndShrinksIntoTheScreen) {
    struct Case {
        QSize current;
        double aspect;
        QRect available;
        QSize expected;
    } cases[] = {
        {{1280, 860}, 64.0 / 43.0, {0, 0, 1920, 1080}, {1280, 860}},
        {{1280, 860}, 1.6, {0, 0, 1920, 1080}, {1280, 800}},
        {{1280, 860}, 1.0, {0, 0, 1920, 1000}, {1000, 1000}},
        {{1280, 860}, 2.0, {}, {1280, 640}},
        {{1280, 860}, std::numeric_limits<double>::quiet_NaN(), {0, 0, 1920, 1080}, {1280, 860}},
        {{1280, 860}, 0.0, {0, 0, 1920, 1080}, {1280, 860}},
        {{1280, 860}, -1.5, {0, 0, 1920, 1080}, {1280, 860}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowFit::fitted(c.current, c.aspect, c.available), c.expected) << c.aspect;
}

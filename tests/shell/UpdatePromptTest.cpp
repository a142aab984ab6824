#include <gtest/gtest.h>

#include "ui/shell/UpdatePrompt.h"

#include <QSignalSpy>

using namespace Qt::Literals::StringLiterals;

TEST(UpdatePrompt, AnOfferIsShownAndAnsweredOnce) {
    const struct {
        bool install;
        int installs;
        int declines;
    } cases[] = {{true, 1, 0}, {false, 0, 1}};
    for (const auto& c : cases) {
        UpdatePrompt prompt;
        QSignalSpy installs(&prompt, &UpdatePrompt::installRequested);
        QSignalSpy declines(&prompt, &UpdatePrompt::declined);
        EXPECT_FALSE(prompt.visible());

        prompt.offer(u" 2.4.0\n"_s, u"\n• Faster start\n• Quieter alarms\n"_s);
        EXPECT_TRUE(prompt.visible());
        EXPECT_EQ(prompt.version(), u"2.4.0"_s);
        EXPECT_EQ(prompt.releaseNotes(), u"• Faster start\n• Quieter alarms"_s);

        for (int click = 0; click < 3; ++click) c.install ? prompt.install() : prompt.decline();
        EXPECT_FALSE(prompt.visible());
        EXPECT_EQ(installs.count(), c.installs);
        EXPECT_EQ(declines.count(), c.declines);
        // Neither answer is given for an offer that is not on show.
        prompt.install();
        prompt.decline();
        EXPECT_EQ(installs.count(), c.installs);
        EXPECT_EQ(declines.count(), c.declines);
    }
}

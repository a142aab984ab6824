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

TEST(UpdatePrompt, AManualUpdateOrAFailureIsOnlyToldAndClosedWithOneButton) {
    UpdatePrompt prompt;
    QSignalSpy installs(&prompt, &UpdatePrompt::installRequested);
    QSignalSpy declines(&prompt, &UpdatePrompt::declined);

    prompt.offerManual(u"2.4.0"_s, u"Notes"_s, u" Update it with apt. "_s);
    EXPECT_TRUE(prompt.visible());
    EXPECT_FALSE(prompt.installable());
    EXPECT_EQ(prompt.title(), u"Orvane 2.4.0 is available"_s);
    EXPECT_EQ(prompt.message(), u"Update it with apt."_s);
    prompt.install();
    EXPECT_TRUE(prompt.visible()) << "nothing to install here";
    EXPECT_EQ(installs.count(), 0);
    prompt.decline();
    EXPECT_FALSE(prompt.visible());
    EXPECT_EQ(declines.count(), 1);

    prompt.reportFailure(u"The new version failed its self-check."_s);
    EXPECT_TRUE(prompt.visible());
    EXPECT_FALSE(prompt.installable());
    EXPECT_EQ(prompt.title(), u"The update was not installed"_s);
    EXPECT_TRUE(
        prompt.message().startsWith(u"The new version failed its self-check. Orvane keeps running"_s));

    // An installable offer afterwards has its two answers again.
    prompt.offer(u""_s, u""_s);
    EXPECT_TRUE(prompt.installable());
    EXPECT_EQ(prompt.title(), u"A new version of Orvane is ready"_s);
    EXPECT_TRUE(prompt.message().isEmpty());
    prompt.install();
    EXPECT_EQ(installs.count(), 1);
}

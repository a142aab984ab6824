#include "Await.h"
#include "SettingsTestWorld.h"
#include "ui/settings/ClockIdReclaim.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kPath = u"/v1/clock_address"_s;
}

TEST(ClockIdReclaim, TheButtonNeedsTwelveCharactersAndAnIdleWindow) {
    SettingsTestWorld world;
    ClockIdReclaim reclaim(world.settings);
    const std::pair<const char*, bool> table[] = {
        {"", false},
        {"            ", false},
        {"clk-1234567", false},
        {" \tclk-1234567\t ", false},
        {"clk-12345678", true},
        {"  clk-12345678 ", true},
        {"abcdefghijklmnop", true},
    };
    for (const auto& [typed, enabled] : table) {
        reclaim.setDraft(QString::fromUtf8(typed));
        EXPECT_EQ(reclaim.canReclaim(), enabled) << typed;
    }
    world.env.server.route(
        kPath,
        {200, "{\"found\":false}", {{"Content-Type", "application/json"}}, std::chrono::milliseconds(300)});
    reclaim.setDraft(u"clk-12345678"_s);
    auto running = reclaim.reclaim();
    EXPECT_TRUE(reclaim.busy());
    EXPECT_FALSE(reclaim.canReclaim());
    await(std::move(running));
    EXPECT_FALSE(reclaim.busy());
}

TEST(ClockIdReclaim, AReclaimedAddressIsAppliedAndTheFieldEmptied) {
    SettingsTestWorld world;
    world.env.server.routeFixture(kPath, u"clock_address_town.json"_s);
    ClockIdReclaim reclaim(world.settings);
    QSignalSpy applied(&reclaim, &ClockIdReclaim::applied);
    reclaim.setDraft(u" CLK-70A1B2C3 "_s);
    await(reclaim.reclaim());
    EXPECT_EQ(reclaim.message(), u"Reclaimed \u2713 \u2014 address downloaded"_s);
    EXPECT_TRUE(reclaim.messageIsSuccess());
    EXPECT_EQ(reclaim.draft(), QString());
    EXPECT_EQ(world.settings.manualCity(), u"Medina"_s);
    EXPECT_EQ(applied.count(), 1);
}

TEST(ClockIdReclaim, AValidIdWithoutASavedAddressStillTakesEffect) {
    SettingsTestWorld world;
    world.env.server.routeFixture(kPath, u"clock_address_not_found.json"_s);
    ClockIdReclaim reclaim(world.settings);
    QSignalSpy applied(&reclaim, &ClockIdReclaim::applied);
    reclaim.setDraft(u"  Clk-ABCDEF12\t"_s);
    await(reclaim.reclaim());
    EXPECT_EQ(world.settings.clockId(), u"clk-abcdef12"_s);
    EXPECT_EQ(reclaim.message(), u"Clock ID set \u2014 no saved address on server yet"_s);
    EXPECT_FALSE(reclaim.messageIsSuccess());
    EXPECT_EQ(reclaim.draft(), u"  Clk-ABCDEF12\t"_s);
    EXPECT_EQ(applied.count(), 1);
}

TEST(ClockIdReclaim, TextThatIsNoClockIdChangesNothing) {
    SettingsTestWorld world;
    ClockIdReclaim reclaim(world.settings);
    const QString before = world.settings.ensureLocalClockId();
    QSignalSpy applied(&reclaim, &ClockIdReclaim::applied);
    reclaim.setDraft(u"hello-world-123"_s);
    await(reclaim.reclaim());
    EXPECT_EQ(reclaim.message(), u"Could not reclaim. Check the ID and internet."_s);
    EXPECT_EQ(world.settings.clockId(), before);
    EXPECT_EQ(applied.count(), 0);
    EXPECT_TRUE(world.env.server.requestsTo(kPath).isEmpty());
}

TEST(ClockIdReclaim, CopyPutsTheShownIdOnTheClipboard) {
    SettingsTestWorld world;
    ClockIdReclaim reclaim(world.settings);
    reclaim.copyClockId();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), reclaim.clockId());
    EXPECT_TRUE(AppSettings::isValidClockId(reclaim.clockId()));
    EXPECT_EQ(reclaim.message(), u"Copied \u2713"_s);
    EXPECT_TRUE(reclaim.messageIsSuccess());
}

#include <gtest/gtest.h>

#include "SettingsTestEnv.h"

#include <cmath>

TEST(FixedLocation, DerivedFlags) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    EXPECT_FALSE(s.hasManualCoordinates());
    s.setManualLat(0.0005);
    s.setManualLon(-0.002);
    EXPECT_FALSE(s.hasManualCoordinates());  // automatic mode
    s.setUseManualLocation(true);
    EXPECT_TRUE(s.hasManualCoordinates());
    EXPECT_FALSE(s.hasUsableFixedAddress());
    s.setManualCity(QStringLiteral(" \n"));
    EXPECT_FALSE(s.hasUsableFixedAddress());
    s.setManualCity(QStringLiteral("Makkah"));
    EXPECT_TRUE(s.hasUsableFixedAddress());
    EXPECT_FALSE(s.hasManualTimezone());
    s.flushLocationFieldsToDisk();
    EXPECT_TRUE(s.hasManualTimezone());
}

TEST(FixedLocation, HealingFillsCoordinatesFromTheLastKnownPlaceInManualModeOnly) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    s.setLastKnownLat(33.5);
    s.setLastKnownLon(36.3);
    s.healIncompleteManualLocation();
    EXPECT_EQ(s.manualLat(), 0.0);
    s.setUseManualLocation(true);
    s.healIncompleteManualLocation();
    EXPECT_EQ(s.manualLat(), 33.5);
    EXPECT_EQ(s.manualLon(), 36.3);
    EXPECT_TRUE(env.store->contains(env.scoped(QStringLiteral("manualTzOffsetHours"))));  // flushed
}

TEST(FixedLocation, HealingTakesACityHintInEitherMode) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    s.healIncompleteManualLocation(QStringLiteral("  Damascus \n"));
    EXPECT_EQ(s.manualCity(), QStringLiteral("Damascus"));
    s.healIncompleteManualLocation(QStringLiteral("Aleppo"));
    EXPECT_EQ(s.manualCity(), QStringLiteral("Damascus"));
}

TEST(FixedLocation, OffsetHintRules) {
    struct Row {
        double manualLat;
        double lastKnownLat;
        double hint;
        bool taken;
    };
    const Row rows[] = {{25.0, 0.0, 0.0, false},  {25.0, 0.0, 3.0, true},  {0.5, 0.0, 0.0, true},
                        {0.5, 0.0, -0.005, true}, {0.5, 40.0, 0.0, false}, {0.0, 0.0, std::nan(""), false}};
    for (const Row& row : rows) {
        SettingsTestEnv env;
        AppSettings& s = env.start();
        s.setManualLat(row.manualLat);
        s.setLastKnownLat(row.lastKnownLat);
        ASSERT_FALSE(s.hasManualTimezone());
        s.healIncompleteManualLocation(std::nullopt, row.hint);
        EXPECT_EQ(s.hasManualTimezone(), row.taken) << row.manualLat << " " << row.hint;
        if (row.taken) {
            EXPECT_EQ(s.manualTzOffsetHours(), row.hint);
        }
    }
}

TEST(FixedLocation, NoOffsetHintOnceTheFieldsWereFlushed) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    s.flushLocationFieldsToDisk();
    s.healIncompleteManualLocation(std::nullopt, 3.0);
    EXPECT_EQ(s.manualTzOffsetHours(), 0.0);
}

TEST(FixedLocation, PersistResolvedLocationKeepsSmallMovesAndManualFieldsInManualModeOnly) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    s.persistResolvedLocation(QStringLiteral("Cairo"), 30.0444, 31.2357, QStringLiteral("P1"), 2.0);
    EXPECT_EQ(s.lastKnownLat(), 30.0444);
    EXPECT_EQ(s.manualLat(), 0.0);
    EXPECT_EQ(s.manualCity(), QString());
    EXPECT_EQ(s.manualTzOffsetHours(), 0.0);
    EXPECT_TRUE(s.hasManualTimezone());  // flushed in any case

    s.setUseManualLocation(true);
    s.persistResolvedLocation(QStringLiteral(" Giza "), 30.0444, 31.2357, QStringLiteral("P1"), 2.0);
    EXPECT_EQ(s.manualLat(), 30.0444);
    EXPECT_EQ(s.manualCity(), QStringLiteral("Giza"));
    EXPECT_EQ(s.manualPlaceId(), QStringLiteral("P1"));
    EXPECT_EQ(s.manualTzOffsetHours(), 2.0);

    s.persistResolvedLocation(std::nullopt, 30.044405, 31.235695, QString(), std::nullopt);
    EXPECT_EQ(s.lastKnownLat(), 30.0444);
    EXPECT_EQ(s.manualLon(), 31.2357);
    EXPECT_EQ(s.manualPlaceId(), QStringLiteral("P1"));

    s.persistResolvedLocation(std::nullopt, 30.0445, 31.2357);
    EXPECT_EQ(s.lastKnownLat(), 30.0445);
    EXPECT_EQ(s.manualLat(), 30.0445);

    s.persistResolvedLocation(std::nullopt, std::nan(""), 1.0);  // never a place
    EXPECT_EQ(s.lastKnownLat(), 30.0445);
    EXPECT_EQ(env.store->doubleValue(env.scoped(QStringLiteral("manualLat"))), 30.0445);
}

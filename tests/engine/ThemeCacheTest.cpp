#include <gtest/gtest.h>

#include "TempHome.h"
#include "engine/ThemeCache.h"
#include "platform/DefaultsStore.h"

TEST(ThemeCache, ReadsTheStoredThemeOrNothing) {
    TempHome home;
    DefaultsStore::resetStandard();
    DefaultsStore& store = DefaultsStore::standard();
    EXPECT_FALSE(ThemeCache::cached().has_value());
    store.setData(QStringLiteral("adminTheme.v1"), R"({"moon_in_clock":false,"sun_size":48})");
    auto theme = ThemeCache::cached();
    ASSERT_TRUE(theme.has_value());
    EXPECT_EQ(theme->moonInClock, false);
    EXPECT_EQ(theme->sunSize, 48);
    EXPECT_FALSE(theme->sunImageUrl.has_value());
    store.setData(QStringLiteral("adminTheme.v1"), "{}");
    EXPECT_TRUE(ThemeCache::cached().has_value());
    for (const char* bad : {"", "{\"sun_size\":\"big\"}", "[1]", "\xff\xfe"}) {
        store.setData(QStringLiteral("adminTheme.v1"), bad);
        EXPECT_FALSE(ThemeCache::cached().has_value()) << bad;
    }
    DefaultsStore::resetStandard();
}

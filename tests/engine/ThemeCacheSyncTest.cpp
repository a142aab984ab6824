#include <gtest/gtest.h>

#include "Await.h"
#include "FakeClock.h"
#include "FixtureServer.h"
#include "TempHome.h"
#include "engine/ThemeCache.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"

namespace {

class ThemeSyncTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DefaultsStore::resetStandard();
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
    }
    void TearDown() override {
        Endpoints::setCurrent(Endpoints::builtIn());
        DefaultsStore::resetStandard();
    }
    void serve(const QString& path, const char* fixture, int status = 200) {
        server.routeJson(path, FixtureServer::fixture(QStringLiteral("assets/") + QLatin1String(fixture)),
                         status);
    }
    TempHome home;
    FixtureServer server;
    FakeClock clock{"2026-12-07T05:00:00Z"};
};

}  // namespace

TEST_F(ThemeSyncTest, StoresTheServersThemeWithItsStamp) {
    serve(QStringLiteral("/v1/theme"), "theme.json");
    const std::optional<ThemeConfig> theme = await(ThemeCache::sync());
    ASSERT_TRUE(theme);
    EXPECT_EQ(theme->moonInClock, false);
    ASSERT_TRUE(ThemeCache::cached());
    EXPECT_EQ(ThemeCache::cached()->moonSize, 140);
    EXPECT_EQ(ThemeCache::cached()->sunImageUrl, QStringLiteral("https://img.example.org/sun.jpg"));
    EXPECT_EQ(DefaultsStore::standard().doubleValue(QStringLiteral("netCache.v1.ts.theme")),
              double(clock.now().toMSecsSinceEpoch()) / 1000.0);
    EXPECT_TRUE(server.requestsTo(QStringLiteral("/v1/bundle")).isEmpty());
}

TEST_F(ThemeSyncTest, FallsBackToTheBundlesTheme) {
    serve(QStringLiteral("/v1/theme"), "theme_wrong_type.json");
    serve(QStringLiteral("/v1/bundle"), "bundle_assets.json");
    const std::optional<ThemeConfig> theme = await(ThemeCache::sync());
    ASSERT_TRUE(theme);
    EXPECT_EQ(theme->sunSize, 96);
    EXPECT_EQ(ThemeCache::cached()->moonInClock, true);
}

TEST_F(ThemeSyncTest, FailuresKeepTheStoredTheme) {
    serve(QStringLiteral("/v1/theme"), "theme.json");
    ASSERT_TRUE(await(ThemeCache::sync()));
    const double stamp = DefaultsStore::standard().doubleValue(QStringLiteral("netCache.v1.ts.theme"));
    clock.advanceSeconds(3600);
    serve(QStringLiteral("/v1/theme"), "bundle_assets.json", 500);
    EXPECT_EQ(await(ThemeCache::sync())->moonSize, 140);
    server.setOffline(true);
    EXPECT_EQ(await(ThemeCache::sync())->moonSize, 140);
    EXPECT_EQ(ThemeCache::cached()->moonSize, 140);
    EXPECT_EQ(DefaultsStore::standard().doubleValue(QStringLiteral("netCache.v1.ts.theme")), stamp);
}

TEST_F(ThemeSyncTest, NothingEverReceivedGivesNothing) {
    server.setOffline(true);
    EXPECT_FALSE(await(ThemeCache::sync()));
    EXPECT_FALSE(ThemeCache::cached());
}

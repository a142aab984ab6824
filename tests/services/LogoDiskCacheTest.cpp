#include "AssetCacheEnvironment.h"
#include "Await.h"
#include "FakeClock.h"
#include "platform/Clock.h"
#include "platform/Http.h"
#include "services/LogoDiskCache.h"

#include <QDir>
#include <QFileInfo>

#include <climits>

namespace {

using Headers = QList<QPair<QByteArray, QByteArray>>;

Headers image(const char* etag) {
    return {{"Content-Type", "image/png"}, {"ETag", etag}};
}

class LogoDiskCacheTest : public AssetCacheTest {
  protected:
    void SetUp() override {
        AssetCacheTest::SetUp();
        serve(QStringLiteral("/v1/branding"), QStringLiteral("branding.json"));
        serve(QStringLiteral("/v1/logo/1"), QStringLiteral("logo_green.png"), image("\"g1\""));
        serve(QStringLiteral("/v1/logo/2"), QStringLiteral("logo_blue.png"), image("\"b1\""));
    }

    bool sync(bool force, int geoRefreshHours = 24) {
        SettingsSnapshot settings;
        settings.geoRefreshHours = geoRefreshHours;
        return await(LogoDiskCache::shared().syncDialLogos(settings, force));
    }

    static QString file(const char* name) {
        return LogoDiskCache::directoryURL() + QLatin1Char('/') + QLatin1String(name);
    }

    QList<int> cachedSlots() const {
        QList<int> out;
        for (const auto& e : LogoDiskCache::shared().cachedLogos()) out.append(e.slot);
        return out;
    }

    FakeClock clock{"2026-12-07T05:00:00Z"};
};

}  // namespace

TEST_F(LogoDiskCacheTest, FirstSyncStoresEachLogoWithItsManifest) {
    EXPECT_TRUE(sync(false));
    EXPECT_EQ(cachedSlots(), (QList<int>{1, 2}));
    EXPECT_EQ(readAll(file("logo_1.png")), asset(QStringLiteral("logo_green.png")));
    EXPECT_EQ(readAll(file("logo_2.png")), asset(QStringLiteral("logo_blue.png")));
    EXPECT_TRUE(QFileInfo::exists(file("manifest.json")));
    EXPECT_EQ(countRequests("HEAD", QStringLiteral("/v1/logo/")), 10);
    EXPECT_EQ(countRequests("GET", QStringLiteral("/v1/logo/")), 2);
    EXPECT_EQ(DefaultsStore::standard().doubleValue(QStringLiteral("netCache.v1.ts.branding.logos")),
              double(Clock::nowMs()) / 1000.0);
    ASSERT_TRUE(LogoDiskCache::shared().cachedBranding());
    EXPECT_EQ(LogoDiskCache::shared().cachedBranding()->activeLogo, 2);
}

TEST_F(LogoDiskCacheTest, UnchangedLogosAreOnlyProbed) {
    ASSERT_TRUE(sync(false));
    server.clearLog();
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(countRequests("HEAD", QStringLiteral("/v1/logo/")), 10);
    EXPECT_EQ(countRequests("GET", QStringLiteral("/v1/logo/")), 0);
    EXPECT_EQ(cachedSlots(), (QList<int>{1, 2}));
}

TEST_F(LogoDiskCacheTest, AChangedLogoIsDownloadedAlone) {
    ASSERT_TRUE(sync(false));
    server.clearLog();
    serve(QStringLiteral("/v1/logo/1"), QStringLiteral("logo_gold.png"), image("\"g2\""));
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(server.requestsTo(QStringLiteral("/v1/logo/1")).size(), 2);  // HEAD and GET
    EXPECT_EQ(server.requestsTo(QStringLiteral("/v1/logo/2")).size(), 1);  // HEAD only
    EXPECT_EQ(readAll(file("logo_1.png")), asset(QStringLiteral("logo_gold.png")));
}

TEST_F(LogoDiskCacheTest, AFileChangedOnDiskIsFetchedAgain) {
    ASSERT_TRUE(sync(false));
    write(file("logo_2.png"), "truncated");
    server.clearLog();
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(countRequests("GET", QStringLiteral("/v1/logo/2")), 1);
    EXPECT_EQ(readAll(file("logo_2.png")), asset(QStringLiteral("logo_blue.png")));
}

TEST_F(LogoDiskCacheTest, ASlotTheServerNoLongerHasIsRemoved) {
    ASSERT_TRUE(sync(false));
    server.clearRoutes();
    serve(QStringLiteral("/v1/branding"), QStringLiteral("branding.json"));
    serve(QStringLiteral("/v1/logo/1"), QStringLiteral("logo_green.png"), image("\"g1\""));
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(cachedSlots(), QList<int>{1});
    EXPECT_FALSE(QFileInfo::exists(file("logo_2.png")));
}

TEST_F(LogoDiskCacheTest, ServerDownKeepsTheCacheAndTheStamp) {
    ASSERT_TRUE(sync(false));
    const double stamp =
        DefaultsStore::standard().doubleValue(QStringLiteral("netCache.v1.ts.branding.logos"));
    clock.advanceSeconds(2 * 86400);
    server.setOffline(true);
    const quint64 before = Http::requestCount();
    EXPECT_FALSE(sync(false));
    EXPECT_EQ(Http::requestCount() - before, 3u);  // branding, bundle and the first slot; then it gives up
    EXPECT_EQ(cachedSlots(), (QList<int>{1, 2}));
    EXPECT_EQ(DefaultsStore::standard().doubleValue(QStringLiteral("netCache.v1.ts.branding.logos")), stamp);
    ASSERT_TRUE(LogoDiskCache::shared().cachedBranding());
}

TEST_F(LogoDiskCacheTest, AServerErrorOnOneSlotKeepsThatSlot) {
    ASSERT_TRUE(sync(false));
    serve(QStringLiteral("/v1/logo/2"), QStringLiteral("logo_blue.png"), image("\"b1\""), 503);
    EXPECT_FALSE(sync(true));
    EXPECT_EQ(cachedSlots(), (QList<int>{1, 2}));
}

TEST_F(LogoDiskCacheTest, AFreshStampAsksNothingUntilItExpires) {
    ASSERT_TRUE(sync(false, 6));
    server.clearLog();
    clock.advanceSeconds(6 * 3600 - 1);
    EXPECT_TRUE(sync(false, 6));
    EXPECT_TRUE(server.log().isEmpty());
    clock.advanceSeconds(1);
    EXPECT_TRUE(sync(false, 6));
    EXPECT_EQ(countRequests("HEAD", QStringLiteral("/v1/logo/")), 10);
    // A refresh setting below one hour counts as one hour.
    server.clearLog();
    clock.advanceSeconds(3599);
    EXPECT_TRUE(sync(false, 0));
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(LogoDiskCacheTest, ACorruptManifestIsRebuilt) {
    ASSERT_TRUE(sync(false));
    write(file("manifest.json"), "{\"logos\": [tr");
    write(file("logo_5.gif"), "left behind");
    server.clearLog();
    EXPECT_TRUE(LogoDiskCache::shared().cachedLogos().isEmpty());
    EXPECT_TRUE(sync(false));  // the stamp is fresh, but a manifest that does not read is no cache
    EXPECT_EQ(countRequests("GET", QStringLiteral("/v1/logo/")), 2);
    EXPECT_EQ(cachedSlots(), (QList<int>{1, 2}));
    EXPECT_FALSE(QFileInfo::exists(file("logo_5.gif")));
}

TEST_F(LogoDiskCacheTest, HostileManifestEntriesAreIgnored) {
    ASSERT_TRUE(sync(false));
    write(
        file("manifest.json"),
        R"({"logos":[{"slot":1,"file":"../../escape.png","bytes":99},{"slot":11,"file":"logo_11.png","bytes":1},
              {"slot":2,"file":"logo_2.png","bytes":"x"}]})");
    EXPECT_TRUE(LogoDiskCache::shared().cachedLogos().isEmpty());
    EXPECT_FALSE(LogoDiskCache::shared().pickDialLogo(0).url);
}

TEST_F(LogoDiskCacheTest, ABodyThatIsNoImageIsNotStored) {
    ASSERT_TRUE(sync(false));
    server.route(QStringLiteral("/v1/logo/1"),
                 FixtureServer::Reply{
                     200, "<html>maintenance</html>", {{"Content-Type", "text/html"}, {"ETag", "\"x\""}}});
    EXPECT_FALSE(sync(true));
    EXPECT_EQ(readAll(file("logo_1.png")), asset(QStringLiteral("logo_green.png")));
}

TEST_F(LogoDiskCacheTest, BrandingFallsBackToTheBundle) {
    server.route(QStringLiteral("/v1/branding"), FixtureServer::Reply{500, "{}"});
    serve(QStringLiteral("/v1/bundle"), QStringLiteral("bundle_assets.json"));
    EXPECT_TRUE(sync(false));
    ASSERT_TRUE(LogoDiskCache::shared().cachedBranding());
    EXPECT_EQ(LogoDiskCache::shared().cachedBranding()->activeLogo, 1);
}

TEST_F(LogoDiskCacheTest, PickShowsTheActiveSlotAndAdvancesTheIndex) {
    ASSERT_TRUE(sync(false));
    const LogoDiskCache::Pick pick = LogoDiskCache::shared().pickDialLogo(4);
    ASSERT_TRUE(pick.url);
    EXPECT_EQ(pick.url->toLocalFile(), file("logo_2.png"));
    EXPECT_EQ(pick.nextRotateIndex, 5);
    EXPECT_EQ(LogoDiskCache::shared().pickDialLogo(INT_MAX).nextRotateIndex, 0);
}

TEST_F(LogoDiskCacheTest, PickRotatesThroughTheCachedLogos) {
    server.clearRoutes();
    serve(QStringLiteral("/v1/branding"), QStringLiteral("branding_rotating.json"));
    serve(QStringLiteral("/v1/logo/1"), QStringLiteral("logo_green.png"), image("\"g1\""));
    serve(QStringLiteral("/v1/logo/3"), QStringLiteral("logo_gold.png"), image("\"c1\""));
    ASSERT_TRUE(sync(false));
    struct Row {
        int index;
        const char* file;
        int next;
    };
    const Row rows[] = {
        {0, "logo_1.png", 1}, {1, "logo_3.png", 0}, {7, "logo_3.png", 0}, {-1, "logo_3.png", 0}};
    for (const Row& r : rows) {
        const LogoDiskCache::Pick pick = LogoDiskCache::shared().pickDialLogo(r.index);
        ASSERT_TRUE(pick.url) << r.index;
        EXPECT_EQ(pick.url->toLocalFile(), file(r.file)) << r.index;
        EXPECT_EQ(pick.nextRotateIndex, r.next) << r.index;
    }
    // The branding's own versions decide: a HEAD that says otherwise does not cause a download.
    server.clearLog();
    serve(QStringLiteral("/v1/logo/3"), QStringLiteral("logo_gold.png"), image("\"other\""));
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(countRequests("GET", QStringLiteral("/v1/logo/")), 0);
}

TEST_F(LogoDiskCacheTest, NothingCachedPicksNothing) {
    const LogoDiskCache::Pick pick = LogoDiskCache::shared().pickDialLogo(3);
    EXPECT_FALSE(pick.url);
    EXPECT_EQ(pick.nextRotateIndex, 4);
}

TEST_F(LogoDiskCacheTest, SyncsStartedTogetherRunOneAfterTheOther) {
    SettingsSnapshot settings;
    auto first = LogoDiskCache::shared().syncDialLogos(settings, true);
    auto second = LogoDiskCache::shared().syncDialLogos(settings, true);
    EXPECT_TRUE(await(std::move(first)));
    EXPECT_TRUE(await(std::move(second)));
    // The second run starts (with its branding request) only after the first has probed every slot.
    QList<QString> paths;
    for (const auto& r : server.log())
        paths.append(QString::fromLatin1(r.method) + QLatin1Char(' ') + r.path);
    const qsizetype secondStart = paths.lastIndexOf(QStringLiteral("GET /v1/branding"));
    ASSERT_GT(secondStart, 0);
    EXPECT_EQ(paths.mid(0, secondStart).count(QStringLiteral("HEAD /v1/logo/10")), 1);
    EXPECT_EQ(countRequests("GET", QStringLiteral("/v1/logo/")), 2);
}

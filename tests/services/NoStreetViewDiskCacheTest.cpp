#include "AssetCacheEnvironment.h"
#include "Await.h"
#include "FakeClock.h"
#include "services/NoStreetViewDiskCache.h"

#include <QFileInfo>

namespace {

const QString kMeta = QStringLiteral("/v1/streetview_unavailable/meta");
const QString kImage = QStringLiteral("/v1/streetview_unavailable");
const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);

class NoStreetViewTest : public AssetCacheTest {
  protected:
    void SetUp() override {
        AssetCacheTest::SetUp();
        serve(kMeta, QStringLiteral("nosv_meta_v1.json"));
        serve(kImage, QStringLiteral("nosv_server.png"), {{"Content-Type", "image/png"}});
    }
    static NoStreetViewDiskCache& cache() { return NoStreetViewDiskCache::shared(); }
    static QString manifest() {
        return NoStreetViewDiskCache::directoryURL() + QStringLiteral("/manifest.json");
    }
    bool sync(bool force, int hours = 24) { return await(cache().sync(force, hours)); }

    FakeClock clock{"2026-12-07T05:00:00Z"};
};

}  // namespace

TEST(NoStreetViewDiskCache, IsPNGBoundaries) {
    struct Row {
        QByteArray data;
        bool expected;
        const char* what;
    };
    const Row rows[] = {
        {kSignature, true, "signature alone"},
        {kSignature + "\"error\"", true, "signature wins over an error word"},
        {QByteArray("\x89PNG\r\n\x1a", 7), false, "seven bytes of the signature"},
        {QByteArray(), false, "empty"},
        {QByteArray(256, 'x'), false, "256 other bytes"},
        {QByteArray(257, 'x'), true, "257 other bytes"},
        {QByteArray("{\"error\":1}") + QByteArray(400, ' '), false, "error word at the start"},
        {QByteArray(25, ' ') + "\"error\"" + QByteArray(400, ' '), false,
         "error word ending on the 32nd byte"},
        {QByteArray(26, ' ') + "\"error\"" + QByteArray(400, ' '), true,
         "error word reaching past the first 32 bytes"},
        {QByteArray("error") + QByteArray(400, ' '), true, "the word without quotes"},
    };
    for (const Row& r : rows) EXPECT_EQ(NoStreetViewDiskCache::isPNG(r.data), r.expected) << r.what;
}

TEST(NoStreetViewDiskCache, BundledPictureIsAPNG) {
    const std::optional<QByteArray> png = NoStreetViewDiskCache::bundledData();
    ASSERT_TRUE(png);
    EXPECT_TRUE(png->startsWith(kSignature));
    const QImage image = QImage::fromData(*png);
    EXPECT_EQ(image.size(), QSize(600, 400));
}

TEST_F(NoStreetViewTest, FolderAndFileNames) {
    EXPECT_EQ(NoStreetViewDiskCache::directoryURL(),
              home.dataHome() + QStringLiteral("/Orvane/NoStreetView"));
    EXPECT_EQ(NoStreetViewDiskCache::imagePath(),
              home.dataHome() + QStringLiteral("/Orvane/NoStreetView/no_streetview.png"));
}

TEST_F(NoStreetViewTest, WithoutAStoredPictureTheBuiltInOneShows) {
    EXPECT_EQ(await(cache().cachedImage()).size(), QSize(600, 400));
}

TEST_F(NoStreetViewTest, FirstSyncStoresThePictureManifestAndStamp) {
    EXPECT_TRUE(sync(false));
    EXPECT_EQ(readAll(NoStreetViewDiskCache::imagePath()), asset(QStringLiteral("nosv_server.png")));
    EXPECT_TRUE(readAll(manifest()).contains("\"version\":\"1\""));
    EXPECT_EQ(DefaultsStore::standard().doubleValue(QStringLiteral("netCache.v1.ts.branding.nosv")),
              double(clock.now().toMSecsSinceEpoch()) / 1000.0);
    EXPECT_EQ(await(cache().cachedImage()).size(), QSize(120, 80));
}

TEST_F(NoStreetViewTest, AFreshStampAsksNothing) {
    ASSERT_TRUE(sync(false, 24));
    server.clearLog();
    clock.advanceSeconds(24 * 3600 - 1);
    EXPECT_TRUE(sync(false, 24));
    EXPECT_TRUE(server.log().isEmpty());
    // The same version after expiry: the meta is asked, the picture is not fetched again.
    clock.advanceSeconds(1);
    EXPECT_TRUE(sync(false, 24));
    EXPECT_EQ(server.requestsTo(kMeta).size(), 1);
    EXPECT_TRUE(server.requestsTo(kImage).isEmpty());
}

TEST_F(NoStreetViewTest, AMaximumAgeBelowOneHourCountsAsOneHour) {
    ASSERT_TRUE(sync(false, 0));
    server.clearLog();
    clock.advanceSeconds(3599);
    EXPECT_TRUE(sync(false, -5));
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(NoStreetViewTest, AFreshStampWithoutTheFileStillSyncs) {
    ASSERT_TRUE(sync(false));
    QFile::remove(NoStreetViewDiskCache::imagePath());
    server.clearLog();
    EXPECT_TRUE(sync(false));
    EXPECT_EQ(server.requestsTo(kImage).size(), 1);
}

TEST_F(NoStreetViewTest, ANewVersionIsDownloaded) {
    ASSERT_TRUE(sync(false));
    serve(kMeta, QStringLiteral("nosv_meta_v2.json"));
    server.clearLog();
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(server.requestsTo(kImage).size(), 1);
    EXPECT_TRUE(readAll(manifest()).contains("\"version\":\"2\""));
}

TEST_F(NoStreetViewTest, NoPictureOnTheServerRemovesOurs) {
    ASSERT_TRUE(sync(false));
    serve(kMeta, QStringLiteral("nosv_meta_none.json"));
    EXPECT_FALSE(sync(true));
    EXPECT_FALSE(QFileInfo::exists(NoStreetViewDiskCache::imagePath()));
    EXPECT_FALSE(QFileInfo::exists(manifest()));
    EXPECT_EQ(await(cache().cachedImage()).size(), QSize(600, 400));
}

TEST_F(NoStreetViewTest, ServerDownKeepsThePicture) {
    ASSERT_TRUE(sync(false));
    server.setOffline(true);
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(readAll(NoStreetViewDiskCache::imagePath()), asset(QStringLiteral("nosv_server.png")));
    QFile::remove(NoStreetViewDiskCache::imagePath());
    EXPECT_FALSE(sync(true));
}

TEST_F(NoStreetViewTest, ErrorPagesAreNeverStored) {
    const char* pages[] = {"nosv_error_page.json", "nosv_html_page.html"};
    for (const char* page : pages) {
        serve(kImage, QLatin1String(page), {{"Content-Type", "text/html"}});
        EXPECT_FALSE(sync(true)) << page;
        EXPECT_FALSE(QFileInfo::exists(NoStreetViewDiskCache::imagePath())) << page;
    }
    serve(kImage, QStringLiteral("nosv_server.png"), {{"Content-Type", "image/png"}});
    ASSERT_TRUE(sync(true));
    serve(kMeta, QStringLiteral("nosv_meta_v2.json"));
    serve(kImage, QStringLiteral("nosv_error_page.json"));
    EXPECT_TRUE(sync(true));  // the old picture is still in place
    EXPECT_EQ(readAll(NoStreetViewDiskCache::imagePath()), asset(QStringLiteral("nosv_server.png")));
    EXPECT_TRUE(readAll(manifest()).contains("\"version\":\"1\""));
}

TEST_F(NoStreetViewTest, AnUnreadableStoredFileFallsBackToTheBuiltInPicture) {
    ASSERT_TRUE(sync(false));
    for (const char* page : {"nosv_error_page.json", "nosv_html_page.html"}) {
        write(NoStreetViewDiskCache::imagePath(), asset(QLatin1String(page)));
        EXPECT_EQ(await(cache().cachedImage()).size(), QSize(600, 400)) << page;
    }
}

TEST_F(NoStreetViewTest, AnOversizedPictureIsRefused) {
    FixtureServer::Reply big;
    big.body = kSignature + QByteArray(10 * 1024 * 1024, '\0');
    big.headers = {{"Content-Type", "image/png"}};
    server.route(kImage, big);
    EXPECT_FALSE(sync(true));
    EXPECT_FALSE(QFileInfo::exists(NoStreetViewDiskCache::imagePath()));
}

TEST_F(NoStreetViewTest, ACorruptManifestMeansTheVersionIsUnknown) {
    ASSERT_TRUE(sync(false));
    write(manifest(), "{\"version\": ");
    server.clearLog();
    EXPECT_TRUE(sync(true));
    EXPECT_EQ(server.requestsTo(kImage).size(), 1);
    EXPECT_TRUE(readAll(manifest()).contains("\"version\":\"1\""));
}

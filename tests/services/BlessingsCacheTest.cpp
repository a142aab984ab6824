#include "AssetCacheEnvironment.h"
#include "Await.h"
#include "FakeClock.h"
#include "services/BlessingsCache.h"

namespace {

const QString kPath = QStringLiteral("/v1/blessings");

class BlessingsCacheTest : public AssetCacheTest {
  protected:
    BlessingsConfig sync(bool force, int hours = 24) { return await(BlessingsCache::sync(force, hours)); }
    static BlessingsConfig fixture(const char* name) {
        return *JsonCoding::decode<BlessingsConfig>(asset(QLatin1String(name)));
    }
    FakeClock clock{"2026-12-07T05:00:00Z"};
};

}  // namespace

TEST_F(BlessingsCacheTest, NothingStoredGivesTheBuiltInConfiguration) {
    EXPECT_EQ(BlessingsCache::filePath(),
              home.dataHome() + QStringLiteral("/Orvane/Blessings/blessings.json"));
    EXPECT_FALSE(BlessingsCache::stored());
    EXPECT_EQ(BlessingsCache::current(), BlessingsConfig::defaults());
}

TEST_F(BlessingsCacheTest, FirstSyncStoresTheServersConfiguration) {
    serve(kPath, QStringLiteral("blessings_v2.json"));
    const BlessingsConfig expected = fixture("blessings_v2.json");
    EXPECT_EQ(sync(false), expected);
    EXPECT_EQ(BlessingsCache::current(), expected);
    EXPECT_EQ(BlessingsCache::current().card(QStringLiteral("fi_sabilillah"))->english,
              QStringLiteral("For the sake of Allah"));
}

TEST_F(BlessingsCacheTest, AFreshStampAsksNothing) {
    serve(kPath, QStringLiteral("blessings_v2.json"));
    sync(false, 6);
    server.clearLog();
    clock.advanceSeconds(6 * 3600 - 1);
    sync(false, 6);
    EXPECT_TRUE(server.log().isEmpty());
    clock.advanceSeconds(1);
    sync(false, 6);
    EXPECT_EQ(server.requestsTo(kPath).size(), 1);
}

TEST_F(BlessingsCacheTest, TheStoredCopyIsReplacedOnlyForANewVersionOrAMissingUpdateTime) {
    serve(kPath, QStringLiteral("blessings_v2.json"));
    sync(false);
    serve(kPath, QStringLiteral("blessings_v2_edited.json"));
    EXPECT_EQ(sync(true), fixture("blessings_v2.json"));
    serve(kPath, QStringLiteral("blessings_v3.json"));
    const BlessingsConfig v3 = sync(true);
    EXPECT_EQ(v3.version, 3);
    EXPECT_FALSE(v3.appEnabled);
    EXPECT_EQ(BlessingsCache::current(), v3);
}

TEST_F(BlessingsCacheTest, FailuresKeepWhatWasThere) {
    serve(kPath, QStringLiteral("blessings_v2.json"));
    const BlessingsConfig v2 = sync(false);
    serve(kPath, QStringLiteral("blessings_bad_card.json"));
    EXPECT_EQ(sync(true), v2);
    serve(kPath, QStringLiteral("blessings_v3.json"), {}, 500);
    EXPECT_EQ(sync(true), v2);
    server.setOffline(true);
    EXPECT_EQ(sync(true), v2);
    EXPECT_EQ(BlessingsCache::current(), v2);
}

TEST_F(BlessingsCacheTest, ACorruptFileReadsAsNothingAndIsRewritten) {
    serve(kPath, QStringLiteral("blessings_v2.json"));
    sync(false);
    write(BlessingsCache::filePath(), "{\"cards\": [");
    EXPECT_EQ(BlessingsCache::current(), BlessingsConfig::defaults());
    EXPECT_EQ(sync(false), fixture("blessings_v2.json"));  // a fresh stamp over an unreadable file is a miss
    EXPECT_EQ(BlessingsCache::current(), fixture("blessings_v2.json"));
}

TEST_F(BlessingsCacheTest, ServerDownWithNothingStoredGivesTheBuiltInConfiguration) {
    server.setOffline(true);
    EXPECT_EQ(sync(false), BlessingsConfig::defaults());
    EXPECT_FALSE(BlessingsCache::stored());
}

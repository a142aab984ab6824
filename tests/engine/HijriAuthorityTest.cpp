#include <gtest/gtest.h>

#include "Await.h"
#include "DeviceZone.h"
#include "FakeClock.h"
#include "FixtureServer.h"
#include "IsolatedDefaults.h"
#include "engine/HijriAuthority.h"
#include "engine/LocalHijri.h"
#include "platform/Endpoints.h"

namespace {

const QString kPath = QStringLiteral("/v1/hijri_date");
const QString kOffset = QStringLiteral("hijri.authority.dayOffset");
const QString kSyncedAt = QStringLiteral("hijri.authority.syncedAt");

class HijriAuthorityTest : public ::testing::Test {
  protected:
    void SetUp() override { Endpoints::setCurrent(Endpoints::allAt(server.origin())); }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }

    qint64 sync(bool force = false, std::optional<double> lat = 21.4225241,
                std::optional<double> lon = 39.8261818) {
        return await(HijriAuthority::sync(lat, lon, clock.now(), force));
    }
    void reply(const char* fixture, int status = 200) {
        server.routeFixture(kPath, QLatin1String(fixture), status);
    }
    qsizetype requests() const { return server.requestsTo(kPath).size(); }
    DefaultsStore& store() { return defaults.store(); }

    DeviceZone zone{"Asia/Riyadh"};
    IsolatedDefaults defaults;
    FakeClock clock{"2026-08-13T09:00:00Z"};
    FixtureServer server;
};

HijriAuthority::RemotePayload payload(const LocalHijri::YMD& h, std::optional<qint64> adjusted) {
    HijriAuthority::RemotePayload p;
    p.hijri = {h.year, h.month, h.day, std::nullopt};
    p.gregorian = {2026, 8, 13};
    p.adjusted = adjusted;
    return p;
}

LocalHijri::YMD ummAlQura(int y, int m, int d) {
    return LocalHijri::civilYMD(QDateTime(QDate(y, m, d), QTime(0, 0), QTimeZone::utc()));
}

}  // namespace

TEST_F(HijriAuthorityTest, AsksWithTheLocalDateAndStoresTheAnswer) {
    reply("hijri_date_13_08_2026.json");
    EXPECT_EQ(sync(), 0);
    ASSERT_EQ(requests(), 1);
    EXPECT_EQ(server.log()[0].query.toString(QUrl::FullyDecoded),
              QStringLiteral("date=13-08-2026&lat=21.4225241&lon=39.8261818"));
    EXPECT_EQ(store().integer(kOffset), 0);
    EXPECT_EQ(store().string(QStringLiteral("hijri.authority.anchorGregorian")),
              QStringLiteral("2026-08-13"));
    EXPECT_EQ(store().string(QStringLiteral("hijri.authority.hijriYMD")), QStringLiteral("1448-02-30"));
    EXPECT_EQ(store().string(QStringLiteral("hijri.authority.source")), QStringLiteral("ummalqura"));
    EXPECT_EQ(store().doubleValue(kSyncedAt), 1786611600.0);
}

TEST_F(HijriAuthorityTest, ThrottleAndForce) {
    reply("hijri_date_sighted_day_ahead.json");
    EXPECT_EQ(sync(), 1);
    reply("hijri_date_13_08_2026.json");
    clock.advanceSeconds(2 * 3600 + 59 * 60);
    EXPECT_EQ(sync(), 1);
    EXPECT_EQ(requests(), 1);
    EXPECT_EQ(sync(true), 0);
    EXPECT_EQ(requests(), 2);
    clock.advanceSeconds(3 * 3600);
    sync();
    EXPECT_EQ(requests(), 3);
}

TEST_F(HijriAuthorityTest, StampFarInTheFutureDoesNotHoldRequestsBack) {
    reply("hijri_date_13_08_2026.json");
    store().setDouble(kSyncedAt, 1786611600.0 + 2 * 3600);
    sync();
    EXPECT_EQ(requests(), 0);
    store().setDouble(kSyncedAt, 1786611600.0 + 90 * 86400);
    sync();
    EXPECT_EQ(requests(), 1);
}

TEST_F(HijriAuthorityTest, FailuresKeepTheStoredOffset) {
    store().setInteger(kOffset, -1);
    store().setDouble(kSyncedAt, 1000.0);
    const std::pair<const char*, int> replies[] = {
        {"hijri_date_not_found.json", 404},  {"hijri_date_13_08_2026.json", 500},
        {"hijri_date_13_08_2026.json", 201}, {"hijri_date_fractional_month.json", 200},
        {"hijri_date_adjusted_7.json", 200}, {"hijri_date_not_found.json", 200},
        {"hijri_date_impossible.json", 200},
    };
    for (const auto& [fixture, status] : replies) {
        reply(fixture, status);
        EXPECT_EQ(sync(), -1) << fixture << " " << status;
        EXPECT_EQ(store().doubleValue(kSyncedAt), 1000.0);
        EXPECT_FALSE(store().contains(QStringLiteral("hijri.authority.hijriYMD")));
    }
    EXPECT_EQ(requests(), 7);  // no back-off: every call asks again
    server.setOffline(true);
    EXPECT_EQ(sync(), -1);
}

TEST_F(HijriAuthorityTest, NoMatchFallsBackToAdjustedOrZero) {
    reply("hijri_date_no_source_no_match.json");
    EXPECT_EQ(sync(true), 0);
    EXPECT_EQ(store().string(QStringLiteral("hijri.authority.source")), QStringLiteral("aladhan"));
    reply("hijri_date_adjusted_3.json");
    EXPECT_EQ(sync(true), 3);
    EXPECT_EQ(store().integer(kOffset), 3);
}

TEST_F(HijriAuthorityTest, TheDayComparedIsTheOneTheRequestNamed) {
    // 01:30 on 14 August in Riyadh is still 13 August in UTC.
    clock.set(QDateTime::fromString(QStringLiteral("2026-08-13T22:30:00Z"), Qt::ISODate));
    reply("hijri_date_14_08_2026.json");
    EXPECT_EQ(sync(), 0);
    EXPECT_EQ(server.log()[0].query.queryItemValue(QStringLiteral("date")), QStringLiteral("14-08-2026"));
}

TEST_F(HijriAuthorityTest, WithoutCoordinatesOnlyTheDate) {
    reply("hijri_date_13_08_2026.json");
    sync(false, std::nullopt, std::nullopt);
    EXPECT_EQ(server.log()[0].query.toString(QUrl::FullyDecoded), QStringLiteral("date=13-08-2026"));
}

TEST_F(HijriAuthorityTest, NoServerAddressMeansNoRequest) {
    store().setInteger(kOffset, 2);
    Endpoints e = Endpoints::allAt(server.origin());
    e.server = QUrl(QStringLiteral("not an origin"));
    Endpoints::setCurrent(e);
    EXPECT_EQ(sync(), 2);
    EXPECT_TRUE(server.log().isEmpty());
}

TEST(HijriAuthorityResolve, CandidateOrder) {
    const QDate day(2026, 8, 13);
    const LocalHijri::YMD same = ummAlQura(2026, 8, 13);
    const LocalHijri::YMD next = ummAlQura(2026, 8, 14);
    const LocalHijri::YMD twoBack = ummAlQura(2026, 8, 11);
    EXPECT_EQ(HijriAuthority::resolveOffset(payload(same, 1), day), 0);  // adjusted 1 does not match
    EXPECT_EQ(HijriAuthority::resolveOffset(payload(next, 1), day), 1);
    EXPECT_EQ(HijriAuthority::resolveOffset(payload(next, std::nullopt), day), 1);
    EXPECT_EQ(HijriAuthority::resolveOffset(payload(twoBack, 0), day), -2);
    EXPECT_EQ(HijriAuthority::resolveOffset(payload({1400, 1, 1}, std::nullopt), day), 0);
    EXPECT_EQ(HijriAuthority::resolveOffset(payload({1400, 1, 1}, -3), day), -3);
    EXPECT_FALSE(HijriAuthority::resolveOffset(payload({1400, 1, 1}, 4), day));
    EXPECT_FALSE(HijriAuthority::resolveOffset(payload({1400, 1, 1}, -9000000000LL), day));
    // An adjusted value that matches wins over the search even beyond the first candidate.
    EXPECT_EQ(HijriAuthority::resolveOffset(payload(twoBack, -2), day), -2);
}

TEST(HijriAuthorityResolve, StrictReplyDecoding) {
    EXPECT_TRUE(JsonCoding::decode<HijriAuthority::RemotePayload>(
        R"({"hijri":{"year":1448,"month":2,"day":30},"gregorian":{"year":2026,"month":8,"day":13},"source":null,"adjusted":null})"));
    EXPECT_FALSE(JsonCoding::decode<HijriAuthority::RemotePayload>(
        R"({"hijri":{"year":1448,"month":2,"day":30},"gregorian":{"year":2026,"month":8}})"));
    EXPECT_FALSE(JsonCoding::decode<HijriAuthority::RemotePayload>(
        R"({"hijri":{"year":1448,"month":2,"day":30},"gregorian":{"year":2026,"month":8,"day":13},"adjusted":"1"})"));
    EXPECT_FALSE(JsonCoding::decode<HijriAuthority::RemotePayload>(
        R"({"hijri":{"year":1448,"month":2,"day":"30"},"gregorian":{"year":2026,"month":8,"day":13}})"));
    EXPECT_FALSE(JsonCoding::decode<HijriAuthority::RemotePayload>(
        R"({"gregorian":{"year":2026,"month":8,"day":13}})"));
}

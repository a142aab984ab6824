#include <gtest/gtest.h>

#include "Await.h"
#include "FakeClock.h"
#include "FixtureServer.h"
#include "IsolatedDefaults.h"
#include "engine/LocalAlerts.h"
#include "engine/NetworkDiscipline.h"
#include "platform/Endpoints.h"

#include <QElapsedTimer>

using namespace std::chrono_literals;

namespace {

const QString kNws = QStringLiteral("/alerts/active");
const QString kQuakes = QStringLiteral("/fdsnws/event/1/query");
constexpr double kLat = 34.0;
constexpr double kLon = -118.0;

class AlertListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        server.routeFixture(kNws, QStringLiteral("nws_alerts_active_columbus.json"));
        server.routeFixture(kQuakes, QStringLiteral("usgs_fdsn_query_southern_california.json"));
    }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }

    LocalAlerts::Fetched fetchWithOrigin(const char* scope = "region", qint64 hours = 4, bool force = false,
                                         const char* country = "us") {
        return await(LocalAlerts::fetch(kLat, kLon, QString::fromLatin1(country), std::nullopt,
                                        QString::fromLatin1(scope), hours, force));
    }
    QList<Alert> fetch(const char* scope = "region", qint64 hours = 4, bool force = false,
                       const char* country = "us") {
        return fetchWithOrigin(scope, hours, force, country).items;
    }
    qsizetype requests() const { return server.log().size(); }
    // Both services reply with errors (a listening socket closed and reopened may lose its port to another
    // test's connection, so "offline" is not used where the feeds come back).
    void failBothFeeds() {
        server.routeFixture(kNws, QStringLiteral("nws_alerts_problem.json"), 503);
        server.routeJson(kQuakes, "<html>maintenance</html>", 503);
    }

    IsolatedDefaults defaults;
    FakeClock clock{"2026-12-09T08:00:00Z"};
    FixtureServer server;
};

QStringList types(const QList<Alert>& items) {
    QStringList out;
    for (const Alert& a : items) out.append(a.type.value_or(QString()));
    return out;
}

}  // namespace

TEST(LocalAlertsKey, ScopeAndCoordinates) {
    EXPECT_EQ(LocalAlerts::cacheKey(QStringLiteral("region"), 21.42252, 39.82618),
              QStringLiteral("alerts.region.21.423,39.826"));
    EXPECT_EQ(LocalAlerts::cacheKey(QStringLiteral(" State "), 51.5005, -0.0004),
              QStringLiteral("alerts.province.51.501,-0.000"));
}

TEST_F(AlertListTest, WeatherAlertsThenQuakesCachedUntilTheyAgeOut) {
    const QList<Alert> first = fetch();
    EXPECT_EQ(
        types(first),
        QStringList({QStringLiteral("weather"), QStringLiteral("weather"), QStringLiteral("weather"),
                     QStringLiteral("weather"), QStringLiteral("weather"), QStringLiteral("earthquake"),
                     QStringLiteral("earthquake"), QStringLiteral("earthquake"), QStringLiteral("earthquake"),
                     QStringLiteral("earthquake"), QStringLiteral("earthquake")}));
    EXPECT_EQ(requests(), 2);
    const auto cached =
        NetworkDiscipline::loadCodable<CachedAlerts>(QStringLiteral("alerts.region.34.000,-118.000"));
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->items.size(), 11);

    clock.advanceSeconds(4 * 3600 - 1);
    EXPECT_EQ(fetch().size(), 11);
    EXPECT_EQ(requests(), 2);
    clock.advanceSeconds(1);
    fetch();
    EXPECT_EQ(requests(), 4);
}

TEST_F(AlertListTest, FeedsRunConcurrently) {
    FixtureServer::Reply slowNws{200, FixtureServer::fixture(QStringLiteral("nws_alerts_active_empty.json"))};
    slowNws.delay = 600ms;
    FixtureServer::Reply slowQuakes{200,
                                    FixtureServer::fixture(QStringLiteral("usgs_fdsn_query_empty.json"))};
    slowQuakes.delay = 600ms;
    server.route(kNws, slowNws);
    server.route(kQuakes, slowQuakes);
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(fetch().isEmpty());
    EXPECT_LT(t.elapsed(), 1100);
}

TEST_F(AlertListTest, EmptyListIsCachedAndForceAlwaysAsks) {
    server.routeFixture(kNws, QStringLiteral("nws_alerts_active_empty.json"));
    server.routeFixture(kQuakes, QStringLiteral("usgs_fdsn_query_empty.json"));
    EXPECT_TRUE(fetch().isEmpty());
    EXPECT_TRUE(fetch().isEmpty());
    EXPECT_EQ(requests(), 2);
    server.routeFixture(kNws, QStringLiteral("nws_alerts_active_columbus.json"));
    EXPECT_EQ(fetch("region", 4, true).size(), 5);
    EXPECT_EQ(requests(), 4);
    EXPECT_EQ(fetch().size(), 5);  // the forced answer replaced the entry
    EXPECT_EQ(requests(), 4);
}

TEST_F(AlertListTest, MaxAgeBelowOneHourMeansOneHour) {
    fetch("city", 0);
    clock.advanceSeconds(3599);
    fetch("city", -3);
    EXPECT_EQ(requests(), 2);
    clock.advanceSeconds(1);
    fetch("city", 0);
    EXPECT_EQ(requests(), 4);
}

TEST_F(AlertListTest, AFailedFeedIsNeverCachedAsNoAlerts) {
    server.routeFixture(kNws, QStringLiteral("nws_alerts_problem.json"), 503);
    const QList<Alert> partial = fetch();
    EXPECT_EQ(types(partial), QStringList(6, QStringLiteral("earthquake")));
    EXPECT_FALSE(NetworkDiscipline::loadData(QStringLiteral("alerts.region.34.000,-118.000")));
    fetch();
    EXPECT_EQ(requests(), 4);  // nothing was stored, so the next load asks again

    // A good list stays in place when a later forced load meets a failing feed.
    server.routeFixture(kNws, QStringLiteral("nws_alerts_active_columbus.json"));
    fetch();
    server.routeJson(kQuakes, "<html>maintenance</html>");
    EXPECT_EQ(fetch("region", 4, true).size(), 11);  // the stored quakes stand in for the failed feed
    EXPECT_EQ(NetworkDiscipline::loadCodable<CachedAlerts>(QStringLiteral("alerts.region.34.000,-118.000"))
                  ->items.size(),
              11);
}

TEST_F(AlertListTest, PlacesOutsideTheUsAndCanadaAskOnlyForQuakes) {
    EXPECT_EQ(types(fetch("region", 4, false, "mx")),
              QStringList({QStringLiteral("earthquake")}));  // only the quake placed in Mexico
    EXPECT_TRUE(server.requestsTo(kNws).isEmpty());
    EXPECT_EQ(server.requestsTo(kQuakes).size(), 1);
}

TEST_F(AlertListTest, UnreadableCacheEntryIsAMiss) {
    const QString key = QStringLiteral("alerts.region.34.000,-118.000");
    NetworkDiscipline::storeData("{\"items\":\"none\"}", key);
    EXPECT_EQ(fetch().size(), 11);
    EXPECT_EQ(requests(), 2);
    EXPECT_EQ(NetworkDiscipline::loadCodable<CachedAlerts>(key)->items.size(), 11);
}

TEST_F(AlertListTest, AFailedFeedServesTheStoredListForTwelveHours) {
    using Origin = LocalAlerts::Origin;
    EXPECT_EQ(fetchWithOrigin().origin, Origin::Checked);
    clock.advanceSeconds(5 * 3600);  // past the refresh, so the feeds are asked
    failBothFeeds();
    LocalAlerts::Fetched stored = fetchWithOrigin();
    EXPECT_EQ(stored.origin, Origin::Stored);
    EXPECT_EQ(stored.items.size(), 11);
    EXPECT_EQ(types(stored.items).count(QStringLiteral("earthquake")), 6);

    // One feed back: its fresh answer, the other's stored share, still marked as stored.
    server.routeFixture(kQuakes, QStringLiteral("usgs_fdsn_query_empty.json"));
    stored = fetchWithOrigin();
    EXPECT_EQ(stored.origin, Origin::Stored);
    EXPECT_EQ(types(stored.items), QStringList(5, QStringLiteral("weather")));

    clock.advanceSeconds(7 * 3600);  // the stored list is now twelve hours old: it says nothing any more
    const LocalAlerts::Fetched old = fetchWithOrigin();
    EXPECT_EQ(old.origin, Origin::Unchecked);
    EXPECT_TRUE(old.items.isEmpty());
}

TEST_F(AlertListTest, AFailedFeedWithNothingStoredIsUnchecked) {
    failBothFeeds();
    const LocalAlerts::Fetched failed = fetchWithOrigin();
    EXPECT_EQ(failed.origin, LocalAlerts::Origin::Unchecked);
    EXPECT_TRUE(failed.items.isEmpty());

    // The answering feed's alerts still show; the list as a whole is not a checked one.
    server.routeFixture(kQuakes, QStringLiteral("usgs_fdsn_query_southern_california.json"));
    const LocalAlerts::Fetched partial = fetchWithOrigin();
    EXPECT_EQ(partial.origin, LocalAlerts::Origin::Unchecked);
    EXPECT_EQ(types(partial.items), QStringList(6, QStringLiteral("earthquake")));
}

TEST_F(AlertListTest, FeedsAnsweringWithNoAlertsAreChecked) {
    server.routeFixture(kNws, QStringLiteral("nws_alerts_active_empty.json"));
    server.routeFixture(kQuakes, QStringLiteral("usgs_fdsn_query_empty.json"));
    const LocalAlerts::Fetched answered = fetchWithOrigin();
    EXPECT_EQ(answered.origin, LocalAlerts::Origin::Checked);
    EXPECT_TRUE(answered.items.isEmpty());
    EXPECT_EQ(fetchWithOrigin().origin, LocalAlerts::Origin::Checked);  // and so is its cached copy
}

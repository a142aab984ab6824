#include <gtest/gtest.h>

#include "Await.h"
#include "SettingsTestEnv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

const QString kPath = QStringLiteral("/v1/clock_address");

// A clock already fixed to a complete address in manual mode.
void fix(AppSettings& s, const QString& city, double lat, double lon) {
    s.setUseManualLocation(true);
    s.setManualCity(city);
    s.setManualLat(lat);
    s.setManualLon(lon);
}

// Runs the event loop until `done` or the time is up.
template <class F>
bool waitFor(F done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace

TEST(AddressSync, PushSendsNothingWithoutAUsableManualAddress) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_post_ok.json"));
    AppSettings& s = env.start();
    s.setManualCity(QStringLiteral("Doha"));
    s.setManualLat(25.28);
    s.setManualLon(51.52);
    EXPECT_FALSE(await(s.pushSavedAddressToServer()));  // automatic mode
    s.setUseManualLocation(true);
    s.setManualCity(QStringLiteral("  "));
    EXPECT_FALSE(await(s.pushSavedAddressToServer()));
    s.setManualCity(QStringLiteral("Doha"));
    s.setManualLat(0.001);
    s.setManualLon(-0.001);
    EXPECT_FALSE(await(s.pushSavedAddressToServer()));
    s.setManualLat(std::nan(""));
    EXPECT_FALSE(await(s.pushSavedAddressToServer()));
    EXPECT_TRUE(env.server.log().isEmpty());
}

TEST(AddressSync, PushBodyCarriesOptionalKeysOnlyWhenKnown) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_post_ok.json"));
    AppSettings& s = env.start();
    fix(s, QStringLiteral(" 221B Baker Street, London, NW1 6XE \n"), 51.5238, -0.1586);
    EXPECT_TRUE(await(s.pushSavedAddressToServer()));
    s.setManualPlaceId(QStringLiteral("PLACE-1"));
    s.flushLocationFieldsToDisk();
    EXPECT_TRUE(await(s.pushSavedAddressToServer()));
    const auto sent = env.server.requestsTo(kPath);
    ASSERT_EQ(sent.size(), 2);
    const QJsonObject first = QJsonDocument::fromJson(sent[0].body).object();
    EXPECT_EQ(first.keys(),
              (QStringList{QStringLiteral("address"), QStringLiteral("city"), QStringLiteral("clock_id"),
                           QStringLiteral("device_id"), QStringLiteral("lat"), QStringLiteral("lon")}));
    EXPECT_EQ(first[QStringLiteral("address")].toString(),
              QStringLiteral("221B Baker Street, London, NW1 6XE"));
    EXPECT_EQ(first[QStringLiteral("city")].toString(), QStringLiteral("London"));
    EXPECT_EQ(first[QStringLiteral("clock_id")].toString(), s.clockId());
    EXPECT_EQ(first[QStringLiteral("device_id")].toString(), s.deviceId());
    EXPECT_EQ(first[QStringLiteral("lon")].toDouble(), -0.1586);
    const QJsonObject second = QJsonDocument::fromJson(sent[1].body).object();
    EXPECT_EQ(second[QStringLiteral("place_id")].toString(), QStringLiteral("PLACE-1"));
    EXPECT_EQ(second[QStringLiteral("tz_offset_hours")].toDouble(-1), 0.0);
}

TEST(AddressSync, PushResultIsTheBooleanOkWhateverTheStatus) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    fix(s, QStringLiteral("Doha"), 25.28, 51.52);
    env.server.routeFixture(kPath, QStringLiteral("clock_address_post_ok_text.json"));
    EXPECT_FALSE(await(s.pushSavedAddressToServer()));
    env.server.routeFixture(kPath, QStringLiteral("clock_address_post_ok.json"), 500);
    EXPECT_TRUE(await(s.pushSavedAddressToServer()));
    env.server.setOffline(true);
    EXPECT_FALSE(await(s.pushSavedAddressToServer()));
}

TEST(AddressSync, RememberStoresTheChoiceAndPushesIt) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_post_ok.json"));
    AppSettings& s = env.start();
    s.rememberFixedLocation(QStringLiteral(" Kuala Lumpur "), 3.139, 101.6869, QStringLiteral("KL"), 8.0);
    EXPECT_TRUE(s.useManualLocation());
    EXPECT_EQ(s.manualCity(), QStringLiteral("Kuala Lumpur"));
    EXPECT_EQ(s.manualPlaceId(), QStringLiteral("KL"));
    EXPECT_EQ(s.manualTzOffsetHours(), 8.0);
    EXPECT_EQ(s.lastKnownLon(), 101.6869);
    EXPECT_EQ(env.store->doubleValue(env.scoped(QStringLiteral("manualLat"))), 3.139);
    EXPECT_TRUE(waitFor([&] { return env.server.requestsTo(kPath).size() == 1; }, 5000));
    EXPECT_EQ(QJsonDocument::fromJson(env.server.requestsTo(kPath)[0].body)[QStringLiteral("tz_offset_hours")]
                  .toDouble(),
              8.0);
}

TEST(AddressSync, ANewPlaceNeverInheritsTheOldOffsetOrPlaceId) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_post_ok.json"));
    AppSettings& s = env.start();
    s.rememberFixedLocation(QStringLiteral("Jakarta"), -6.2, 106.8, QStringLiteral("JKT"), 7.0);
    s.rememberFixedLocation(QStringLiteral("Jakarta"), -6.2, 106.8, std::nullopt, std::nullopt);
    EXPECT_EQ(s.manualTzOffsetHours(), 7.0);  // the same place keeps what it had
    EXPECT_EQ(s.manualPlaceId(), QStringLiteral("JKT"));
    s.rememberFixedLocation(QStringLiteral("Lagos"), 6.52, 3.38, std::nullopt, std::nullopt);
    EXPECT_EQ(s.manualTzOffsetHours(), 0.0);
    EXPECT_EQ(s.manualPlaceId(), QString());
    s.rememberFixedLocation(QStringLiteral("Nowhere"), std::nan(""), 3.0);
    EXPECT_EQ(s.manualCity(), QStringLiteral("Lagos"));
}

TEST(AddressSync, PullWithoutForceKeepsALocalStreetAddressWithoutAsking) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_town.json"));
    AppSettings& s = env.start();
    fix(s, QStringLiteral("12 Main St"), 40.7, -74.0);
    EXPECT_TRUE(await(s.pullSavedAddressFromServer(false)));  // the usable local address
    EXPECT_TRUE(env.server.log().isEmpty());
    s.setUseManualLocation(false);
    EXPECT_FALSE(await(s.pullSavedAddressFromServer(false)));
    EXPECT_TRUE(env.server.log().isEmpty());
}

// Without a place, or with any impossible value (latitude, longitude, offset, clock id), the reply is refused
// whole: nothing of it is stored, not even the clock id.
TEST(AddressSync, PullRefusesRepliesWithoutAPlace) {
    for (const char* fixture : {"clock_address_zero.json", "clock_address_not_found.json",
                                "clock_address_bad_lat.json", "clock_address_impossible.json"}) {
        SettingsTestEnv env;
        env.server.routeFixture(kPath, QLatin1String(fixture));
        AppSettings& s = env.start();
        const QString clock = s.clockId();
        const auto before = env.store->dictionary();
        EXPECT_FALSE(await(s.pullSavedAddressFromServer(true))) << fixture;
        EXPECT_EQ(env.store->dictionary(), before) << fixture;
        EXPECT_EQ(s.clockId(), clock);
    }
}

TEST(AddressSync, FreshInstallAdoptsTheServersAddressAndClockId) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_town.json"));
    AppSettings& s = env.start();
    const QString local = s.clockId();
    EXPECT_TRUE(await(s.pullSavedAddressFromServer(true)));
    const auto query = env.server.requestsTo(kPath).first().query;
    EXPECT_EQ(query.queryItemValue(QStringLiteral("clock_id")), local);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("device_id")), s.deviceId());
    EXPECT_TRUE(s.useManualLocation());
    EXPECT_EQ(s.manualCity(), QStringLiteral("Medina"));
    EXPECT_EQ(s.manualLat(), 24.4672);
    EXPECT_EQ(s.lastKnownLon(), 39.6112);
    EXPECT_EQ(s.manualTzOffsetHours(), 3.0);
    EXPECT_EQ(s.clockId(), QStringLiteral("clk-70a1b2c3"));
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), QStringLiteral("clk-70a1b2c3"));
    EXPECT_EQ(env.store->string(env.scoped(QStringLiteral("manualCity"))), QStringLiteral("Medina"));
}

TEST(AddressSync, ForcedPullWithALocalStreetAddressTakesTheTownButNotTheClockId) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_town.json"));
    AppSettings& s = env.start();
    fix(s, QStringLiteral("7 King Fahd Rd"), 24.7, 46.7);
    const QString local = s.clockId();
    EXPECT_TRUE(await(s.pullSavedAddressFromServer(true)));
    EXPECT_EQ(s.manualCity(), QStringLiteral("Medina"));
    EXPECT_EQ(s.clockId(), local);
}

TEST(AddressSync, PullAppliesAnOffsetOnlyWithTheNewPlace) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_no_offset.json"));
    AppSettings& s = env.start();
    fix(s, QStringLiteral("Tokyo"), 35.68, 139.69);
    s.setManualTzOffsetHours(9.0);
    s.setManualPlaceId(QStringLiteral("TYO"));
    EXPECT_TRUE(await(s.pullSavedAddressFromServer(true)));
    EXPECT_EQ(s.manualCity(), QStringLiteral("Istanbul"));
    EXPECT_EQ(s.manualTzOffsetHours(), 0.0);
    EXPECT_EQ(s.manualPlaceId(), QString());
}

TEST(AddressSync, StartupPullLeavesAutomaticModeTheUserChose) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_town.json"));
    AppSettings& s = env.start();
    fix(s, QStringLiteral("Riyadh"), 24.7, 46.7);
    s.setUseManualLocation(false);
    EXPECT_FALSE(await(s.pullSavedAddressFromServer(true)));
    EXPECT_FALSE(s.useManualLocation());
    EXPECT_EQ(s.manualCity(), QStringLiteral("Riyadh"));
    // A reclaim is the user's explicit wish: it adopts the clock's address.
    EXPECT_TRUE(await(s.reclaimClockId(QStringLiteral("clk-70a1b2c3"))));
    EXPECT_TRUE(s.useManualLocation());
    EXPECT_EQ(s.manualCity(), QStringLiteral("Medina"));
}

TEST(AddressSync, ReclaimTrimsLowerCasesAndForcesAPull) {
    SettingsTestEnv env;
    env.server.routeFixture(kPath, QStringLiteral("clock_address_street.json"));
    AppSettings& s = env.start();
    fix(s, QStringLiteral("1 Infinite Loop"), 37.33, -122.03);
    EXPECT_TRUE(await(s.reclaimClockId(QStringLiteral("  CLK-ABCDEF12 "))));
    const auto sent = env.server.requestsTo(kPath);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].query.queryItemValue(QStringLiteral("clock_id")), QStringLiteral("clk-abcdef12"));
    // The server's own id for the saved address wins over the typed one.
    EXPECT_EQ(s.clockId(), QStringLiteral("clk-5e7a11ce"));
    EXPECT_EQ(s.manualCity(), QStringLiteral("12 Rue de Rivoli, Paris, 75001, France"));
    EXPECT_EQ(s.manualPlaceId(), QStringLiteral("ChIJD7fiBh9u5kcRYJSMaMOCCwQ"));
    // A reply without an id of its own leaves the typed one.
    env.server.routeFixture(kPath, QStringLiteral("clock_address_no_offset.json"));
    EXPECT_TRUE(await(s.reclaimClockId(QStringLiteral("\tCLK-ABCDEF12\n"))));
    EXPECT_EQ(s.clockId(), QStringLiteral("clk-abcdef12"));
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), QStringLiteral("clk-abcdef12"));
    EXPECT_EQ(env.store->string(env.scoped(QStringLiteral("clockId"))), QStringLiteral("clk-abcdef12"));
}

TEST(AddressSync, ReclaimRefusesAnInvalidId) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    const QString clock = s.clockId();
    for (const char* typed : {"clk-123", "abc-12345678", "  ", "CLK_12345678"}) {
        EXPECT_FALSE(await(s.reclaimClockId(QLatin1String(typed))));
    }
    EXPECT_EQ(s.clockId(), clock);
    EXPECT_TRUE(env.server.log().isEmpty());
}

TEST(AddressSync, CityHint) {
    struct Row {
        QString address;
        std::optional<QString> hint;
    };
    const Row rows[] = {
        {QStringLiteral("221B Baker Street, London, Greater London, UK"), QStringLiteral("London")},
        {QStringLiteral("Main St 5, 10115, 20095"), QStringLiteral("Main St 5")},
        {QStringLiteral("Mecca"), QStringLiteral("Mecca")},
        {QString(), std::nullopt},
        {QStringLiteral(" , ,  "), std::nullopt},
        {QStringLiteral("1 Road, X, Springfield"), QStringLiteral("Springfield")},
        {QStringLiteral("1 Road,, \n Lahore \n"), QStringLiteral("Lahore")},
        {QStringLiteral("1 Road, \u0664\u0665 Street, Cairo"), QStringLiteral("Cairo")},
        {QStringLiteral("1 Road, ") + QString(40, u'a'), QStringLiteral("1 Road")},
        {QStringLiteral("1 Road, ") + QStringLiteral("\U0001F54C").repeated(39),
         QStringLiteral("\U0001F54C").repeated(39)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AppSettings::cityHint(row.address), row.hint) << row.address.toStdString();
}

#include <gtest/gtest.h>

#include "FakeClock.h"
#include "IsolatedDefaults.h"
#include "engine/NetworkDiscipline.h"

#include <limits>

TEST(NetworkDiscipline, CoordinateKeysRoundHalvesAwayFromZero) {
    struct Row {
        double lat, lon;
        const char* key;
    };
    const Row rows[] = {
        {51.5005, -0.0004, "51.501,-0.000"},
        {21.42252, 39.82618, "21.423,39.826"},
        {-33.8688, 151.2093, "-33.869,151.209"},
        {-0.0005, 0.0005, "-0.001,0.001"},
        {0.0, -0.0, "0.000,-0.000"},
        {90.0, -180.0, "90.000,-180.000"},
        {12.3444999, 1.0, "12.344,1.000"},
    };
    for (const Row& r : rows) EXPECT_EQ(NetworkDiscipline::coordinateKey(r.lat, r.lon), QLatin1String(r.key));
}

TEST(NetworkDiscipline, DecimalTextIsShortestWithAFraction) {
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        {40.0, "40.0"},     {-74.006, "-74.006"}, {21.4225241, "21.4225241"},
        {-0.5, "-0.5"},     {0.0, "0.0"},         {0.1 + 0.2, "0.30000000000000004"},
        {0.0001, "0.0001"}, {0.00001, "1e-05"},   {1e16, "1e+16"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(NetworkDiscipline::decimalText(r.value), QLatin1String(r.text)) << r.text;
}

TEST(NetworkDiscipline, MaxAgeFromRefreshHours) {
    EXPECT_EQ(NetworkDiscipline::maxAgeSeconds(12), 43200.0);
    EXPECT_EQ(NetworkDiscipline::maxAgeSeconds(1), 3600.0);
    EXPECT_EQ(NetworkDiscipline::maxAgeSeconds(0), 3600.0);
    EXPECT_EQ(NetworkDiscipline::maxAgeSeconds(-5), 3600.0);
    EXPECT_EQ(NetworkDiscipline::maxAgeSeconds(std::numeric_limits<qint64>::min()), 3600.0);
}

TEST(NetworkDiscipline, ProviderAndIntervalTables) {
    ASSERT_EQ(NetworkDiscipline::weatherProviders.size(), 5u);
    EXPECT_STREQ(NetworkDiscipline::weatherProviders[0].id, "openmeteo");
    EXPECT_EQ(NetworkDiscipline::weatherProviders[0].models, nullptr);
    const auto* gfs = NetworkDiscipline::provider(QStringLiteral("openmeteo_gfs"));
    ASSERT_NE(gfs, nullptr);
    EXPECT_STREQ(gfs->label, "Open-Meteo GFS");
    EXPECT_STREQ(gfs->models, "gfs_seamless");
    EXPECT_EQ(NetworkDiscipline::provider(QStringLiteral("OpenMeteo_GFS")), nullptr);
    const int hours[] = {1, 2, 3, 4, 6, 8, 12, 24};
    ASSERT_EQ(NetworkDiscipline::intervalChoices.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(NetworkDiscipline::intervalChoices[i].hours, hours[i]);
    EXPECT_EQ(QString::fromUtf8(NetworkDiscipline::intervalChoices[6].label),
              QStringLiteral("Every 12 hours (≈2×/day)"));
    EXPECT_STREQ(NetworkDiscipline::intervalChoices[7].label, "Once a day");
}

TEST(NetworkDisciplineCache, FreshnessBoundaries) {
    IsolatedDefaults defaults;
    FakeClock clock("2026-12-06T12:00:00Z");
    const QString key = QStringLiteral("weather.openmeteo.21.423,39.826");
    EXPECT_FALSE(NetworkDiscipline::isFresh(key, 3600));
    EXPECT_FALSE(NetworkDiscipline::loadData(key));
    NetworkDiscipline::storeData("{}", key);
    EXPECT_EQ(defaults.store().doubleValue(QStringLiteral("netCache.v1.ts.") + key), 1796558400.0);
    EXPECT_EQ(defaults.store().data(QStringLiteral("netCache.v1.data.") + key), QByteArray("{}"));
    clock.advanceSeconds(3599);
    EXPECT_TRUE(NetworkDiscipline::isFresh(key, 3600));
    clock.advanceSeconds(1);
    EXPECT_FALSE(NetworkDiscipline::isFresh(key, 3600));  // exactly the maximum age is stale
    EXPECT_TRUE(NetworkDiscipline::isFresh(key, NetworkDiscipline::maxAgeSeconds(12)));
    EXPECT_EQ(NetworkDiscipline::loadData(key), QByteArray("{}"));  // stale payloads stay readable

    // Storing the same bytes again moves the stamp to now.
    NetworkDiscipline::storeData("{}", key);
    EXPECT_EQ(NetworkDiscipline::stamp(key), 1796562000.0);
    EXPECT_TRUE(NetworkDiscipline::isFresh(key, 3600));
}

TEST(NetworkDisciplineCache, StampsInTheFuture) {
    IsolatedDefaults defaults;
    FakeClock clock("2026-12-06T12:00:00Z");
    const QString key = QStringLiteral("branding.logos");
    NetworkDiscipline::storeStamp(key);
    EXPECT_EQ(defaults.store().doubleValue(QStringLiteral("netCache.v1.ts.branding.logos")), 1796558400.0);
    clock.advanceSeconds(-1800);  // the clock was set back half an hour
    EXPECT_TRUE(NetworkDiscipline::isFresh(key, 3600));
    clock.advanceSeconds(-1800);  // a full hour: the entry no longer counts
    EXPECT_FALSE(NetworkDiscipline::isFresh(key, 3600));
    clock.advanceSeconds(-86400 * 60);
    EXPECT_FALSE(NetworkDiscipline::isFresh(key, 86400));
}

TEST(NetworkDisciplineCache, PayloadsThatAreNotDataOrDoNotDecode) {
    IsolatedDefaults defaults;
    const QString key = QStringLiteral("geo.1.000,2.000");
    defaults.store().setString(NetworkDiscipline::dataKey(key),
                               QStringLiteral("{\"tzOffsetHours\":3,\"streetViewOK\":true}"));
    EXPECT_FALSE(NetworkDiscipline::loadData(key));
    defaults.store().setData(NetworkDiscipline::dataKey(key), "{\"tzOffsetHours\":3}");
    EXPECT_FALSE(NetworkDiscipline::loadCodable<CachedGeo>(key));
    EXPECT_TRUE(NetworkDiscipline::loadData(key));  // the undecodable entry stays in place
    defaults.store().setData(NetworkDiscipline::dataKey(key), "{\"streetViewOK\":true}");
    EXPECT_FALSE(NetworkDiscipline::loadCodable<CachedGeo>(key));
    defaults.store().setData(NetworkDiscipline::dataKey(key), "garbage");
    EXPECT_FALSE(NetworkDiscipline::loadCodable<CachedGeo>(key));
    defaults.store().setString(NetworkDiscipline::stampKey(key), QStringLiteral("soon"));
    EXPECT_FALSE(NetworkDiscipline::isFresh(key, 3600));
}

TEST(NetworkDisciplineCache, CachedGeoRoundTrip) {
    IsolatedDefaults defaults;
    const QString key = QStringLiteral("geo.") + NetworkDiscipline::coordinateKey(69.6492, 18.9553);
    CachedGeo geo;
    geo.country = QStringLiteral("NO");
    geo.admin1 = QStringLiteral("Troms og Finnmark");
    geo.tzOffsetHours = 1;
    geo.streetViewOK = true;
    ASSERT_TRUE(NetworkDiscipline::storeCodable(geo, key));
    const QByteArray bytes = *NetworkDiscipline::loadData(key);
    EXPECT_FALSE(bytes.contains("city"));
    const auto back = NetworkDiscipline::loadCodable<CachedGeo>(key);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->city);
    EXPECT_EQ(back->country, QStringLiteral("NO"));
    EXPECT_EQ(back->admin1, QStringLiteral("Troms og Finnmark"));
    EXPECT_EQ(back->tzOffsetHours, 1.0);
    EXPECT_TRUE(back->streetViewOK);
    const auto nullCity =
        JsonCoding::decode<CachedGeo>(R"({"city":null,"tzOffsetHours":5.75,"streetViewOK":false})");
    ASSERT_TRUE(nullCity);
    EXPECT_FALSE(nullCity->city);
    EXPECT_EQ(nullCity->tzOffsetHours, 5.75);
}

TEST(NetworkDisciplineCache, UnencodableRecordKeepsThePreviousEntry) {
    IsolatedDefaults defaults;
    FakeClock clock("2026-12-06T12:00:00Z");
    const QString key = QStringLiteral("geo.0.000,0.000");
    CachedGeo good;
    good.tzOffsetHours = 2;
    ASSERT_TRUE(NetworkDiscipline::storeCodable(good, key));
    clock.advanceSeconds(60);
    CachedGeo bad;
    bad.tzOffsetHours = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(NetworkDiscipline::storeCodable(bad, key));
    EXPECT_EQ(NetworkDiscipline::loadCodable<CachedGeo>(key)->tzOffsetHours, 2.0);
    EXPECT_EQ(NetworkDiscipline::stamp(key), 1796558400.0);
}

TEST(NetworkDisciplineCache, CachedAlertsKeepTheirOrder) {
    CachedAlerts list;
    for (const char* e : {"b", "a", "c"}) {
        Alert a;
        a.event = QLatin1String(e);
        list.items.append(a);
    }
    const auto back = JsonCoding::decode<CachedAlerts>(*JsonCoding::encodeRecord(list));
    ASSERT_TRUE(back && back->items.size() == 3);
    EXPECT_EQ(back->items[0].event, QStringLiteral("b"));
    EXPECT_EQ(back->items[2].event, QStringLiteral("c"));
    EXPECT_FALSE(JsonCoding::decode<CachedAlerts>("{}"));
    EXPECT_FALSE(JsonCoding::decode<CachedAlerts>(R"({"items":[{"magnitude":"big"}]})"));
    EXPECT_TRUE(JsonCoding::decode<CachedAlerts>(R"({"items":[]})"));
}

TEST(NetworkDiscipline, PruneDropsOldEntriesAndKeepsFreshOnes) {
    IsolatedDefaults defaults;
    DefaultsStore& store = defaults.store();
    struct Row {
        const char* key;
        double hoursAgo;  // negative: stamped in the future
        bool payload;
        bool kept;
    };
    // Default settings: geo 24 h, alerts and weather 4 h; prayer times go after a week.
    const Row rows[] = {
        {"prayers.ISNA.a1.2026-03-04.51.507,-0.128", 167, true, true},
        {"prayers.ISNA.a1.2026-03-03.51.507,-0.128", 169, true, false},
        {"geo.51.507,-0.128", 239, true, true},
        {"geo.21.423,39.826", 241, true, false},
        {"geo.1.000,1.000", -239, true, true},
        {"geo.2.000,2.000", -241, true, false},
        {"alerts.local.51.507,-0.128", 39, true, true},
        {"alerts.local.21.423,39.826", 41, true, false},
        {"weather.openmeteo.51.507,-0.128", 39, true, true},
        {"weather.openmeteo.21.423,39.826", 41, true, false},
        {"branding.nosv", 239, false, true},
        {"branding.logos", 241, false, false},
        {"theme", 241, false, false},
    };
    FakeClock clock("2026-03-10T12:00:00Z");
    const QDateTime now = clock.now();
    for (const Row& row : rows) {
        clock.set(now.addSecs(qint64(-row.hoursAgo * 3600)));
        if (row.payload)
            NetworkDiscipline::storeData("{}", QLatin1String(row.key));
        else
            NetworkDiscipline::storeStamp(QLatin1String(row.key));
    }
    clock.set(now);
    store.setData(NetworkDiscipline::dataKey(QStringLiteral("geo.orphan")), "{}");  // never stamped
    store.setString(QStringLiteral("cachedBundle.DEVICE"), QStringLiteral("{}"));
    store.setString(QStringLiteral("netCache.v2.data.geo.x"), QStringLiteral("{}"));

    EXPECT_EQ(NetworkDiscipline::prune(SettingsSnapshot::defaults()), 8);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        const QString key = QLatin1String(row.key);
        EXPECT_EQ(store.contains(NetworkDiscipline::stampKey(key)), row.kept);
        EXPECT_EQ(store.contains(NetworkDiscipline::dataKey(key)), row.kept && row.payload);
    }
    EXPECT_FALSE(store.contains(NetworkDiscipline::dataKey(QStringLiteral("geo.orphan"))));
    EXPECT_TRUE(store.contains(QStringLiteral("cachedBundle.DEVICE")));
    EXPECT_TRUE(store.contains(QStringLiteral("netCache.v2.data.geo.x")));

    // The limit follows the refresh setting: with place data refreshed hourly, ten hours is the end.
    SettingsSnapshot hourly = SettingsSnapshot::defaults();
    hourly.geoRefreshHours = 1;
    EXPECT_EQ(NetworkDiscipline::prune(hourly), 2);  // the two kept at 239 hours either side of now
    for (const int hours : {9, 11}) {
        clock.set(now.addSecs(-hours * 3600));
        NetworkDiscipline::storeData("{}", QStringLiteral("geo.%1").arg(hours));
    }
    clock.set(now);
    EXPECT_EQ(NetworkDiscipline::prune(hourly), 1);
    EXPECT_TRUE(store.contains(NetworkDiscipline::dataKey(QStringLiteral("geo.9"))));
    EXPECT_FALSE(store.contains(NetworkDiscipline::dataKey(QStringLiteral("geo.11"))));
}

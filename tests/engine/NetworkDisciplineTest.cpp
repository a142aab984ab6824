#include <gtest/gtest.h>

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

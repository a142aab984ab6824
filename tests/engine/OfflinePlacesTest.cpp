#include <gtest/gtest.h>

#include "engine/OfflinePlaces.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

TEST(OfflinePlaces, DatabaseHoldsTheWorldsTowns) {
    const std::vector<OfflinePlace> places = OfflinePlaces::readDatabase();
    EXPECT_GT(places.size(), 20000u);
    for (const OfflinePlace& p : places) {
        ASSERT_FALSE(p.name.isEmpty());
        ASSERT_LE(std::abs(p.lat), 90.0);
        ASSERT_LE(std::abs(p.lon), 180.0);
    }
}

TEST(OfflinePlaces, NearestPlaceWithItsZoneAndRegion) {
    struct Row {
        double lat, lon;
        const char* name;
        const char* country;
        const char* zone;
    };
    const Row rows[] = {
        {69.6492, 18.9553, "Tromsø", "NO", "Europe/Oslo"},
        {27.7172, 85.3240, "Kathmandu", "NP", "Asia/Kathmandu"},
        {21.4225241, 39.8261818, "Makkah al Mukarramah", "SA", "Asia/Riyadh"},
        {51.5074, -0.1278, "London", "GB", "Europe/London"},
    };
    for (const Row& r : rows) {
        const auto n = OfflinePlaces::nearest(r.lat, r.lon, 50);
        ASSERT_TRUE(n) << r.name;
        EXPECT_EQ(n->place.name, QString::fromUtf8(r.name));
        EXPECT_EQ(n->place.countryCode, QLatin1String(r.country));
        EXPECT_EQ(n->place.timeZone, QLatin1String(r.zone));
        EXPECT_LT(n->distanceKm, 5.0);
    }
}

TEST(OfflinePlaces, NothingBeyondTheRadiusOrForABadPoint) {
    EXPECT_FALSE(OfflinePlaces::nearest(-40.0, -30.0, 300));  // South Atlantic
    EXPECT_TRUE(OfflinePlaces::nearest(-40.0, -30.0, 5000));
    EXPECT_FALSE(OfflinePlaces::nearest(std::nan(""), 10, 300));
    EXPECT_FALSE(OfflinePlaces::nearest(10, std::numeric_limits<double>::infinity(), 300));
    EXPECT_FALSE(OfflinePlaces::nearest(10, 10, -1));
}

TEST(OfflinePlaces, HaversineDistance) {
    EXPECT_NEAR(OfflinePlaces::distanceKm(0, 0, 0, 1), 111.195, 0.001);
    EXPECT_NEAR(OfflinePlaces::distanceKm(0, 179.5, 0, -179.5), 111.195, 0.001);
    EXPECT_DOUBLE_EQ(OfflinePlaces::distanceKm(12, 34, 12, 34), 0.0);
    EXPECT_NEAR(OfflinePlaces::distanceKm(90, 0, -90, 0), 20015.087, 0.001);
}

TEST(OfflinePlaces, NamesStayUntranslatedInAnyLanguage) {
    const std::string oldLocale = std::setlocale(LC_ALL, nullptr);
    const QByteArray oldLanguage = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", "de");
    std::setlocale(LC_ALL, "C.UTF-8");
    const std::vector<OfflinePlace> places = OfflinePlaces::readDatabase();
    std::setlocale(LC_ALL, oldLocale.c_str());
    qputenv("LANGUAGE", oldLanguage);
    const auto la = std::find_if(places.begin(), places.end(), [](const OfflinePlace& p) {
        return p.name == QLatin1String("Los Angeles") && p.countryCode == QLatin1String("US");
    });
    ASSERT_NE(la, places.end());
    EXPECT_EQ(la->region, QStringLiteral("California"));  // not "Kalifornien"
}

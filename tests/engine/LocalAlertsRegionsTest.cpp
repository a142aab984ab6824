#include <gtest/gtest.h>

#include "engine/LocalAlertsRegions.h"

#include <optional>

using LocalAlerts::inferCountry;
using LocalAlerts::keepEarthquake;
using LocalAlerts::sameAdmin1;
using LocalAlerts::sameCountry;

namespace {
std::optional<QString> text(const char* s) {
    return QString::fromUtf8(s);
}
const std::optional<double> none;
}  // namespace

TEST(LocalAlertsRegions, NormalizeScope) {
    const std::pair<const char*, const char*> rows[] = {
        {" State ", "province"},    {"COUNTRY", "country"}, {"", "region"},
        {"town", "region"},         {"city\n", "region"},   {"\tcity", "city"},
        {"Continent", "continent"}, {"region", "region"},   {"province", "province"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(LocalAlerts::normalizeScope(QString::fromUtf8(in)), QLatin1String(out)) << in;
}

TEST(LocalAlertsRegions, PerScopeParameters) {
    struct Row {
        const char* scope;
        double fetch;
        std::optional<double> keep;
        double box;
    };
    const Row rows[] = {
        {"city", 75, 75, 0.6},         {"region", 350, 350, 2.5},     {"province", 450, 450, 4.0},
        {"state", 450, 450, 4.0},      {"country", 4500, none, 25.0}, {"continent", 8000, none, 40.0},
        {"elsewhere", 350, none, 0.6},
    };
    for (const Row& r : rows) {
        const QString s = QLatin1String(r.scope);
        EXPECT_EQ(LocalAlerts::fetchRadiusKm(s), r.fetch) << r.scope;
        EXPECT_EQ(LocalAlerts::displayRadiusKm(s), r.keep) << r.scope;
        EXPECT_EQ(LocalAlerts::ecBBoxDeg(s), r.box) << r.scope;
    }
}

TEST(LocalAlertsRegions, Admin1MatchKeys) {
    const auto keys = [](const char* a) {
        QStringList k = LocalAlerts::admin1MatchKeys(QString::fromUtf8(a));
        k.sort();
        return k.join(QLatin1Char(' '));
    };
    EXPECT_EQ(keys("Texas"), QStringLiteral("texas tx"));
    EXPECT_EQ(keys(" TX "), QStringLiteral("texas tx"));
    EXPECT_EQ(keys("Ontario"), QStringLiteral("on ontario"));
    EXPECT_EQ(keys("GU"), QStringLiteral("gu"));
    EXPECT_EQ(keys("Québec"), QStringLiteral("qc québec"));
    EXPECT_EQ(keys("Bavaria"), QStringLiteral("bavaria"));
    EXPECT_EQ(keys(""), QString());
}

TEST(LocalAlertsRegions, InferCountryFromPlaceText) {
    const std::pair<const char*, std::optional<const char*>> rows[] = {
        {"Albuquerque, New Mexico", "us"},
        {"10 km SW of Ocotillo, CA", "us"},
        {"Toronto, Ontario", "ca"},
        {"45 km S of Petatlán, Mexico", "mx"},
        {"off the coast of Guerrero, Mexico", "mx"},
        {"Gulf of California, Mexico", "mx"},
        {"20 km N of Fort Wayne, Indiana", "us"},  // not India
        {"Jerusalem", std::nullopt},               // "usa" inside a word is no country
        {"5 km NE of Busan, South Korea", std::nullopt},
        {"30 km NW of Filiatrá, Greece", std::nullopt},
        {"Kodiak Island region, Alaska", "us"},
        {"Near Reykjavík, Iceland", "is"},
        {"Izu Islands, Japan region", "jp"},
        {"Southern Türkiye", "tr"},
        {"100 km E of Whitehorse, Yukon", "ca"},
        {"Nunavik, Quebec", "ca"},
        {"Lake Erie; OH", std::nullopt},  // no comma before the code
    };
    for (const auto& [place, code] : rows) {
        const auto got = inferCountry(text(place), none, none);
        if (code) {
            EXPECT_EQ(got, QLatin1String(*code)) << place;
        } else {
            EXPECT_FALSE(got) << place << " -> " << got.value_or(QString()).toStdString();
        }
    }
}

TEST(LocalAlertsRegions, InferCountryFromPosition) {
    EXPECT_EQ(inferCountry(std::nullopt, 40.0, -100.0), QStringLiteral("us"));
    EXPECT_EQ(inferCountry(std::nullopt, 45.0, -75.0), QStringLiteral("us"));  // the smaller of two boxes
    EXPECT_EQ(inferCountry(std::nullopt, 60.0, -100.0), QStringLiteral("ca"));
    EXPECT_FALSE(inferCountry(std::nullopt, 0.0, 0.0));
    EXPECT_FALSE(inferCountry(std::nullopt, 40.0, none));
    // A place text wins over the position.
    EXPECT_EQ(inferCountry(text("Toronto, Ontario"), 40.0, -100.0), QStringLiteral("ca"));
}

TEST(LocalAlertsRegions, SameCountry) {
    EXPECT_TRUE(sameCountry(QString(), text("Tokyo, Japan"), none, none));
    EXPECT_TRUE(sameCountry(QStringLiteral("de"), text("somewhere at sea"), none, none));
    EXPECT_TRUE(sameCountry(QStringLiteral("JP"), text("Tokyo, Japan"), none, none));
    EXPECT_FALSE(sameCountry(QStringLiteral("us"), text("Tokyo, Japan"), none, none));
    EXPECT_FALSE(sameCountry(QStringLiteral("in"), text("Fort Wayne, Indiana"), none, none));
    // No country from the text: the user's country box decides, else it counts as inside.
    EXPECT_TRUE(sameCountry(QStringLiteral("sa"), text("western Arabia"), 21.4, 39.8));
    EXPECT_FALSE(sameCountry(QStringLiteral("sa"), text("central Mediterranean Sea"), 35.0, 18.0));
    EXPECT_TRUE(sameCountry(QStringLiteral("de"), text("central Mediterranean Sea"), 35.0, 18.0));
}

TEST(LocalAlertsRegions, SameAdmin1MatchesWholeWords) {
    const QString us = QStringLiteral("us");
    EXPECT_TRUE(sameAdmin1(text("California"), us, text("5 km NE of Cobb, CA")));
    EXPECT_FALSE(sameAdmin1(text("Texas"), us, text("5 km NE of Cobb, CA")));
    EXPECT_FALSE(sameAdmin1(text("Oregon"), us, text("5 km NE of Cobb, California")));
    EXPECT_TRUE(sameAdmin1(text("Oregon"), us, text("10 km W of Bend, OR")));
    EXPECT_TRUE(sameAdmin1(text("Indiana"), us, text("Fort Wayne, Indiana")));
    // Lower-case codes are words, not states.
    EXPECT_TRUE(sameAdmin1(text("Nevada"), us, text("10 km S of Mina, near the border or so")));
    EXPECT_FALSE(sameAdmin1(text("Nevada"), us, text("10 km S of Bend, OR")));
    EXPECT_TRUE(sameAdmin1(std::nullopt, us, text("5 km NE of Cobb, CA")));
    EXPECT_TRUE(sameAdmin1(text("  "), us, text("5 km NE of Cobb, CA")));
    EXPECT_TRUE(sameAdmin1(text("Texas"), us, std::nullopt));
    EXPECT_TRUE(sameAdmin1(text("Texas"), us, text("")));
    EXPECT_TRUE(sameAdmin1(text("Texas"), us, text("Gulf of Mexico")));
    EXPECT_TRUE(sameAdmin1(text("Bavaria"), QStringLiteral("de"), text("Vienna, Austria")));
    const QString ca = QStringLiteral("ca");
    EXPECT_FALSE(sameAdmin1(text("Ontario"), ca, text("Montréal, Quebec")));
    EXPECT_TRUE(sameAdmin1(text("Ontario"), ca, text("Lake Superior")));
    EXPECT_TRUE(sameAdmin1(text("Quebec"), ca, text("Montréal, Québec")));
    EXPECT_TRUE(sameAdmin1(text("Newfoundland and Labrador"), ca, text("St. John's, Newfoundland")));
}

TEST(LocalAlertsRegions, Continents) {
    EXPECT_EQ(LocalAlerts::continent(QStringLiteral("US")), QStringLiteral("north_america"));
    EXPECT_EQ(LocalAlerts::continent(QStringLiteral("tr")), QStringLiteral("europe"));
    EXPECT_EQ(LocalAlerts::continent(QStringLiteral("np")), QStringLiteral("asia"));
    EXPECT_EQ(LocalAlerts::continent(QStringLiteral("pf")), QStringLiteral("oceania"));
    EXPECT_EQ(LocalAlerts::continent(QStringLiteral("xx")), QStringLiteral("global"));
    EXPECT_EQ(LocalAlerts::continent(QString()), QStringLiteral("global"));
}

TEST(LocalAlertsRegions, EarthquakeScopeTest) {
    const QString continent = QStringLiteral("continent");
    // A country in no list keeps every quake.
    EXPECT_TRUE(
        keepEarthquake(continent, QStringLiteral("xx"), std::nullopt, text("Tokyo, Japan"), 35.0, 139.0));
    EXPECT_TRUE(keepEarthquake(continent, QStringLiteral("gr"), std::nullopt, text("Near Reykjavík, Iceland"),
                               none, none));
    EXPECT_FALSE(
        keepEarthquake(continent, QStringLiteral("gr"), std::nullopt, text("Tokyo, Japan"), none, none));
    // No country from text or box: the continent's box decides.
    EXPECT_TRUE(
        keepEarthquake(continent, QStringLiteral("gr"), std::nullopt, text("Aegean Sea"), 38.0, 25.0));
    EXPECT_FALSE(
        keepEarthquake(continent, QStringLiteral("gr"), std::nullopt, text("South Pacific"), -40.0, -120.0));
    EXPECT_TRUE(keepEarthquake(continent, QStringLiteral("gr"), std::nullopt, std::nullopt, none, none));

    const QString province = QStringLiteral("province");
    EXPECT_TRUE(keepEarthquake(province, QStringLiteral("us"), text("California"),
                               text("5 km NE of Cobb, CA"), none, none));
    EXPECT_FALSE(keepEarthquake(province, QStringLiteral("us"), text("Nevada"), text("5 km NE of Cobb, CA"),
                                none, none));
    EXPECT_TRUE(keepEarthquake(QStringLiteral("region"), QStringLiteral("us"), text("Nevada"),
                               text("5 km NE of Cobb, CA"), none, none));
    EXPECT_FALSE(keepEarthquake(QStringLiteral("country"), QStringLiteral("us"), std::nullopt,
                                text("Baja California, Mexico"), none, none));
}

TEST(LocalAlertsRegions, WholeWordSearch) {
    using LocalAlerts::containsWord;
    EXPECT_TRUE(containsWord(QStringLiteral("bend, or"), QStringLiteral("or")));
    EXPECT_FALSE(containsWord(QStringLiteral("california"), QStringLiteral("or")));
    EXPECT_FALSE(containsWord(QStringLiteral("indiana"), QStringLiteral("india")));
    EXPECT_TRUE(containsWord(QStringLiteral("india, indiana"), QStringLiteral("indiana")));
    EXPECT_TRUE(containsWord(QStringLiteral("the u.s.a."), QStringLiteral("u.s.")));
    EXPECT_TRUE(containsWord(QStringLiteral("oaxaca, mexico"), QStringLiteral(", mexico")));
    EXPECT_FALSE(containsWord(QStringLiteral("petatlánx"), QStringLiteral("petatlán")));
    EXPECT_FALSE(containsWord(QStringLiteral("anything"), QString()));
}

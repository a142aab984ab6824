#include <gtest/gtest.h>

#include "EngineTestPrinters.h"
#include "engine/LocalMoon.h"

#include <QFile>
#include <QTextStream>
#include <cmath>
#include <ctime>

namespace {

// The mean new moon the phase is counted from: JD 2451550.1 (2000-01-06 14:24 UTC).
const QDateTime kReferenceNewMoon = QDateTime(QDate(2000, 1, 6), QTime(14, 24), Qt::UTC);

QDateTime utc(const char* iso) {
    return QDateTime::fromString(QLatin1StringView(iso), Qt::ISODate);
}

QStringList referenceLines(const char* name) {
    QFile file(QStringLiteral(ORVANE_REFDATA_DIR "/astro/") + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#')) lines << line;
    }
    return lines;
}

}  // namespace

TEST(LocalMoon, JulianDay) {
    EXPECT_DOUBLE_EQ(LocalMoon::julianDay(utc("2000-01-01T12:00:00Z")), 2451545.0);
    EXPECT_DOUBLE_EQ(LocalMoon::julianDay(utc("1999-01-01T00:00:00Z")), 2451179.5);
    EXPECT_NEAR(LocalMoon::julianDay(kReferenceNewMoon), 2451550.1, 1e-9);
    EXPECT_DOUBLE_EQ(LocalMoon::julianDay(utc("2026-03-20T18:00:00Z")), 2461120.25);
    // Fractions of a second do not count.
    EXPECT_DOUBLE_EQ(LocalMoon::julianDay(utc("2026-03-20T18:00:00.999Z")), 2461120.25);
    EXPECT_DOUBLE_EQ(LocalMoon::julianDay(QDateTime()), 2451544.5);
}

TEST(LocalMoon, DaysAfterTheReferenceNewMoon) {
    struct Case {
        int days;
        const char* phase;
        double age;
        qint64 illumination;
        bool waxing;
    } cases[] = {
        {1, "new_moon", 1.0, 1, true},       {7, "first_quarter", 7.0, 46, true},
        {15, "full_moon", 15.0, 100, false}, {22, "last_quarter", 22.0, 52, false},
        {29, "new_moon", 29.0, 0, false},    {30, "new_moon", 0.5, 0, true},
    };
    for (const Case& c : cases) {
        const Moon moon = LocalMoon::info(kReferenceNewMoon.addDays(c.days), {});
        EXPECT_EQ(moon.phase, QString(c.phase)) << c.days;
        EXPECT_DOUBLE_EQ(moon.ageDays, c.age) << c.days;
        EXPECT_EQ(moon.illuminationPct, c.illumination) << c.days;
        EXPECT_EQ(moon.waxing, c.waxing) << c.days;
        EXPECT_EQ(moon.cycleDays, 29);
    }
    // Before the reference the age still counts forward from the previous new moon.
    const Moon before = LocalMoon::info(kReferenceNewMoon.addDays(-1), {});
    EXPECT_DOUBLE_EQ(before.ageDays, 28.5);
    EXPECT_EQ(before.phase, QStringLiteral("new_moon"));
}

TEST(LocalMoon, NamesFromLabelsOrBuiltInEnglish) {
    const QDateTime october = utc("2026-10-15T12:00:00Z");
    const Moon plain = LocalMoon::info(kReferenceNewMoon.addDays(7), {});
    EXPECT_EQ(plain.phaseName, QStringLiteral("First Quarter"));
    EXPECT_EQ(plain.name, QStringLiteral("Wolf Moon"));
    EXPECT_EQ(plain.nameKey, QStringLiteral("moon_wolf"));
    const Moon hunter = LocalMoon::info(october, {});
    EXPECT_EQ(hunter.name, QStringLiteral("Hunter's Moon"));
    EXPECT_EQ(hunter.nameKey, QStringLiteral("moon_hunter"));
    const JsonCoding::StringMap labels{{"moon_hunter", "Jägermond"}, {"waxing_gibbous", "Zunehmend"}};
    const Moon labelled = LocalMoon::info(october, labels);
    EXPECT_EQ(labelled.name, QStringLiteral("Jägermond"));
    const Moon gibbous = LocalMoon::info(kReferenceNewMoon.addDays(10), labels);
    EXPECT_EQ(gibbous.phase, QStringLiteral("waxing_gibbous"));
    EXPECT_EQ(gibbous.phaseName, QStringLiteral("Zunehmend"));
    EXPECT_EQ(LocalMoon::info(kReferenceNewMoon.addDays(19), labels).phaseName,
              QStringLiteral("Waning Gibbous"));
}

// The full moon's name follows the device's own month; the Julian Day stays in UTC.
TEST(LocalMoon, MonthNameFollowsTheDevicesZone) {
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "Pacific/Kiritimati");  // UTC+14
    tzset();
    const QDateTime lateJanuaryUtc = utc("2026-01-31T12:00:00Z");
    const Moon east = LocalMoon::info(lateJanuaryUtc, {});
    qputenv("TZ", "Pacific/Pago_Pago");  // UTC-11
    tzset();
    const Moon west = LocalMoon::info(utc("2026-02-01T05:00:00Z"), {});
    if (saved.isNull()) {
        qunsetenv("TZ");
    } else {
        qputenv("TZ", saved);
    }
    tzset();
    EXPECT_EQ(east.nameKey, QStringLiteral("moon_snow"));
    EXPECT_EQ(west.nameKey, QStringLiteral("moon_wolf"));
    EXPECT_DOUBLE_EQ(LocalMoon::julianDay(lateJanuaryUtc), 2461072.0);
}

TEST(LocalMoon, EclipsesByUtcDate) {
    struct Case {
        const char* at;
        std::optional<const char*> lunar;
        std::optional<const char*> solar;
    } cases[] = {
        {"2026-01-01T00:00:00Z", "2026-03-03", "2026-02-17"},
        {"2026-03-03T23:59:59Z", "2026-03-03", "2026-08-12"},
        {"2026-03-04T00:00:00Z", "2026-08-28", "2026-08-12"},
        // 20:00 on 3 March five hours behind UTC is already 4 March in UTC.
        {"2026-03-03T20:00:00-05:00", "2026-08-28", "2026-08-12"},
        {"2029-01-15T00:00:00Z", "2029-06-26", "2029-06-12"},
        {"2029-06-13T00:00:00Z", "2029-06-26", "2029-07-11"},
        {"2029-07-12T00:00:00Z", "2029-12-20", "2029-12-05"},
        {"2029-12-20T12:00:00Z", "2029-12-20", "2030-06-01"},
        {"2029-12-21T00:00:00Z", std::nullopt, "2030-06-01"},
        {"2030-06-02T00:00:00Z", std::nullopt, "2030-11-25"},
        {"2030-11-26T00:00:00Z", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const Moon moon = LocalMoon::info(utc(c.at), {});
        EXPECT_EQ(moon.nextEclipse.has_value(), c.lunar.has_value()) << c.at;
        if (moon.nextEclipse && c.lunar) {
            EXPECT_EQ(moon.nextEclipse->date, QString(*c.lunar)) << c.at;
        }
        EXPECT_EQ(moon.nextSolarEclipse.has_value(), c.solar.has_value()) << c.at;
        if (moon.nextSolarEclipse && c.solar) {
            EXPECT_EQ(moon.nextSolarEclipse->date, QString(*c.solar)) << c.at;
        }
    }
    const Moon moon = LocalMoon::info(utc("2029-06-01T00:00:00Z"), {});
    ASSERT_TRUE(moon.nextSolarEclipse.has_value());
    EXPECT_EQ(moon.nextSolarEclipse->type, QStringLiteral("Partial"));
    EXPECT_EQ(moon.nextSolarEclipse->region, QStringLiteral("Arctic, Scandinavia, Alaska, Northern Asia"));
    EXPECT_EQ(moon.nextEclipse->type, QStringLiteral("Total"));
    EXPECT_EQ(moon.nextEclipse->region, QStringLiteral("Americas, Europe, Africa"));
}

TEST(LocalMoon, RecordRoundTripsThroughJson) {
    const Moon moon = LocalMoon::info(utc("2026-08-13T00:00:00Z"), {});
    const std::optional<Moon> back = Moon::fromJson(moon.toJson());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->toJson(), moon.toJson());
    EXPECT_GT(*moon.distanceKm, 356000);
    EXPECT_LT(*moon.distanceKm, 407000);
}

// The tables hold every eclipse of the catalogue from 2026 to their last row, with its kind.
TEST(LocalMoon, TablesMatchTheNasaCatalogues) {
    struct Catalogue {
        const char* file;
        int typeColumn;
        std::optional<Eclipse> (*next)(const QDateTime&);
    } catalogues[] = {{"nasa_lunar_eclipses_1901_2100.csv", 2, LocalMoon::nextLunarEclipse},
                      {"nasa_solar_eclipses_1901_2100.csv", 3, LocalMoon::nextSolarEclipse}};
    for (const Catalogue& catalogue : catalogues) {
        const QStringList lines = referenceLines(catalogue.file);
        if (lines.isEmpty()) GTEST_SKIP() << "reference data not present";
        QStringList ours;
        for (auto e = catalogue.next(utc("2026-01-01T00:00:00Z")); e;
             e = catalogue.next(
                 QDateTime(QDate::fromString(e->date, Qt::ISODate).addDays(1), QTime(), Qt::UTC)))
            ours << e->date + u' ' +
                        (e->type == QLatin1StringView("Penumbral") ? QChar(u'N') : e->type.at(0));
        QStringList theirs;
        for (const QString& line : lines) {
            const QStringList fields = line.split(u',');
            if (fields.size() <= catalogue.typeColumn || fields[0] < "2026-01-01" ||
                fields[0] > ours.last().left(10))
                continue;
            theirs << fields[0] + u' ' + fields[catalogue.typeColumn].at(0);
        }
        EXPECT_EQ(ours, theirs) << catalogue.file;
    }
}

// Mean lunations place every USNO quarter instant in its own phase, and the short series stays within
// 180 km of every perigee and apogee.
TEST(LocalMoon, AgreesWithUsnoPhasesAndApsides) {
    const QStringList phases = referenceLines("moonphases.txt");
    const QStringList apsides = referenceLines("moon_apsides.txt");
    if (phases.isEmpty() || apsides.isEmpty()) GTEST_SKIP() << "reference data not present";
    const char* expected[] = {"new_moon", "first_quarter", "full_moon", "last_quarter"};
    for (const QString& line : phases) {
        const QStringList f = line.split(u' ');
        const Moon moon = LocalMoon::info(QDateTime::fromString(f[1], Qt::ISODateWithMs), {});
        ASSERT_EQ(moon.phase, QString(expected[f[0].toInt()])) << line.toStdString();
    }
    double worst = 0;
    for (const QString& line : apsides) {
        const QStringList f = line.split(u' ');
        const double jd = LocalMoon::julianDay(QDateTime::fromString(f[1], Qt::ISODate));
        worst = std::max(worst, std::fabs(LocalMoon::distanceKm(jd) - f[2].toDouble()));
    }
    EXPECT_LT(worst, 180.0);
}

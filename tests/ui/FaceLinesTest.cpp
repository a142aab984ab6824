#include "ui/face/FaceAddresses.h"
#include "ui/face/FaceLines.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <limits>

#include "SampleBundle.h"
#include "model/BrandingRecords.h"
#include "model/PlaceRecords.h"

namespace {

std::int64_t utcMs(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

TEST(FaceLines, TimeLineAtTheZoneOfThePlace) {
    struct Row {
        const char* utc;
        double tz;
        bool use24;
        const char* shown;
    };
    // 13:05:09 at the place in both forms, at a half-hour and a three-quarter-hour offset.
    const Row rows[] = {
        {"2026-03-09T07:35:09Z", 5.5, true, "13:05:09"},
        {"2026-03-09T07:35:09Z", 5.5, false, "1:05:09\u202FPM"},
        {"2026-03-09T16:50:09Z", -3.75, true, "13:05:09"},
        {"2026-03-09T16:50:09Z", -3.75, false, "1:05:09\u202FPM"},
        {"2026-03-09T00:00:00Z", 0, false, "12:00:00\u202FAM"},
    };
    for (const Row& r : rows) {
        QString shown = FaceLines::digitalTime(utcMs(r.utc), r.tz, QStringLiteral("en"), r.use24);
        // ICU versions differ in the blank before the day period; either is the locale's own.
        shown.replace(QChar(0x20), QChar(0x202F));
        EXPECT_EQ(shown, QString::fromUtf8(r.shown)) << r.utc << " " << r.tz;
    }
    // The day period comes from the language.
    const QString arabic =
        FaceLines::digitalTime(utcMs("2026-03-09T07:35:09Z"), 5.5, QStringLiteral("ar"), false);
    EXPECT_TRUE(arabic.contains(QChar(0x0645))) << arabic.toStdString();  // "م"
}

TEST(FaceLines, GregorianLineIsGregorianInEveryLanguage) {
    const std::int64_t ms = utcMs("2026-03-09T21:30:00Z");
    EXPECT_EQ(FaceLines::gregorianText(ms, 0, QStringLiteral("en")), QStringLiteral("Monday, Mar 9, 2026"));
    // Already Tuesday the 10th at UTC+3.
    EXPECT_EQ(FaceLines::gregorianText(ms, 3, QStringLiteral("en")), QStringLiteral("Tuesday, Mar 10, 2026"));
    const QString persian = FaceLines::gregorianText(ms, 3.5, QStringLiteral("fa"));
    EXPECT_TRUE(persian.contains(QStringLiteral("۲۰۲۶"))) << persian.toStdString();
    EXPECT_TRUE(persian.contains(QStringLiteral("مارس"))) << persian.toStdString();
    // A non-finite offset falls back to the system zone instead of failing.
    EXPECT_FALSE(FaceLines::gregorianText(ms, std::numeric_limits<double>::quiet_NaN(), "en").isEmpty());
    EXPECT_EQ(FaceLines::gregorianText(ms, 3, QString()), QStringLiteral("Tuesday, Mar 10, 2026"));
}

TEST(FaceLines, HijriLineAndMonthNames) {
    ClockBundle bundle = sampleBundle();
    EXPECT_EQ(FaceLines::hijriText(30, QStringLiteral("Safar"), 1448), QStringLiteral("30 Safar 1448 AH"));
    EXPECT_EQ(FaceLines::hijriMonthName(9, bundle), QStringLiteral("Ramadan"));
    bundle.labels.insert(QStringLiteral("hmonth_9"), QStringLiteral("رمضان"));
    EXPECT_EQ(FaceLines::hijriMonthName(9, bundle), QStringLiteral("رمضان"));
    EXPECT_EQ(FaceLines::hijriMonthName(13, bundle), QStringLiteral("Month 13"));
}

TEST(FaceLines, NextPrayerLearnTitleCityAndCredits) {
    ClockBundle bundle = sampleBundle();
    EXPECT_EQ(FaceLines::nextPrayerLine(bundle, true), QStringLiteral("Next: Asr 15:52"));
    EXPECT_EQ(FaceLines::nextPrayerLine(bundle, false), QStringLiteral("Next: Asr 3:52 PM"));
    EXPECT_EQ(FaceLines::learnButtonTitle(QStringLiteral("   "), bundle), QStringLiteral("Learn Prayer"));
    EXPECT_EQ(FaceLines::learnButtonTitle(QStringLiteral("\n"), bundle), QStringLiteral("Learn Prayer"));
    EXPECT_EQ(FaceLines::learnButtonTitle(QStringLiteral("  Practise \n"), bundle),
              QStringLiteral("Practise"));
    EXPECT_EQ(FaceLines::cityTitle(bundle), QStringLiteral("MAKKAH"));

    const FaceLines::Credits credits = FaceLines::credits(bundle, QStringLiteral("clk-0a1b2c3d"));
    EXPECT_TRUE(credits.hasSources);
    EXPECT_EQ(credits.network, QStringLiteral("Data network: On device \u00B7 Asia"));
    EXPECT_EQ(credits.feeds, QStringLiteral("Weather: Open-Meteo  \u00B7  Alerts: USGS  \u00B7  "
                                            "Prayer/Qibla: Umm al-Qura  \u00B7  Moon: NASA"));
    EXPECT_EQ(credits.clockId, QStringLiteral("Clock ID: clk-0a1b2c3d"));

    // An inactive alerts source: on the device no feed answered; from a server the place lacks coverage.
    bundle.sources->alerts.active = false;
    EXPECT_TRUE(FaceLines::credits(bundle, QString()).feeds.contains(u"Alerts: USGS (not checked)  "));
    bundle.sources->network.code = QStringLiteral("eu-1");
    EXPECT_TRUE(FaceLines::credits(bundle, QString()).feeds.contains(u"Alerts: USGS (coverage coming)  "));

    bundle.location.city.reset();
    bundle.sources.reset();
    EXPECT_EQ(FaceLines::cityTitle(bundle), QStringLiteral("\u2014"));
    const FaceLines::Credits bare = FaceLines::credits(bundle, QStringLiteral("clk-0a1b2c3d"));
    EXPECT_FALSE(bare.hasSources);
    EXPECT_TRUE(bare.feeds.isEmpty());
    EXPECT_EQ(bare.clockId, QStringLiteral("Clock ID: clk-0a1b2c3d"));
}

TEST(FaceAddresses, SkyMapQueryForThePlaceAndMinute) {
    struct Row {
        const char* utc;
        double tz;
        const char* date;
        const char* h;
        const char* m;
    };
    const Row rows[] = {
        {"2026-03-09T20:05:00Z", 3, "2026-03-09", "23", "05"},
        {"2026-03-09T17:35:00Z", 5.5, "2026-03-09", "23", "05"},
        {"2026-03-09T21:05:00Z", 3, "2026-03-10", "00", "05"},
    };
    LocationInfo makkah;
    makkah.lat = 21.4225;
    makkah.lon = 39.8262;
    for (const Row& r : rows) {
        makkah.tzOffsetHours = r.tz;
        const QUrl url =
            FaceAddresses::planetariumURL(utcMs(r.utc), makkah, QUrl(QStringLiteral("https://sky.example")));
        EXPECT_EQ(url.scheme(), QStringLiteral("https"));
        EXPECT_EQ(url.path(), QStringLiteral("/planetarium"));
        EXPECT_EQ(url.query(), QStringLiteral("obj=moon&date=%1&h=%2&m=%3&lat=21.4225&lon=39.8262&fov=80")
                                   .arg(QLatin1String(r.date), QLatin1String(r.h), QLatin1String(r.m)));
    }
    EXPECT_EQ(FaceAddresses::shortestDecimal(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(FaceAddresses::shortestDecimal(-0.12), QStringLiteral("-0.12"));
    EXPECT_EQ(FaceAddresses::shortestDecimal(51.5), QStringLiteral("51.5"));
}

TEST(FaceAddresses, LogoAddressRules) {
    const QUrl server(QStringLiteral("https://api.orvane.app"));
    Branding branding;
    branding.logoAvailable = true;
    branding.logoUrl = QStringLiteral("/v1/logo/1");

    EXPECT_EQ(FaceAddresses::logoURL(std::nullopt, branding, server, {}),
              QUrl(QStringLiteral("https://api.orvane.app/v1/logo/1")));
    // The clock state's choice wins over the branding record.
    const QUrl chosen(QStringLiteral("https://cdn.example/logo.png"));
    EXPECT_EQ(FaceAddresses::logoURL(chosen, branding, server, {}), chosen);

    branding.logoUrl = QStringLiteral("https://brand.example/l.png");
    EXPECT_EQ(FaceAddresses::logoURL(std::nullopt, branding, server, {}),
              QUrl(QStringLiteral("https://brand.example/l.png")));
    for (const char* refused :
         {"file:///etc/passwd", "javascript:alert(1)", "ftp://x.example/l.png", "", "http://"}) {
        branding.logoUrl = QString::fromLatin1(refused);
        EXPECT_FALSE(FaceAddresses::logoURL(std::nullopt, branding, server, {})) << refused;
    }
    branding.logoUrl = QStringLiteral("/v1/logo/1");
    branding.logoAvailable = false;
    EXPECT_FALSE(FaceAddresses::logoURL(std::nullopt, branding, server, {}));
    EXPECT_FALSE(FaceAddresses::logoURL(std::nullopt, std::nullopt, server, {}));

    // Local files only from the logo cache, and not by walking out of it.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("logos"));
    const QString cache = dir.path() + QStringLiteral("/logos");
    QFile inside(cache + QStringLiteral("/logo.png"));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.close();
    QFile outside(dir.path() + QStringLiteral("/other.png"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();
    const QUrl cached = QUrl::fromLocalFile(inside.fileName());
    EXPECT_EQ(FaceAddresses::logoURL(cached, std::nullopt, server, cache), cached);
    EXPECT_FALSE(
        FaceAddresses::logoURL(QUrl::fromLocalFile(outside.fileName()), std::nullopt, server, cache));
    EXPECT_FALSE(FaceAddresses::logoURL(QUrl::fromLocalFile(cache + QStringLiteral("/../other.png")),
                                        std::nullopt, server, cache));
    EXPECT_FALSE(FaceAddresses::logoURL(cached, std::nullopt, server, {}));
}

}  // namespace

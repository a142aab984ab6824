#include "FakeClock.h"
#include "LocalBundleBuildTestSupport.h"
#include "engine/CivilDay.h"
#include "engine/LocalBundlePrayers.h"
#include "engine/LocalHijri.h"
#include "engine/LocalLabels.h"
#include "engine/LocalQibla.h"
#include "engine/NasaSunImage.h"
#include "engine/NetworkDiscipline.h"
#include "engine/ThemeCache.h"
#include "model/AdhanTexts.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double kLat = 21.4225;
constexpr double kLon = 39.8262;

JsonCoding::StringMap map(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    JsonCoding::StringMap m;
    for (const auto& [k, v] : pairs) m.insert(QString::fromUtf8(k), QString::fromUtf8(v));
    return m;
}

std::int64_t dayNumber(const char* iso) {
    const CivilDay::Date d = *CivilDay::parseIso(QString::fromLatin1(iso));
    return CivilDay::daysFromCivil(d.year, d.month, d.day);
}

}  // namespace

// Everything offline: no maps key, every request refused. The place still comes out whole from the offline
// place database and the on-device engine.
TEST_F(BundleBuildTest, OfflineMakkahIsCompleteAndRoundTrips) {
    server.setOffline(true);
    FakeClock clock("2026-12-07T09:00:00Z");
    SettingsSnapshot s = SettingsSnapshot::defaults();
    s.lang = u"ur"_s;
    s.nasaRefreshHours = 7;
    const ClockBundle b = build(kLat, kLon, s);

    EXPECT_EQ(b.generatedAt, u"2026-12-07T09:00:00Z"_s);
    EXPECT_EQ(b.location.lat, kLat);
    EXPECT_EQ(b.location.lon, kLon);
    EXPECT_TRUE(b.location.city.has_value());
    EXPECT_EQ(b.location.countryCode, u"SA"_s);
    EXPECT_EQ(b.location.tzOffsetHours, 3.0);
    EXPECT_EQ(b.lang, u"ur"_s);
    EXPECT_TRUE(b.rtl);
    EXPECT_EQ(b.labels, LocalLabels::en());

    EXPECT_EQ(b.prayers, map({{"fajr", "05:40"},
                              {"sunrise", "06:46"},
                              {"dhuhr", "12:13"},
                              {"asr", "15:17"},
                              {"maghrib", "17:38"},
                              {"isha", "18:44"}}));
    EXPECT_EQ(b.nextPrayer.key, u"dhuhr"_s);
    EXPECT_EQ(b.nextPrayer.name, u"Dhuhr"_s);
    EXPECT_EQ(b.nextPrayer.time, u"12:13"_s);

    EXPECT_EQ(b.date.gregorian, u"2026-12-07"_s);
    EXPECT_EQ(b.date.hijri.year, 1448);
    EXPECT_EQ(b.date.hijri.month, 6);
    EXPECT_EQ(b.date.hijri.day, 27);
    EXPECT_EQ(b.date.hijri.monthName, u"Jumada al-Thani"_s);

    ASSERT_TRUE(b.method);
    EXPECT_EQ(b.method->key, u"ISNA"_s);
    EXPECT_EQ(b.method->name, u"Islamic Society of N. America"_s);
    EXPECT_EQ(b.method->asr, 1);

    EXPECT_DOUBLE_EQ(b.qibla.bearing, LocalQibla::bearing(kLat, kLon));
    EXPECT_EQ(b.qibla.compass, u"NW"_s);
    ASSERT_TRUE(b.qibla.images);
    EXPECT_EQ(b.qibla.images->bearing, 324.9);
    // No maps key: no picture addresses, and the street card shows its no-street-view picture.
    EXPECT_EQ(b.qibla.images->streetviewAvailable, false);
    EXPECT_TRUE(b.qibla.images->streetviewUrl.isEmpty());
    EXPECT_TRUE(b.qibla.images->mapUrl.isEmpty());

    EXPECT_FALSE(b.weather);
    EXPECT_TRUE(b.alerts.isEmpty());
    EXPECT_EQ(b.events.size(), 6);
    EXPECT_EQ(b.events.first().key, u"isra_miraj"_s);
    EXPECT_FALSE(b.moon.phase.isEmpty());
    EXPECT_FALSE(b.branding);
    EXPECT_FALSE(b.monetization);

    ASSERT_TRUE(b.adhan);
    const AdhanTexts::Table& ar = AdhanTexts::table(u"ar");
    EXPECT_EQ(b.adhan->fajr.available, true);
    EXPECT_EQ(b.adhan->fajr.url, u"bundle://adhan_fajr.mp3"_s);
    EXPECT_EQ(b.adhan->fajr.version, u"local-fajr-v1"_s);
    EXPECT_EQ(b.adhan->fajr.title, ar.fajrTitle);
    EXPECT_EQ(b.adhan->fajr.text, ar.fajr);
    EXPECT_EQ(b.adhan->regular.url, u"bundle://adhan_regular.mp3"_s);
    EXPECT_EQ(b.adhan->regular.version, u"local-regular-v1"_s);
    EXPECT_EQ(b.adhan->regular.title, ar.regularTitle);
    EXPECT_EQ(b.adhan->regular.text, ar.regular);

    ASSERT_TRUE(b.sources);
    EXPECT_EQ(b.sources->network.code, u"local"_s);
    EXPECT_EQ(b.sources->network.nickname, u"On-device"_s);
    EXPECT_EQ(b.sources->network.continent, u"—"_s);
    EXPECT_EQ(b.sources->alerts.provider, u"NWS/EC/USGS"_s);
    EXPECT_EQ(b.sources->alerts.nickname, u"Local alerts"_s);
    EXPECT_FALSE(b.sources->alerts.active);  // no feed answered and nothing was stored
    EXPECT_FALSE(b.alertsChecked());
    EXPECT_EQ(b.sources->prayer.provider, u"PrayTimes"_s);
    EXPECT_EQ(b.sources->prayer.nickname, u"Local prayer"_s);
    EXPECT_TRUE(b.sources->prayer.active);
    ASSERT_TRUE(b.sources->moon);
    EXPECT_EQ(b.sources->moon->provider, u"NASA tables"_s);
    EXPECT_EQ(b.sources->moon->nickname, u"Local moon"_s);
    EXPECT_EQ(b.sources->weather.provider, u"Open-Meteo (auto best)"_s);
    EXPECT_EQ(b.sources->weather.nickname, u"Open-Meteo (auto best)"_s);
    EXPECT_FALSE(b.sources->weather.active);

    ASSERT_TRUE(b.theme);
    EXPECT_EQ(b.theme->moonInClock, true);
    EXPECT_EQ(b.theme->sunInClock, true);
    EXPECT_EQ(b.theme->moonSize, 120);
    EXPECT_EQ(b.theme->sunSize, 120);
    EXPECT_EQ(b.theme->sunImageUrl, server.origin().toString() + u"/assets/img/latest/latest_256_0193.jpg"_s);
    EXPECT_EQ(QUrl(*b.theme->sunImageUrl), NasaSunImage::defaultURL());
    EXPECT_EQ(NasaSunImage::preferredMaxAgeHours.load(), 7);

    const std::optional<QByteArray> bytes = JsonCoding::encodeRecord(b);
    ASSERT_TRUE(bytes);
    const std::optional<ClockBundle> back = JsonCoding::decode<ClockBundle>(*bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(JsonCoding::encodeRecord(*back), bytes);
    const QJsonObject object = b.toJson().toObject();
    for (const char* key :
         {"generated_at", "location", "lang", "rtl", "date", "prayers", "next_prayer", "method", "qibla",
          "alerts", "moon", "events", "adhan", "sources", "theme", "labels"})
        EXPECT_TRUE(object.contains(QLatin1String(key))) << key;
}

TEST_F(BundleBuildTest, WeatherConditionsTakeTheLabelTexts) {
    server.routeFixture(kForecast, u"bundle-build/forecast_makkah.json"_s);
    FakeClock clock("2026-12-07T09:00:00Z");
    const ClockBundle b = build(kLat, kLon);
    ASSERT_TRUE(b.weather);
    EXPECT_EQ(b.weather->current.condition, u"clear"_s);
    EXPECT_EQ(b.weather->current.conditionLocalized, u"Clear"_s);
    ASSERT_EQ(b.weather->daily.size(), 3);
    EXPECT_EQ(b.weather->daily[0].conditionLocalized, u"Overcast"_s);
    EXPECT_EQ(b.weather->daily[1].conditionLocalized, u"Light Rain"_s);
    EXPECT_EQ(b.weather->daily[2].conditionLocalized, LocalLabels::en().value(u"thunderstorm"_s));
    ASSERT_TRUE(b.sources);
    EXPECT_TRUE(b.sources->weather.active);
    EXPECT_TRUE(JsonCoding::encodeRecord(b));
}

TEST_F(BundleBuildTest, StoredThemeReplacesTheFallback) {
    server.setOffline(true);
    DefaultsStore::standard().setData(
        ThemeCache::key, R"({"moon_in_clock":false,"sun_size":64,"sun_image_url":"https://x/s.jpg"})");
    const ClockBundle b = build(kLat, kLon);
    ASSERT_TRUE(b.theme);
    EXPECT_EQ(b.theme->moonInClock, false);
    EXPECT_EQ(b.theme->sunInClock, std::nullopt);
    EXPECT_EQ(b.theme->sunSize, 64);
    EXPECT_EQ(b.theme->sunImageUrl, u"https://x/s.jpg"_s);

    DefaultsStore::standard().setData(ThemeCache::key, "not json");
    EXPECT_EQ(build(kLat, kLon).theme->moonSize, 120);
}

// One second apart across the place's midnight: the date, the Hijri day, the prayer day and the next prayer
// all move together on the place's clock, not on UTC's.
TEST_F(BundleBuildTest, PlaceMidnightMovesEverythingTogether) {
    server.setOffline(true);
    FakeClock clock("2026-12-07T20:59:59Z");  // 23:59:59 in Makkah
    const ClockBundle before = build(kLat, kLon);
    EXPECT_EQ(before.date.gregorian, u"2026-12-07"_s);
    EXPECT_EQ(before.date.hijri.day, 27);
    EXPECT_EQ(before.nextPrayer.key, u"fajr"_s);
    EXPECT_EQ(before.nextPrayer.time, before.prayers.value(u"fajr"_s));
    EXPECT_EQ(before.prayers, LocalBundlePrayers::compute(SettingsSnapshot::defaults(),
                                                          dayNumber("2026-12-07"), kLat, kLon, 3.0));

    clock.advanceSeconds(1);  // 00:00:00
    const ClockBundle after = build(kLat, kLon);
    EXPECT_EQ(after.date.gregorian, u"2026-12-08"_s);
    EXPECT_EQ(after.date.hijri.day, 28);
    EXPECT_EQ(after.nextPrayer.key, u"fajr"_s);
    EXPECT_EQ(after.prayers, LocalBundlePrayers::compute(SettingsSnapshot::defaults(),
                                                         dayNumber("2026-12-08"), kLat, kLon, 3.0));
    EXPECT_EQ(after.events.first().inDays, before.events.first().inDays - 1);
    EXPECT_EQ(after.generatedAt, u"2026-12-07T21:00:00Z"_s);
}

// Places at the extreme offsets and on both sides of the date line, at one instant (11:00 UTC): each gets
// its own civil date, and its noon falls near 12:00 on its own clock.
TEST_F(BundleBuildTest, ExtremeOffsetsAndTheDateLine) {
    useMapsKey(u"k"_s);
    FakeClock clock("2026-12-07T11:00:00Z");
    struct Row {
        const char* name;
        double lat, lon;
        int rawOffset;
        double tz;
        const char* day;
    } rows[] = {
        {"Baker Island", 0.19, -176.48, -43200, -12.0, "2026-12-06"},
        {"Kathmandu", 27.7172, 85.324, 20700, 5.75, "2026-12-07"},
        {"Kiritimati", 1.87, -157.4, 50400, 14.0, "2026-12-08"},
        {"west of the line", -16.5, 179.9, 43200, 12.0, "2026-12-07"},
        {"east of the line", -16.5, -179.9, -39600, -11.0, "2026-12-07"},
        {"east of the line, a day behind", -16.5, -179.8, -43200, -12.0, "2026-12-06"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        server.routeJson(kTimezone, "{\"status\":\"OK\",\"rawOffset\":" + QByteArray::number(r.rawOffset) +
                                        ",\"dstOffset\":0}");
        const ClockBundle b = build(r.lat, r.lon);
        EXPECT_EQ(b.location.tzOffsetHours, r.tz);
        EXPECT_EQ(b.date.gregorian, QLatin1String(r.day));
        EXPECT_EQ(b.prayers, LocalBundlePrayers::compute(SettingsSnapshot::defaults(), dayNumber(r.day),
                                                         r.lat, r.lon, r.tz));
        const std::optional<qint64> dhuhr = LocalBundleBuilder::minutesOfDay(b.prayers.value(u"dhuhr"_s));
        ASSERT_TRUE(dhuhr);
        EXPECT_GE(*dhuhr, 11 * 60 + 30);
        EXPECT_LE(*dhuhr, 13 * 60);
        const LocalHijri::YMD shown =
            LocalHijri::displayYMD(clock.now(), LocalHijri::Location{r.lat, r.lon, r.tz}, clock.now());
        EXPECT_EQ(b.date.hijri.day, shown.day);
        EXPECT_TRUE(JsonCoding::encodeRecord(b));
    }
}

// Coordinates and cached values that are not usable never make a bundle that cannot be stored.
TEST_F(BundleBuildTest, UnusableInputStillGivesAStorableBundle) {
    server.setOffline(true);
    FakeClock clock("2026-12-07T09:00:00Z");
    struct Row {
        double lat, lon, wantLat, wantLon;
    } rows[] = {
        {std::nan(""), std::nan(""), 0, 0},
        {INFINITY, 10, 0, 10},
        {95, 200, 90, -160},
        {-100, -540, -90, -180},
        {10, 540, 10, -180},
    };
    for (const Row& r : rows) {
        const ClockBundle b = build(r.lat, r.lon);
        EXPECT_EQ(b.location.lat, r.wantLat);
        EXPECT_EQ(b.location.lon, r.wantLon);
        EXPECT_TRUE(JsonCoding::encodeRecord(b)) << r.lat << "," << r.lon;
        EXPECT_EQ(b.prayers.size(), 6);
    }

    // A damaged place entry with an offset no zone accepts: the device's own offset (UTC here) everywhere.
    NetworkDiscipline::storeData(R"({"tzOffsetHours":1e300,"streetViewOK":true})",
                                 NetworkDiscipline::coordinateKey(kLat, kLon).prepend(u"geo."_s));
    const ClockBundle b = build(kLat, kLon);
    EXPECT_EQ(b.location.tzOffsetHours, 0.0);
    EXPECT_EQ(b.prayers, LocalBundlePrayers::compute(SettingsSnapshot::defaults(), dayNumber("2026-12-07"),
                                                     kLat, kLon, 0.0));
    EXPECT_TRUE(JsonCoding::encodeRecord(b));
}

// Cross-check against published Umm al-Qura timetables for Makkah (within a minute), when the reference
// data is at hand.
TEST_F(BundleBuildTest, MakkahAgreesWithPublishedTimetables) {
    QFile file(QStringLiteral(ORVANE_REFDATA_DIR "/prayer-times-adhan/Makkah-UmmAlQura.json"));
    if (!file.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no reference data";
    const QJsonObject root = JsonCoding::parse(file.readAll()).value_or(QJsonValue()).toObject();
    const QJsonObject params = root.value(u"params").toObject();
    const double lat = params.value(u"latitude").toDouble();
    const double lon = params.value(u"longitude").toDouble();
    server.setOffline(true);
    SettingsSnapshot s = SettingsSnapshot::defaults();
    s.method = u"Makkah"_s;
    const QJsonArray days = root.value(u"times").toArray();
    ASSERT_FALSE(days.isEmpty());
    for (const QJsonValue& v : days) {
        const QJsonObject day = v.toObject();
        const QString date = day.value(u"date").toString();
        FakeClock clock(QDateTime::fromString(date + u"T09:00:00Z"_s, Qt::ISODate));
        const ClockBundle b = build(lat, lon, s);
        for (const char* key : {"fajr", "sunrise", "dhuhr", "asr", "maghrib", "isha"}) {
            // "h:mm AM" on the place's 12-hour clock.
            const QStringList parts = day.value(QLatin1String(key)).toString().split(QLatin1Char(' '));
            ASSERT_EQ(parts.size(), 2);
            const qint64 clock12 = *LocalBundleBuilder::minutesOfDay(parts[0]) % (12 * 60);
            const qint64 want = clock12 + (parts[1] == u"PM" ? 12 * 60 : 0);
            const qint64 got = *LocalBundleBuilder::minutesOfDay(b.prayers.value(QLatin1String(key)));
            EXPECT_LE(std::abs(got - want), 1) << date.toStdString() << " " << key;
        }
    }
}

TEST_F(BundleBuildTest, UnknownMethodKeyIsReportedAsItsOwnName) {
    server.setOffline(true);
    FakeClock clock("2026-12-07T09:00:00Z");
    SettingsSnapshot custom = SettingsSnapshot::defaults();
    custom.method = u"Custom"_s;
    custom.asr = 2;
    SettingsSnapshot mwl = custom;
    mwl.method = u"MWL"_s;
    const ClockBundle b = build(kLat, kLon, custom);
    ASSERT_TRUE(b.method);
    EXPECT_EQ(b.method->key, u"Custom"_s);
    EXPECT_EQ(b.method->name, u"Custom"_s);
    EXPECT_EQ(b.method->asr, 2);
    EXPECT_EQ(b.prayers, build(kLat, kLon, mwl).prayers);
    EXPECT_EQ(build(kLat, kLon, mwl).method->name, u"Muslim World League"_s);
}

// The alert credit tells a list the feeds gave from a stored one and from none at all.
TEST_F(BundleBuildTest, AlertCreditFollowsWhereTheListCameFrom) {
    FakeClock clock("2026-12-07T09:00:00Z");
    server.routeFixture(u"/fdsnws/event/1/query"_s, u"usgs_fdsn_query_empty.json"_s);
    const ClockBundle answered = build(kLat, kLon);
    ASSERT_TRUE(answered.sources);
    EXPECT_TRUE(answered.alerts.isEmpty());
    EXPECT_TRUE(answered.alertsChecked());
    EXPECT_EQ(answered.sources->alerts.nickname, u"Local alerts"_s);

    clock.advanceSeconds(5 * 3600);
    server.setOffline(true);
    const ClockBundle stored = build(kLat, kLon);
    EXPECT_TRUE(stored.alertsChecked());
    EXPECT_EQ(stored.sources->alerts.provider, u"NWS/EC/USGS (cached)"_s);
    EXPECT_EQ(stored.sources->alerts.nickname, u"Local alerts (cached)"_s);

    clock.advanceSeconds(7 * 3600);
    const ClockBundle unchecked = build(kLat, kLon);
    EXPECT_FALSE(unchecked.alertsChecked());
    EXPECT_EQ(unchecked.sources->alerts.nickname, u"Local alerts"_s);
}

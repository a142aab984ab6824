#include "engine/CivilDay.h"
#include "engine/GoogleMapsClient.h"
#include "engine/LocalAlerts.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalBundleGeo.h"
#include "engine/LocalBundlePrayers.h"
#include "engine/LocalHijri.h"
#include "engine/LocalHijriEvents.h"
#include "engine/LocalLabels.h"
#include "engine/LocalMoon.h"
#include "engine/LocalPrayerTimes.h"
#include "engine/LocalQibla.h"
#include "engine/NasaSunImage.h"
#include "engine/PlaceZone.h"
#include "engine/ThemeCache.h"
#include "engine/WeatherFetcher.h"
#include "model/AdhanTexts.h"
#include "platform/Clock.h"
#include "platform/Endpoints.h"

#include <cmath>

namespace {

constexpr int kEventCount = 6;

// A coordinate that is not a number has no place; it is read as no coordinates (0, 0) rather than letting a
// NaN reach the times and make the bundle impossible to store. Latitude stops at the poles; longitude wraps.
double usableLatitude(double lat) {
    if (!std::isfinite(lat)) return 0.0;
    return std::clamp(lat, -90.0, 90.0);
}

double usableLongitude(double lon) {
    if (!std::isfinite(lon)) return 0.0;
    if (lon >= -180.0 && lon <= 180.0) return lon;
    const double wrapped = std::fmod(lon + 180.0, 360.0);
    return (wrapped < 0 ? wrapped + 360.0 : wrapped) - 180.0;
}

// The offset every later step uses. One no fixed zone accepts (a damaged cache entry, a strange reply) is
// replaced by the device's own, so the times, the day and the recorded offset all agree.
double usableOffsetHours(double tz, const QDateTime& now) {
    if (CivilDay::fixedOffsetSeconds(tz)) return tz;
    return QDateTime::fromMSecsSinceEpoch(now.toMSecsSinceEpoch(), Qt::LocalTime).offsetFromUtc() / 3600.0;
}

struct PlaceOffset {
    double hours = 0;
    std::optional<QString> zone;
};

// The offset at `now`: of this computer's own zone for its own place, else of the place's named zone (so a
// cached place record follows the zone's daylight-saving changes), else the recorded fixed offset. A
// computer whose zone has no name the system knows keeps its clock in UTC, which says nothing of where it
// is: its own place then counts as any other.
PlaceOffset placeOffset(const CachedGeo& geo, const SettingsSnapshot& settings, const QDateTime& now) {
    const std::int64_t ms = now.toMSecsSinceEpoch();
    if (settings.devicePlace) {
        const QString device = PlaceZone::deviceZoneId();
        if (const std::optional<double> h = PlaceZone::offsetHours(device, ms)) return {*h, device};
    }
    if (geo.timeZone) {
        const std::optional<double> h = PlaceZone::offsetHours(*geo.timeZone, ms);
        if (h && CivilDay::fixedOffsetSeconds(*h)) return {*h, geo.timeZone};
    }
    return {usableOffsetHours(geo.tzOffsetHours, now), std::nullopt};
}

bool isRightToLeft(const QString& lang) {
    return lang == QLatin1String("ar") || lang == QLatin1String("ur") || lang == QLatin1String("fa");
}

void localizeConditions(Weather& weather, const JsonCoding::StringMap& labels) {
    const auto localize = [&labels](const QString& condition, std::optional<QString>& localized) {
        const auto it = labels.constFind(condition);
        if (it != labels.constEnd()) localized = *it;
    };
    localize(weather.current.condition, weather.current.conditionLocalized);
    for (DailyWeather& day : weather.daily) localize(day.condition, day.conditionLocalized);
}

MethodInfo methodInfo(const SettingsSnapshot& settings) {
    const auto& methods = LocalPrayerTimes::methods();
    const auto it = methods.constFind(settings.method);
    return MethodInfo{settings.method, it != methods.constEnd() ? it->name : settings.method,
                      qint64(settings.asr)};
}

AdhanBundle adhanItems(const QString& adhanLang) {
    const AdhanTexts::Table& t = AdhanTexts::table(adhanLang);
    return AdhanBundle{
        AdhanItem{true, QStringLiteral("bundle://adhan_fajr.mp3"), QStringLiteral("local-fajr-v1"),
                  t.fajrTitle, t.fajr},
        AdhanItem{true, QStringLiteral("bundle://adhan_regular.mp3"), QStringLiteral("local-regular-v1"),
                  t.regularTitle, t.regular},
    };
}

ThemeConfig fallbackTheme() {
    return ThemeConfig{true, true, 120, 120, NasaSunImage::defaultURL().toString(QUrl::FullyEncoded)};
}

// The alerts credit says, as the weather's does, when the list is a stored one; a list that could not be
// checked at all is an inactive source, so no view takes its emptiness for "no alerts".
SourceItem alertsCredit(LocalAlerts::Origin origin) {
    const QString suffix = origin == LocalAlerts::Origin::Stored ? QStringLiteral(" (cached)") : QString();
    return SourceItem{QStringLiteral("NWS/EC/USGS") + suffix, QStringLiteral("Local alerts") + suffix,
                      origin != LocalAlerts::Origin::Unchecked};
}

Sources sources(const QString& weatherLabel, bool weatherActive, LocalAlerts::Origin alertsOrigin) {
    Sources s;
    s.network = SourceNetwork{QStringLiteral("local"), QStringLiteral("On-device"), QStringLiteral("—")};
    s.weather = SourceItem{weatherLabel, weatherLabel, weatherActive};
    s.alerts = alertsCredit(alertsOrigin);
    s.prayer = SourceItem{QStringLiteral("PrayTimes"), QStringLiteral("Local prayer"), true};
    s.moon = SourceItem{QStringLiteral("NASA tables"), QStringLiteral("Local moon"), true};
    return s;
}

}  // namespace

namespace LocalBundleBuilder {

DateInfo datesOf(std::int64_t day, const QDateTime& now, double lat, double lon, double tzOffsetHours,
                 const JsonCoding::StringMap& labels) {
    const LocalHijri::YMD hijri =
        LocalHijri::displayYMD(now, LocalHijri::Location{lat, lon, tzOffsetHours}, now);
    return DateInfo{CivilDay::isoText(day),
                    Hijri{hijri.year, hijri.month, hijri.day, LocalHijri::monthName(hijri.month, labels)}};
}

QCoro::Task<ClockBundle> build(double lat, double lon, SettingsSnapshot settings,
                               std::optional<QString> cityOverride, std::optional<QString> countryOverride,
                               bool forceNetwork) {
    const JsonCoding::StringMap& labels = LocalLabels::en();
    const QDateTime now = Clock::now();
    lat = usableLatitude(lat);
    lon = usableLongitude(lon);

    // The forecast depends on nothing the place lookup gives, so it starts first and overlaps everything up
    // to the end; `settings` lives in this frame until the task is awaited.
    QCoro::Task<WeatherFetcher::Result> weatherTask = WeatherFetcher::fetch(lat, lon, settings, forceNetwork);

    const CachedGeo geo = co_await LocalBundleGeo::resolve(lat, lon, settings, forceNetwork, now);
    const PlaceOffset offset = placeOffset(geo, settings, now);
    const double tz = offset.hours;

    // A city override of blanks is no city; a country override is taken as given, even empty.
    const QString overrideCity = cityOverride ? cityOverride->trimmed() : QString();
    const std::optional<QString> city = !overrideCity.isEmpty() ? std::optional(overrideCity) : geo.city;
    const std::optional<QString> country = countryOverride ? countryOverride : geo.country;

    const int offsetSeconds = CivilDay::fixedOffsetSeconds(tz).value_or(0);
    const std::int64_t days = CivilDay::dayOf(now.toMSecsSinceEpoch(), offsetSeconds);

    ClockBundle bundle;
    bundle.prayers = LocalBundlePrayers::cachedOrComputed(settings, days, lat, lon, tz, forceNetwork);

    bundle.qibla.bearing = LocalQibla::bearing(lat, lon);
    bundle.qibla.compass = LocalQibla::compassPoint(bundle.qibla.bearing);
    bundle.qibla.images = GoogleMapsClient::qiblaImages(lat, lon, bundle.qibla.bearing, geo.streetViewOK);

    const LocalHijri::Location place{lat, lon, tz};
    bundle.date = datesOf(days, now, lat, lon, tz, labels);

    bundle.nextPrayer = computeNext(bundle.prayers, now, tz, labels);
    bundle.moon = LocalMoon::info(now, labels);
    bundle.events = LocalHijri::upcomingEvents(now, kEventCount, labels, place);

    LocalAlerts::Fetched alerts = co_await LocalAlerts::fetch(
        lat, lon, country, geo.admin1, settings.alertsScope, settings.alertsRefreshHours, forceNetwork);
    bundle.alerts = std::move(alerts.items);

    WeatherFetcher::Result weather = co_await weatherTask;
    if (weather.weather) localizeConditions(*weather.weather, labels);

    bundle.method = methodInfo(settings);
    bundle.adhan = adhanItems(settings.adhanLang);
    NasaSunImage::preferredMaxAgeHours.store(settings.nasaRefreshHours, std::memory_order_relaxed);

    bundle.generatedAt = now.toUTC().toString(Qt::ISODate);
    bundle.location = LocationInfo{lat, lon, city, country, tz, offset.zone};
    bundle.lang = settings.lang;
    bundle.rtl = isRightToLeft(settings.lang);
    bundle.weather = std::move(weather.weather);
    bundle.sources = sources(weather.providerLabel, bundle.weather.has_value(), alerts.origin);
    bundle.theme = ThemeCache::cached().value_or(fallbackTheme());
    bundle.labels = labels;
    co_return bundle;
}

}  // namespace LocalBundleBuilder

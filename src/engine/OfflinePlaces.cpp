#include "engine/OfflinePlaces.h"

// GLib names a struct member "signals", which Qt defines as a keyword macro.
#pragma push_macro("signals")
#undef signals
#include <geonames.h>
#pragma pop_macro("signals")

#include <libintl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDegrees = 3.141592653589793 / 180.0;

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

void keepNamesUntranslated() {
    // The library translates names through gettext in the user's language ("Kalifornien"), but the alert
    // feeds and the maps service name places in English: pointing its catalogue at nowhere keeps the
    // database's own names. Nothing else in the program uses that domain.
    bindtextdomain("geonames", "/nonexistent/orvane-untranslated");
}

// The place at `index` of the library, when it has a name and a finite position.
std::optional<OfflinePlace> readPlace(int index) {
    GeonamesCity* city = geonames_get_city(index);
    if (!city) return std::nullopt;
    OfflinePlace p;
    p.name = text(geonames_city_get_name(city));
    p.region = text(geonames_city_get_state(city));
    p.countryCode = text(geonames_city_get_country_code(city)).toUpper();
    p.timeZone = text(geonames_city_get_timezone(city));
    p.lat = geonames_city_get_latitude(city);
    p.lon = geonames_city_get_longitude(city);
    geonames_city_free(city);
    if (p.name.isEmpty() || !std::isfinite(p.lat) || !std::isfinite(p.lon)) return std::nullopt;
    return p;
}

struct IndexedPoint {
    double lat = 0;
    double lon = 0;
    int index = 0;
};

// The position of the place at `index`, when it has a name and a finite position.
std::optional<IndexedPoint> readPoint(int index) {
    GeonamesCity* city = geonames_get_city(index);
    if (!city) return std::nullopt;
    const char* name = geonames_city_get_name(city);
    const IndexedPoint p{geonames_city_get_latitude(city), geonames_city_get_longitude(city), index};
    const bool named = name && *name;
    geonames_city_free(city);
    if (!named || !std::isfinite(p.lat) || !std::isfinite(p.lon)) return std::nullopt;
    return p;
}

// Every place of the library that `read` accepts, in the library's order.
template <typename Entry>
std::vector<Entry> readAll(std::optional<Entry> (*read)(int)) {
    keepNamesUntranslated();
    std::vector<Entry> out;
    const int count = geonames_get_n_cities();
    if (count <= 0) return out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (std::optional<Entry> entry = read(i)) out.push_back(std::move(*entry));
    }
    return out;
}

}  // namespace

namespace OfflinePlaces {

std::vector<OfflinePlace> readDatabase() {
    return readAll(&readPlace);
}

double distanceKm(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 * kDegrees;
    const double p2 = lat2 * kDegrees;
    const double dp = (lat2 - lat1) * kDegrees;
    const double dl = (lon2 - lon1) * kDegrees;
    const double s = std::sin(dp / 2);
    const double t = std::sin(dl / 2);
    const double h = s * s + std::cos(p1) * std::cos(p2) * t * t;
    return 12742.0 * std::asin(std::min(1.0, std::sqrt(h)));
}

std::optional<Nearest> nearest(double lat, double lon, double maxKm) {
    if (!std::isfinite(lat) || !std::isfinite(lon) || !(maxKm >= 0)) return std::nullopt;
    // One degree of latitude is about 111.2 km everywhere, so places outside that band cannot be nearer
    // than maxKm; skipping them saves most of the trigonometry.
    const double band = maxKm / 111.0 + 0.5;
    // Read through the library for each lookup rather than kept beside it: lookups come a few times a
    // day, and an index held for them would sit in memory for the life of the clock.
    keepNamesUntranslated();
    std::optional<IndexedPoint> best;
    double bestKm = 0;
    const int count = geonames_get_n_cities();
    for (int i = 0; i < count; ++i) {
        const std::optional<IndexedPoint> p = readPoint(i);
        if (!p || std::abs(p->lat - lat) > band) continue;
        const double d = distanceKm(lat, lon, p->lat, p->lon);
        if (!best || d < bestKm) {
            best = p;
            bestKm = d;
        }
    }
    if (!best || bestKm > maxKm) return std::nullopt;
    std::optional<OfflinePlace> place = readPlace(best->index);
    if (!place) return std::nullopt;
    return Nearest{std::move(*place), bestKm};
}

}  // namespace OfflinePlaces

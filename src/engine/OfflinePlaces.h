#pragma once

#include <QString>
#include <optional>
#include <vector>

// One town or city of the offline world-cities database that ships with Debian's libgeonames.
struct OfflinePlace {
    QString name;
    QString region;       // first-level administrative area
    QString countryCode;  // ISO 3166-1 alpha-2, upper case
    QString timeZone;     // IANA zone identifier
    double lat = 0;
    double lon = 0;
};

// The place data the clock falls back on when no maps key is configured or the maps service fails:
// about 24,000 places with coordinates, region, country and time zone, from libgeonames. The library
// already holds them in memory; the clock keeps nothing beside it and reads through it at each lookup.
namespace OfflinePlaces {

struct Nearest {
    OfflinePlace place;
    double distanceKm = 0;
};

// Reads the whole database afresh, with the names untranslated whatever the user's language.
std::vector<OfflinePlace> readDatabase();

// The place closest to the point, when one lies within maxKm (inclusive); nothing for a non-finite point.
std::optional<Nearest> nearest(double lat, double lon, double maxKm);

// Great-circle distance on a sphere of radius 6371 km.
double distanceKm(double lat1, double lon1, double lat2, double lon2);

}  // namespace OfflinePlaces

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the alert feeds share: the alert scope and its parameters, the country, continent, state and province
// tables, and the tests that decide whether a place text or a position lies in the user's country, continent
// or first-level area. Names and codes are found in place texts as whole words only, so "Indiana" is not
// "India" and Oregon's "or" is not inside "California".
namespace LocalAlerts {

struct BBox {
    double minLat, maxLat, minLon, maxLon;
    bool contains(double lat, double lon) const {
        return minLat <= lat && lat <= maxLat && minLon <= lon && lon <= maxLon;
    }
};

// One of "city", "region", "province", "country", "continent" for any stored text.
QString normalizeScope(const QString& scope);

// Earthquake search radius (350 km for an unknown scope), keep radius (none for the wide scopes) and
// half-width of the Canadian query box (0.6 degrees for an unknown scope).
double fetchRadiusKm(const QString& scope);
std::optional<double> displayRadiusKm(const QString& scope);
double ecBBoxDeg(const QString& scope);

std::optional<BBox> countryBBox(const QString& code);
std::optional<BBox> continentBBox(const QString& continent);

// The continent of a country code (any case), or "global".
QString continent(const QString& code);

// The lower-case texts by which an alert may name that first-level area (its name and its code).
QStringList admin1MatchKeys(const QString& admin1, const QString& countryCode = QString());

std::optional<QString> inferCountry(const std::optional<QString>& place, std::optional<double> qlat,
                                    std::optional<double> qlon);
bool sameCountry(const QString& countryCode, const std::optional<QString>& place, std::optional<double> qlat,
                 std::optional<double> qlon);
bool sameAdmin1(const std::optional<QString>& admin1, const QString& countryCode,
                const std::optional<QString>& place);

// Whether an earthquake passes the scope test (after its distance test); scope already normalised.
bool keepEarthquake(const QString& scope, const QString& countryCode, const std::optional<QString>& admin1,
                    const std::optional<QString>& place, std::optional<double> qlat,
                    std::optional<double> qlon);

// Whether needle occurs in text where its letter or digit ends are not joined to further letters or digits.
bool containsWord(const QString& text, const QString& needle);

// The lower-case names of the Canadian provinces and territories, and the upper-case US codes.
const QStringList& canadianNames();
const QStringList& usStateAbbrevs();
std::optional<QString> usStateAbbrev(const QString& lowerCaseName);
std::optional<QString> caProvinceAbbrev(const QString& lowerCaseName);

// The Canadian names that are neither a key nor another spelling of the keys' own province.
QStringList otherCanadianNames(const QStringList& keys);

}  // namespace LocalAlerts

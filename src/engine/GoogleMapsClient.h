#pragma once

#include <QCoro/QCoroTask>
#include "model/PlaceRecords.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The maps web-service lookups the bundle engine needs: a place's UTC offset, its names and whether a
// street-level image exists there. With no maps key no request is made; the offset and the names then come
// from the offline place database, before the stated fallbacks.
namespace GoogleMapsClient {

struct ReverseGeocode {
    std::optional<QString> city;
    std::optional<QString> country;  // two-letter country code
    std::optional<QString> admin1;   // first-level administrative area
};

// Offset of the place from UTC in hours at the instant; never fails.
QCoro::Task<double> timezoneOffsetHours(double lat, double lon, QDateTime at);

// The place's locality, country code and first-level area; three nils when nothing is known.
QCoro::Task<ReverseGeocode> reverseGeocode(double lat, double lon);

// False only when the metadata service answers with a status other than "OK".
QCoro::Task<bool> streetViewAvailable(double lat, double lon);

// The street-level and road-map image addresses of the qibla at a place; no request is made.
QiblaImages qiblaImages(double lat, double lon, double bearing, bool available);

// The offline answers on their own (no network): the zone of the nearest place within 300 km, and the
// nearest place within 50 km.
std::optional<double> offlineOffsetHours(double lat, double lon, const QDateTime& at);
std::optional<ReverseGeocode> offlineReverseGeocode(double lat, double lon);

// Offset of an IANA zone at the instant through ICU; nothing for a zone ICU does not know.
std::optional<double> zoneOffsetHours(const QString& zoneId, const QDateTime& at);

}  // namespace GoogleMapsClient

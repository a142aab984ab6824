#pragma once

#include "model/ServerReplies.h"

#include <QCoro/QCoroTask>
#include "model/PlaceRecords.h"

#include <QDateTime>
#include <QList>
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

// A place's offset from UTC in hours at an instant, with the named zone it came from when one is known.
struct Zone {
    double offsetHours = 0;
    std::optional<QString> zoneId;  // IANA identifier
};

// Offset of the place from UTC in hours at the instant; never fails.
QCoro::Task<double> timezoneOffsetHours(double lat, double lon, QDateTime at);
// The same lookup without the guesses: the maps service's zone, else the offline database's; nothing when
// neither knows the place.
QCoro::Task<std::optional<double>> lookupOffsetHours(double lat, double lon, QDateTime at);
// The same lookup, keeping the zone's name, so the offset can follow the zone's later changes.
QCoro::Task<Zone> timeZone(double lat, double lon, QDateTime at);

// The place's locality, country code and first-level area; three nils when nothing is known.
QCoro::Task<ReverseGeocode> reverseGeocode(double lat, double lon);

// False only when the metadata service answers with a status other than "OK".
QCoro::Task<bool> streetViewAvailable(double lat, double lon);

// The street-level and road-map image addresses of the qibla at a place; no request is made. Without a
// maps key neither picture can be had: both addresses are empty and street view counts as unavailable, so
// the panel shows its no-picture states instead of asking with an empty key.
QiblaImages qiblaImages(double lat, double lon, double bearing, bool available);

// The offline answers on their own (no network): the zone of the nearest place within 300 km; the country
// and region of the nearest place within 300 km, with its name only when it lies within 50 km.
std::optional<Zone> offlineZone(double lat, double lon, const QDateTime& at);
std::optional<double> offlineOffsetHours(double lat, double lon, const QDateTime& at);
std::optional<ReverseGeocode> offlineReverseGeocode(double lat, double lon);

// Offset of an IANA zone at the instant through ICU; nothing for a zone ICU does not know.
std::optional<double> zoneOffsetHours(const QString& zoneId, const QDateTime& at);

// ---- Place search for the settings window ----

// Suggestions for the typed text (trimmed; under two characters gives none and asks nothing), biased to
// 50 km around lat/lon when both are given. With no maps key, or when the service fails, the offline
// database answers: "name, region, country" with coordinates and no place id, best-known places first.
// A call overtaken by a newer one (or by cancelAutocomplete) gives an empty list: its answer is stale.
QCoro::Task<QList<AddressSuggestion>> autocomplete(QString text, std::optional<double> lat = std::nullopt,
                                                   std::optional<double> lon = std::nullopt);
// Drops the answer of every autocomplete still in flight.
void cancelAutocomplete();
// The offline suggestions on their own (no network), at most `limit`.
QList<AddressSuggestion> offlineSuggestions(const QString& text, int limit = 10);

// The position, formatted address and locality of a suggested place; nothing on any failure.
QCoro::Task<std::optional<PlaceResult>> place(QString placeId);

// ---- The service's replies, read without the network ----

// The offset a time-zone reply gives for the instant; nothing for a reply that gives none within ±14 hours.
std::optional<double> timezoneFromReply(const QByteArray& body, const QDateTime& at);
// The names of a reverse-geocoding reply; nothing when it names nothing.
std::optional<ReverseGeocode> namesFromGeocodeReply(const QByteArray& body);
// The suggestions of an autocomplete reply (empty for "ZERO_RESULTS"); nothing for a failed reply.
std::optional<QList<AddressSuggestion>> suggestionsFromReply(const QByteArray& body);
// The place of a place-details reply; nothing without a position on Earth.
std::optional<PlaceResult> placeFromReply(const QByteArray& body);

}  // namespace GoogleMapsClient

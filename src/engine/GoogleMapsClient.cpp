#include "engine/GoogleMapsClient.h"

#include "engine/CivilDay.h"
#include "engine/NetworkDiscipline.h"
#include "engine/OfflinePlaces.h"
#include "engine/PlaceZone.h"
#include "model/JsonCoding.h"
#include "platform/Clock.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrlQuery>

#include <charconv>
#include <cmath>

namespace {

// How far the offline database may be from the point and still stand for it: a town's zone, country and
// region hold far out into the countryside around it, its name only close by.
constexpr double kZoneRadiusKm = 300.0;
constexpr double kRegionRadiusKm = 300.0;
constexpr double kPlaceRadiusKm = 50.0;

QUrl mapsUrl(const char* path, QUrlQuery query) {
    const Endpoints& e = Endpoints::current();
    QUrl url = e.maps.resolved(QUrl(QString::fromLatin1(path)));
    query.addQueryItem(QStringLiteral("key"), e.mapsKey);
    url.setQuery(query);
    return url;
}

QString latLon(double lat, double lon) {
    return NetworkDiscipline::decimalText(lat) + QLatin1Char(',') + NetworkDiscipline::decimalText(lon);
}

bool hasKey() {
    return !Endpoints::current().mapsKey.trimmed().isEmpty();
}

std::optional<QJsonObject> replyObject(const HttpResponse& r) {
    if (!r.transportOk) return std::nullopt;
    const std::optional<QJsonValue> v = JsonCoding::parse(r.body);
    if (!v || !v->isObject()) return std::nullopt;
    return v->toObject();
}

std::optional<QString> trimmedText(const QJsonValue& v) {
    if (!v.isString()) return std::nullopt;
    QString t = v.toString().trimmed();
    if (t.isEmpty()) return std::nullopt;
    return t;
}

double deviceOffsetHours() {
    return QDateTime::fromMSecsSinceEpoch(Clock::nowMs(), Qt::LocalTime).offsetFromUtc() / 3600.0;
}

std::optional<GoogleMapsClient::Zone> zoneFromReply(const QJsonObject& o, const QDateTime& at) {
    if (const std::optional<QString> id = trimmedText(o.value(QLatin1String("timeZoneId")))) {
        if (std::optional<double> h = PlaceZone::offsetHours(*id, at.toMSecsSinceEpoch()))
            return GoogleMapsClient::Zone{*h, *id};
    }
    const QJsonValue raw = o.value(QLatin1String("rawOffset"));
    const QJsonValue dst = o.value(QLatin1String("dstOffset"));
    if (raw.isDouble() && dst.isDouble()) {
        const double h = (raw.toDouble() + dst.toDouble()) / 3600.0;
        // No zone on Earth is further than 14 hours from UTC; the civil-day arithmetic refuses more.
        if (std::isfinite(h) && std::abs(h) * 3600 <= CivilDay::kMaxOffsetSeconds)
            return GoogleMapsClient::Zone{h, std::nullopt};
    }
    return std::nullopt;
}

std::optional<GoogleMapsClient::ReverseGeocode> namesFromReply(const QJsonObject& o) {
    const QJsonValue status = o.value(QLatin1String("status"));
    if (status.isString() && status.toString() != QLatin1String("OK")) return std::nullopt;
    GoogleMapsClient::ReverseGeocode g;
    for (const QJsonValue& result : o.value(QLatin1String("results")).toArray()) {
        for (const QJsonValue& c : result.toObject().value(QLatin1String("address_components")).toArray()) {
            const QJsonObject component = c.toObject();
            const QJsonArray types = component.value(QLatin1String("types")).toArray();
            const auto typed = [&types](const char* type) { return types.contains(QLatin1String(type)); };
            if (!g.city && typed("locality"))
                g.city = trimmedText(component.value(QLatin1String("long_name")));
            if (!g.country && typed("country"))
                g.country = trimmedText(component.value(QLatin1String("short_name")));
            if (!g.admin1 && typed("administrative_area_level_1"))
                g.admin1 = trimmedText(component.value(QLatin1String("long_name")));
        }
    }
    if (!g.city && !g.country && !g.admin1) return std::nullopt;
    return g;
}

QString oneDecimal(double value) {
    char buffer[400];
    const std::to_chars_result r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    if (r.ec != std::errc()) return QStringLiteral("0.0");
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

// A reply as it arrives whole, for reading a body that came from elsewhere.
HttpResponse arrived(const QByteArray& body) {
    HttpResponse r;
    r.transportOk = true;
    r.body = body;
    return r;
}

}  // namespace

namespace GoogleMapsClient {

QiblaImages qiblaImages(double lat, double lon, double bearing, bool available) {
    if (!hasKey()) {
        QiblaImages none;
        none.bearing = std::round(bearing * 10.0) / 10.0;
        none.streetviewAvailable = false;
        return none;
    }
    const Endpoints& e = Endpoints::current();
    const QString location = latLon(lat, lon);
    QUrlQuery street;
    street.addQueryItem(QStringLiteral("size"), QStringLiteral("600x400"));
    street.addQueryItem(QStringLiteral("location"), location);
    street.addQueryItem(QStringLiteral("heading"), oneDecimal(bearing));
    street.addQueryItem(QStringLiteral("pitch"), QStringLiteral("0"));
    street.addQueryItem(QStringLiteral("fov"), QStringLiteral("90"));
    street.addQueryItem(QStringLiteral("source"), QStringLiteral("outdoor"));
    street.addQueryItem(QStringLiteral("key"), e.mapsKey);
    QUrl streetUrl = e.maps.resolved(QUrl(QStringLiteral("/maps/api/streetview")));
    streetUrl.setQuery(street);

    QUrlQuery map;
    map.addQueryItem(QStringLiteral("size"), QStringLiteral("600x400"));
    map.addQueryItem(QStringLiteral("zoom"), QStringLiteral("16"));
    map.addQueryItem(QStringLiteral("center"), location);
    map.addQueryItem(QStringLiteral("maptype"), QStringLiteral("roadmap"));
    map.addQueryItem(QStringLiteral("key"), e.mapsKey);
    QUrl mapUrl = e.maps.resolved(QUrl(QStringLiteral("/maps/api/staticmap")));
    mapUrl.setQuery(map);

    QiblaImages images;
    images.bearing = std::round(bearing * 10.0) / 10.0;
    images.streetviewUrl = streetUrl.toString(QUrl::FullyEncoded);
    images.mapUrl = mapUrl.toString(QUrl::FullyEncoded);
    images.streetviewAvailable = available;
    return images;
}

std::optional<double> zoneOffsetHours(const QString& zoneId, const QDateTime& at) {
    if (!at.isValid()) return std::nullopt;
    return PlaceZone::offsetHours(zoneId, at.toMSecsSinceEpoch());
}

std::optional<Zone> offlineZone(double lat, double lon, const QDateTime& at) {
    const std::optional<OfflinePlaces::Nearest> n = OfflinePlaces::nearest(lat, lon, kZoneRadiusKm);
    if (!n || !at.isValid()) return std::nullopt;
    const std::optional<double> h = PlaceZone::offsetHours(n->place.timeZone, at.toMSecsSinceEpoch());
    if (!h) return std::nullopt;
    return Zone{*h, n->place.timeZone};
}

std::optional<double> offlineOffsetHours(double lat, double lon, const QDateTime& at) {
    const std::optional<Zone> zone = offlineZone(lat, lon, at);
    if (!zone) return std::nullopt;
    return zone->offsetHours;
}

std::optional<ReverseGeocode> offlineReverseGeocode(double lat, double lon) {
    const std::optional<OfflinePlaces::Nearest> n = OfflinePlaces::nearest(lat, lon, kRegionRadiusKm);
    if (!n) return std::nullopt;
    const auto nonEmpty = [](const QString& s) -> std::optional<QString> {
        if (s.trimmed().isEmpty()) return std::nullopt;
        return s.trimmed();
    };
    // Far from any town the place still lies in the nearest town's country and region (which choose the
    // alert feeds), but it is not that town.
    const std::optional<QString> city =
        n->distanceKm <= kPlaceRadiusKm ? nonEmpty(n->place.name) : std::nullopt;
    return ReverseGeocode{city, nonEmpty(n->place.countryCode), nonEmpty(n->place.region)};
}

namespace {

// The maps service's zone, else the offline database's; nothing when neither knows the place.
QCoro::Task<std::optional<Zone>> lookupZone(double lat, double lon, QDateTime at) {
    if (hasKey() && std::isfinite(lat) && std::isfinite(lon) && at.isValid()) {
        QUrlQuery q;
        q.addQueryItem(QStringLiteral("location"), latLon(lat, lon));
        q.addQueryItem(QStringLiteral("timestamp"), QString::number(at.toMSecsSinceEpoch() / 1000));
        const HttpResponse r = co_await Http::get(mapsUrl("/maps/api/timezone/json", q));
        if (const std::optional<QJsonObject> o = replyObject(r)) {
            if (std::optional<Zone> zone = zoneFromReply(*o, at)) co_return *zone;
        }
    }
    co_return offlineZone(lat, lon, at);
}

}  // namespace

QCoro::Task<std::optional<double>> lookupOffsetHours(double lat, double lon, QDateTime at) {
    const std::optional<Zone> zone = co_await lookupZone(lat, lon, std::move(at));
    if (!zone) co_return std::nullopt;
    co_return zone->offsetHours;
}

QCoro::Task<Zone> timeZone(double lat, double lon, QDateTime at) {
    if (std::optional<Zone> zone = co_await lookupZone(lat, lon, at)) co_return *zone;
    if (std::abs(lat) <= 0.01 && std::abs(lon) <= 0.01) co_return Zone{std::round(lon / 15.0) + 0.0, {}};
    co_return Zone{deviceOffsetHours(), std::nullopt};
}

QCoro::Task<double> timezoneOffsetHours(double lat, double lon, QDateTime at) {
    co_return (co_await timeZone(lat, lon, std::move(at))).offsetHours;
}

QCoro::Task<ReverseGeocode> reverseGeocode(double lat, double lon) {
    if (hasKey() && std::isfinite(lat) && std::isfinite(lon)) {
        QUrlQuery q;
        q.addQueryItem(QStringLiteral("latlng"), latLon(lat, lon));
        const HttpResponse r = co_await Http::get(mapsUrl("/maps/api/geocode/json", q));
        if (const std::optional<QJsonObject> o = replyObject(r)) {
            if (std::optional<ReverseGeocode> g = namesFromReply(*o)) co_return *g;
        }
    }
    if (std::optional<ReverseGeocode> g = offlineReverseGeocode(lat, lon)) co_return *g;
    co_return ReverseGeocode{};
}

QCoro::Task<bool> streetViewAvailable(double lat, double lon) {
    if (!hasKey() || !std::isfinite(lat) || !std::isfinite(lon)) co_return true;
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("location"), latLon(lat, lon));
    q.addQueryItem(QStringLiteral("source"), QStringLiteral("outdoor"));
    const HttpResponse r = co_await Http::get(mapsUrl("/maps/api/streetview/metadata", q));
    const std::optional<QJsonObject> o = replyObject(r);
    if (!o) co_return true;
    const QJsonValue status = o->value(QLatin1String("status"));
    co_return !(status.isString() && status.toString() != QLatin1String("OK"));
}

std::optional<double> timezoneFromReply(const QByteArray& body, const QDateTime& at) {
    const std::optional<QJsonObject> o = replyObject(arrived(body));
    if (!o) return std::nullopt;
    const std::optional<Zone> zone = zoneFromReply(*o, at);
    if (!zone) return std::nullopt;
    return zone->offsetHours;
}

std::optional<ReverseGeocode> namesFromGeocodeReply(const QByteArray& body) {
    const std::optional<QJsonObject> o = replyObject(arrived(body));
    return o ? namesFromReply(*o) : std::nullopt;
}

}  // namespace GoogleMapsClient

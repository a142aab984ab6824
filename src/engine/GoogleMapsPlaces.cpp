#include "engine/GoogleMapsClient.h"

#include "engine/NetworkDiscipline.h"
#include "model/JsonCoding.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"

// GLib names a struct member "signals", which Qt defines as a keyword macro.
#pragma push_macro("signals")
#undef signals
#include <geonames.h>
#pragma pop_macro("signals")

#include <QJsonArray>
#include <QJsonObject>
#include <QUrlQuery>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kBiasRadiusMeters = 50000;

// Bumped by every autocomplete and by a cancel; an answer whose call is no longer the newest is dropped.
std::atomic<quint64> autocompleteGeneration{0};

QUrl mapsUrl(const char* path, QUrlQuery query) {
    const Endpoints& e = Endpoints::current();
    QUrl url = e.maps.resolved(QUrl(QString::fromLatin1(path)));
    query.addQueryItem(u"key"_s, e.mapsKey);
    url.setQuery(query);
    return url;
}

bool hasKey() {
    return !Endpoints::current().mapsKey.trimmed().isEmpty();
}

std::optional<QJsonObject> okReply(const HttpResponse& r) {
    if (!r.transportOk) return std::nullopt;
    const std::optional<QJsonValue> v = JsonCoding::parse(r.body);
    if (!v || !v->isObject()) return std::nullopt;
    const QJsonObject o = v->toObject();
    const QJsonValue status = o.value("status"_L1);
    if (status.isString() && status.toString() != "OK"_L1) return std::nullopt;
    return o;
}

std::optional<QString> nonEmpty(const QJsonValue& v) {
    if (!v.isString()) return std::nullopt;
    const QString t = v.toString().trimmed();
    if (t.isEmpty()) return std::nullopt;
    return t;
}

// The service's predictions; nothing when it failed (so the offline database may answer instead). A
// reply that simply found nothing is an empty list, not a failure.
std::optional<QList<AddressSuggestion>> predictions(const HttpResponse& r) {
    if (!r.transportOk) return std::nullopt;
    const std::optional<QJsonValue> v = JsonCoding::parse(r.body);
    if (!v || !v->isObject()) return std::nullopt;
    const QJsonObject o = v->toObject();
    const QString status = o.value("status"_L1).toString();
    if (status == "ZERO_RESULTS"_L1) return QList<AddressSuggestion>{};
    if (!status.isEmpty() && status != "OK"_L1) return std::nullopt;
    const QJsonValue list = o.value("predictions"_L1);
    if (!list.isArray()) return std::nullopt;
    QList<AddressSuggestion> out;
    for (const QJsonValue& p : list.toArray()) {
        const QJsonObject prediction = p.toObject();
        const std::optional<QString> label = nonEmpty(prediction.value("description"_L1));
        if (!label) continue;
        out.append(
            AddressSuggestion{*label, nonEmpty(prediction.value("place_id"_L1)), std::nullopt, std::nullopt});
    }
    return out;
}

std::optional<PlaceResult> placeFromObject(const QJsonObject& reply) {
    const QJsonObject result = reply.value("result"_L1).toObject();
    const QJsonObject location = result.value("geometry"_L1).toObject().value("location"_L1).toObject();
    const QJsonValue latValue = location.value("lat"_L1);
    const QJsonValue lonValue = location.value("lng"_L1);
    // A place without a position cannot be applied as the clock's location.
    if (!latValue.isDouble() || !lonValue.isDouble()) return std::nullopt;
    const double placeLat = latValue.toDouble();
    const double placeLon = lonValue.toDouble();
    if (!std::isfinite(placeLat) || !std::isfinite(placeLon) || std::abs(placeLat) > 90 ||
        std::abs(placeLon) > 180)
        return std::nullopt;
    PlaceResult out;
    out.found = true;
    out.lat = placeLat;
    out.lon = placeLon;
    out.name = nonEmpty(result.value("formatted_address"_L1));
    out.address = out.name;
    for (const QJsonValue& c : result.value("address_components"_L1).toArray()) {
        const QJsonObject component = c.toObject();
        if (component.value("types"_L1).toArray().contains("locality"_L1)) {
            out.locality = nonEmpty(component.value("long_name"_L1));
            if (out.locality) break;
        }
    }
    return out;
}

QString text(const char* s) {
    return s ? QString::fromUtf8(s).trimmed() : QString();
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

QList<AddressSuggestion> offlineSuggestions(const QString& typed, int limit) {
    const QString query = typed.trimmed();
    QList<AddressSuggestion> out;
    if (query.size() < 2 || limit <= 0) return out;
    guint length = 0;
    const QByteArray utf8 = query.toUtf8();
    gint* indices =
        geonames_query_cities_sync(utf8.constData(), GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr);
    if (!indices) return out;

    struct Match {
        int rank;  // 0: the name itself, 1: a name starting with the text, 2: any other match
        guint population;
        AddressSuggestion suggestion;
    };
    std::vector<Match> matches;
    matches.reserve(length);
    for (guint i = 0; i < length; ++i) {
        GeonamesCity* city = geonames_get_city(indices[i]);
        if (!city) continue;
        const QString name = text(geonames_city_get_name(city));
        QStringList parts{name};
        for (const char* part : {geonames_city_get_state(city), geonames_city_get_country(city)}) {
            const QString t = text(part);
            if (!t.isEmpty()) parts.append(t);
        }
        const double lat = geonames_city_get_latitude(city);
        const double lon = geonames_city_get_longitude(city);
        const guint population = geonames_city_get_population(city);
        geonames_city_free(city);
        if (name.isEmpty() || !std::isfinite(lat) || !std::isfinite(lon)) continue;
        const int rank = name.compare(query, Qt::CaseInsensitive) == 0 ? 0
                         : name.startsWith(query, Qt::CaseInsensitive) ? 1
                                                                       : 2;
        matches.push_back({rank, population, AddressSuggestion{parts.join(u", "_s), std::nullopt, lat, lon}});
    }
    g_free(indices);
    // Places of the very name first, then names that begin with it; among them, the larger towns first, so
    // the best-known place of a name leads.
    std::stable_sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.population > b.population;
    });
    for (const Match& m : matches) {
        if (out.size() >= limit) break;
        out.append(m.suggestion);
    }
    return out;
}

void cancelAutocomplete() {
    ++autocompleteGeneration;
}

QCoro::Task<QList<AddressSuggestion>> autocomplete(QString typed, std::optional<double> lat,
                                                   std::optional<double> lon) {
    const quint64 mine = ++autocompleteGeneration;
    const QString input = typed.trimmed();
    if (input.size() < 2) co_return {};
    if (hasKey()) {
        QUrlQuery q;
        q.addQueryItem(u"input"_s, input);
        if (lat && lon && std::isfinite(*lat) && std::isfinite(*lon)) {
            q.addQueryItem(u"location"_s, NetworkDiscipline::decimalText(*lat) + u',' +
                                              NetworkDiscipline::decimalText(*lon));
            q.addQueryItem(u"radius"_s, QString::number(kBiasRadiusMeters));
        }
        const HttpResponse r = co_await Http::get(mapsUrl("/maps/api/place/autocomplete/json", q));
        if (autocompleteGeneration.load() != mine) co_return {};
        if (std::optional<QList<AddressSuggestion>> online = predictions(r)) co_return *online;
    }
    co_return offlineSuggestions(input);
}

QCoro::Task<std::optional<PlaceResult>> place(QString placeId) {
    const QString id = placeId.trimmed();
    if (id.isEmpty() || !hasKey()) co_return std::nullopt;
    QUrlQuery q;
    q.addQueryItem(u"place_id"_s, id);
    q.addQueryItem(u"fields"_s, u"geometry,formatted_address,name,address_components"_s);
    const std::optional<QJsonObject> o =
        okReply(co_await Http::get(mapsUrl("/maps/api/place/details/json", q)));
    if (!o) co_return std::nullopt;
    co_return placeFromObject(*o);
}

std::optional<QList<AddressSuggestion>> suggestionsFromReply(const QByteArray& body) {
    return predictions(arrived(body));
}

std::optional<PlaceResult> placeFromReply(const QByteArray& body) {
    const std::optional<QJsonObject> o = okReply(arrived(body));
    return o ? placeFromObject(*o) : std::nullopt;
}

}  // namespace GoogleMapsClient

#include "model/ServerReplies.h"

#include "model/RecordIdentity.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<ClockAddressInfo> ClockAddressInfo::fromJson(const QJsonValue& value) {
    Reader r(value);
    ClockAddressInfo out;
    out.found = r.requiredBool("found"_L1);
    out.address = r.optionalString("address"_L1);
    out.lat = r.optionalDouble("lat"_L1);
    out.lon = r.optionalDouble("lon"_L1);
    out.city = r.optionalString("city"_L1);
    out.country = r.optionalString("country"_L1);
    out.clockId = r.optionalString("clock_id"_L1);
    out.tzOffsetHours = r.optionalDouble("tz_offset_hours"_L1);
    out.placeId = r.optionalString("place_id"_L1);
    out.updatedAt = r.optionalString("updated_at"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue ClockAddressInfo::toJson() const {
    Writer w;
    w.add("found"_L1, found);
    w.add("address"_L1, address);
    w.add("lat"_L1, lat);
    w.add("lon"_L1, lon);
    w.add("city"_L1, city);
    w.add("country"_L1, country);
    w.add("clock_id"_L1, clockId);
    w.add("tz_offset_hours"_L1, tzOffsetHours);
    w.add("place_id"_L1, placeId);
    w.add("updated_at"_L1, updatedAt);
    return w.object();
}

QString AddressSuggestion::id() const {
    return RecordIdentity::join({label, placeId});
}

std::optional<AddressSuggestion> AddressSuggestion::fromJson(const QJsonValue& value) {
    Reader r(value);
    AddressSuggestion out;
    out.label = r.requiredString("label"_L1);
    out.placeId = r.optionalString("place_id"_L1);
    out.lat = r.optionalDouble("lat"_L1);
    out.lon = r.optionalDouble("lon"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue AddressSuggestion::toJson() const {
    Writer w;
    w.add("label"_L1, label);
    w.add("place_id"_L1, placeId);
    w.add("lat"_L1, lat);
    w.add("lon"_L1, lon);
    return w.object();
}

std::optional<PlaceResult> PlaceResult::fromJson(const QJsonValue& value) {
    Reader r(value);
    PlaceResult out;
    out.found = r.requiredBool("found"_L1);
    out.lat = r.optionalDouble("lat"_L1);
    out.lon = r.optionalDouble("lon"_L1);
    out.name = r.optionalString("name"_L1);
    out.locality = r.optionalString("locality"_L1);
    out.address = r.optionalString("address"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue PlaceResult::toJson() const {
    Writer w;
    w.add("found"_L1, found);
    w.add("lat"_L1, lat);
    w.add("lon"_L1, lon);
    w.add("name"_L1, name);
    w.add("locality"_L1, locality);
    w.add("address"_L1, address);
    return w.object();
}

#include "model/PlaceRecords.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<LocationInfo> LocationInfo::fromJson(const QJsonValue& value) {
    Reader r(value);
    LocationInfo out;
    out.lat = r.requiredDouble("lat"_L1);
    out.lon = r.requiredDouble("lon"_L1);
    out.city = r.optionalString("city"_L1);
    out.countryCode = r.optionalString("country_code"_L1);
    out.tzOffsetHours = r.requiredDouble("tz_offset_hours"_L1);
    out.timeZone = r.optionalString("time_zone"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue LocationInfo::toJson() const {
    Writer w;
    w.add("lat"_L1, lat);
    w.add("lon"_L1, lon);
    w.add("city"_L1, city);
    w.add("country_code"_L1, countryCode);
    w.add("tz_offset_hours"_L1, tzOffsetHours);
    w.add("time_zone"_L1, timeZone);
    return w.object();
}

std::optional<Hijri> Hijri::fromJson(const QJsonValue& value) {
    Reader r(value);
    Hijri out;
    out.year = r.requiredInt("year"_L1);
    out.month = r.requiredInt("month"_L1);
    out.day = r.requiredInt("day"_L1);
    out.monthName = r.requiredString("month_name"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Hijri::toJson() const {
    Writer w;
    w.add("year"_L1, year);
    w.add("month"_L1, month);
    w.add("day"_L1, day);
    w.add("month_name"_L1, monthName);
    return w.object();
}

std::optional<DateInfo> DateInfo::fromJson(const QJsonValue& value) {
    Reader r(value);
    DateInfo out;
    out.gregorian = r.requiredString("gregorian"_L1);
    out.hijri = r.requiredRecord<Hijri>("hijri"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue DateInfo::toJson() const {
    Writer w;
    w.add("gregorian"_L1, gregorian);
    w.add("hijri"_L1, hijri);
    return w.object();
}

std::optional<NextPrayer> NextPrayer::fromJson(const QJsonValue& value) {
    Reader r(value);
    NextPrayer out;
    out.key = r.requiredString("key"_L1);
    out.name = r.requiredString("name"_L1);
    out.time = r.requiredString("time"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue NextPrayer::toJson() const {
    Writer w;
    w.add("key"_L1, key);
    w.add("name"_L1, name);
    w.add("time"_L1, time);
    return w.object();
}

std::optional<MethodInfo> MethodInfo::fromJson(const QJsonValue& value) {
    Reader r(value);
    MethodInfo out;
    out.key = r.optionalString("key"_L1);
    out.name = r.optionalString("name"_L1);
    out.asr = r.optionalInt("asr"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue MethodInfo::toJson() const {
    Writer w;
    w.add("key"_L1, key);
    w.add("name"_L1, name);
    w.add("asr"_L1, asr);
    return w.object();
}

std::optional<QiblaImages> QiblaImages::fromJson(const QJsonValue& value) {
    Reader r(value);
    QiblaImages out;
    out.bearing = r.requiredDouble("bearing"_L1);
    out.streetviewUrl = r.requiredString("streetview_url"_L1);
    out.mapUrl = r.requiredString("map_url"_L1);
    out.streetviewAvailable = r.optionalBool("streetview_available"_L1);
    out.unavailableUrl = r.optionalString("unavailable_url"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue QiblaImages::toJson() const {
    Writer w;
    w.add("bearing"_L1, bearing);
    w.add("streetview_url"_L1, streetviewUrl);
    w.add("map_url"_L1, mapUrl);
    w.add("streetview_available"_L1, streetviewAvailable);
    w.add("unavailable_url"_L1, unavailableUrl);
    return w.object();
}

std::optional<Qibla> Qibla::fromJson(const QJsonValue& value) {
    Reader r(value);
    Qibla out;
    out.bearing = r.requiredDouble("bearing"_L1);
    out.compass = r.requiredString("compass"_L1);
    out.images = r.optionalRecord<QiblaImages>("images"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Qibla::toJson() const {
    Writer w;
    w.add("bearing"_L1, bearing);
    w.add("compass"_L1, compass);
    w.add("images"_L1, images);
    return w.object();
}

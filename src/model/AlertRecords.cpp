#include "model/AlertRecords.h"

#include "model/RecordIdentity.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

QString Alert::id() const {
    return RecordIdentity::join({type, event, headline, time});
}

bool Alert::isSevere() const {
    if (emergency) return *emergency;
    return severity && (*severity == "Severe"_L1 || *severity == "Extreme"_L1);
}

std::optional<Alert> Alert::fromJson(const QJsonValue& value) {
    Reader r(value);
    Alert out;
    out.type = r.optionalString("type"_L1);
    out.event = r.optionalString("event"_L1);
    out.severity = r.optionalString("severity"_L1);
    out.headline = r.optionalString("headline"_L1);
    out.description = r.optionalString("description"_L1);
    out.magnitude = r.optionalDouble("magnitude"_L1);
    out.place = r.optionalString("place"_L1);
    out.distanceKm = r.optionalDouble("distance_km"_L1);
    out.time = r.optionalString("time"_L1);
    out.url = r.optionalString("url"_L1);
    out.emergency = r.optionalBool("emergency"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Alert::toJson() const {
    Writer w;
    w.add("type"_L1, type);
    w.add("event"_L1, event);
    w.add("severity"_L1, severity);
    w.add("headline"_L1, headline);
    w.add("description"_L1, description);
    w.add("magnitude"_L1, magnitude);
    w.add("place"_L1, place);
    w.add("distance_km"_L1, distanceKm);
    w.add("time"_L1, time);
    w.add("url"_L1, url);
    w.add("emergency"_L1, emergency);
    return w.object();
}

std::optional<Eclipse> Eclipse::fromJson(const QJsonValue& value) {
    Reader r(value);
    Eclipse out;
    out.date = r.requiredString("date"_L1);
    out.type = r.requiredString("type"_L1);
    out.region = r.optionalString("region"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Eclipse::toJson() const {
    Writer w;
    w.add("date"_L1, date);
    w.add("type"_L1, type);
    w.add("region"_L1, region);
    return w.object();
}

std::optional<Moon> Moon::fromJson(const QJsonValue& value) {
    Reader r(value);
    Moon out;
    out.phase = r.requiredString("phase"_L1);
    out.phaseName = r.requiredString("phase_name"_L1);
    out.ageDays = r.requiredDouble("age_days"_L1);
    out.cycleDays = r.optionalInt("cycle_days"_L1);
    out.illuminationPct = r.requiredInt("illumination_pct"_L1);
    out.waxing = r.requiredBool("waxing"_L1);
    out.distanceKm = r.optionalInt("distance_km"_L1);
    out.name = r.optionalString("name"_L1);
    out.nameKey = r.optionalString("name_key"_L1);
    out.nextEclipse = r.optionalRecord<Eclipse>("next_eclipse"_L1);
    out.nextSolarEclipse = r.optionalRecord<Eclipse>("next_solar_eclipse"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Moon::toJson() const {
    Writer w;
    w.add("phase"_L1, phase);
    w.add("phase_name"_L1, phaseName);
    w.add("age_days"_L1, ageDays);
    w.add("cycle_days"_L1, cycleDays);
    w.add("illumination_pct"_L1, illuminationPct);
    w.add("waxing"_L1, waxing);
    w.add("distance_km"_L1, distanceKm);
    w.add("name"_L1, name);
    w.add("name_key"_L1, nameKey);
    w.add("next_eclipse"_L1, nextEclipse);
    w.add("next_solar_eclipse"_L1, nextSolarEclipse);
    return w.object();
}

QString Event::id() const {
    return RecordIdentity::join({key, gregorian});
}

std::optional<Event> Event::fromJson(const QJsonValue& value) {
    Reader r(value);
    Event out;
    out.key = r.requiredString("key"_L1);
    out.name = r.requiredString("name"_L1);
    out.gregorian = r.requiredString("gregorian"_L1);
    out.inDays = r.requiredInt("in_days"_L1);
    out.hijriDay = r.requiredInt("hijri_day"_L1);
    out.hijriMonthName = r.requiredString("hijri_month_name"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Event::toJson() const {
    Writer w;
    w.add("key"_L1, key);
    w.add("name"_L1, name);
    w.add("gregorian"_L1, gregorian);
    w.add("in_days"_L1, inDays);
    w.add("hijri_day"_L1, hijriDay);
    w.add("hijri_month_name"_L1, hijriMonthName);
    return w.object();
}

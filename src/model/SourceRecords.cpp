#include "model/SourceRecords.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<SourceNetwork> SourceNetwork::fromJson(const QJsonValue& value) {
    Reader r(value);
    SourceNetwork out;
    out.code = r.requiredString("code"_L1);
    out.nickname = r.requiredString("nickname"_L1);
    out.continent = r.requiredString("continent"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue SourceNetwork::toJson() const {
    Writer w;
    w.add("code"_L1, code);
    w.add("nickname"_L1, nickname);
    w.add("continent"_L1, continent);
    return w.object();
}

std::optional<SourceItem> SourceItem::fromJson(const QJsonValue& value) {
    Reader r(value);
    SourceItem out;
    out.provider = r.requiredString("provider"_L1);
    out.nickname = r.requiredString("nickname"_L1);
    out.active = r.requiredBool("active"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue SourceItem::toJson() const {
    Writer w;
    w.add("provider"_L1, provider);
    w.add("nickname"_L1, nickname);
    w.add("active"_L1, active);
    return w.object();
}

std::optional<Sources> Sources::fromJson(const QJsonValue& value) {
    Reader r(value);
    Sources out;
    out.network = r.requiredRecord<SourceNetwork>("network"_L1);
    out.weather = r.requiredRecord<SourceItem>("weather"_L1);
    out.alerts = r.requiredRecord<SourceItem>("alerts"_L1);
    out.prayer = r.requiredRecord<SourceItem>("prayer"_L1);
    out.moon = r.optionalRecord<SourceItem>("moon"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Sources::toJson() const {
    Writer w;
    w.add("network"_L1, network);
    w.add("weather"_L1, weather);
    w.add("alerts"_L1, alerts);
    w.add("prayer"_L1, prayer);
    w.add("moon"_L1, moon);
    return w.object();
}

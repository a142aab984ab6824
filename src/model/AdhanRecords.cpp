#include "model/AdhanRecords.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<AdhanItem> AdhanItem::fromJson(const QJsonValue& value) {
    Reader r(value);
    AdhanItem out;
    out.available = r.requiredBool("available"_L1);
    out.url = r.requiredString("url"_L1);
    out.version = r.optionalString("version"_L1);
    out.title = r.requiredString("title"_L1);
    out.text = r.requiredString("text"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue AdhanItem::toJson() const {
    Writer w;
    w.add("available"_L1, available);
    w.add("url"_L1, url);
    w.add("version"_L1, version);
    w.add("title"_L1, title);
    w.add("text"_L1, text);
    return w.object();
}

std::optional<AdhanBundle> AdhanBundle::fromJson(const QJsonValue& value) {
    Reader r(value);
    AdhanBundle out;
    out.fajr = r.requiredRecord<AdhanItem>("fajr"_L1);
    out.regular = r.requiredRecord<AdhanItem>("regular"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue AdhanBundle::toJson() const {
    Writer w;
    w.add("fajr"_L1, fajr);
    w.add("regular"_L1, regular);
    return w.object();
}

#include "engine/NetworkDiscipline.h"

#include "platform/Clock.h"
#include "platform/DefaultsStore.h"

#include <charconv>
#include <cmath>

namespace {

QString chars(double value, std::chars_format format, std::optional<int> precision = std::nullopt) {
    char buffer[64];
    const std::to_chars_result r =
        precision ? std::to_chars(buffer, buffer + sizeof buffer, value, format, *precision)
                  : std::to_chars(buffer, buffer + sizeof buffer, value, format);
    if (r.ec != std::errc()) return QString();
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

double roundedToThousandths(double x) {
    return std::round(x * 1000.0) / 1000.0;
}

double nowSeconds() {
    return double(Clock::nowMs()) / 1000.0;
}

}  // namespace

std::optional<CachedGeo> CachedGeo::fromJson(const QJsonValue& value) {
    if (!value.isObject()) return std::nullopt;
    JsonCoding::Reader r(value);
    CachedGeo g;
    g.city = r.optionalString(QLatin1StringView("city"));
    g.country = r.optionalString(QLatin1StringView("country"));
    g.admin1 = r.optionalString(QLatin1StringView("admin1"));
    g.tzOffsetHours = r.requiredDouble(QLatin1StringView("tzOffsetHours"));
    g.streetViewOK = r.requiredBool(QLatin1StringView("streetViewOK"));
    g.timeZone = r.optionalString(QLatin1StringView("timeZone"));
    if (!r.ok()) return std::nullopt;
    return g;
}

QJsonValue CachedGeo::toJson() const {
    JsonCoding::Writer w;
    w.add(QLatin1StringView("city"), city);
    w.add(QLatin1StringView("country"), country);
    w.add(QLatin1StringView("admin1"), admin1);
    w.add(QLatin1StringView("tzOffsetHours"), tzOffsetHours);
    w.add(QLatin1StringView("streetViewOK"), streetViewOK);
    w.add(QLatin1StringView("timeZone"), timeZone);
    return w.object();
}

std::optional<CachedAlerts> CachedAlerts::fromJson(const QJsonValue& value) {
    if (!value.isObject()) return std::nullopt;
    JsonCoding::Reader r(value);
    CachedAlerts c;
    c.items = r.requiredArray<Alert>(QLatin1StringView("items"));
    if (!r.ok()) return std::nullopt;
    return c;
}

QJsonValue CachedAlerts::toJson() const {
    JsonCoding::Writer w;
    w.add(QLatin1StringView("items"), items);
    return w.object();
}

namespace NetworkDiscipline {

DefaultsStore& store() {
    return DefaultsStore::standard();
}

QString dataKey(const QString& key) {
    return QStringLiteral("netCache.v1.data.") + key;
}
QString stampKey(const QString& key) {
    return QStringLiteral("netCache.v1.ts.") + key;
}

bool isFresh(const QString& key, double maxAge) {
    const double stored = stamp(key);
    if (!(stored > 0)) return false;
    const double now = nowSeconds();
    return now - stored < maxAge && stored - now < maxAge;
}

std::optional<QByteArray> loadData(const QString& key) {
    const std::optional<DefaultsStore::Object> o = store().object(dataKey(key));
    if (!o || o->type != DefaultsStore::Type::Bytes) return std::nullopt;
    return o->value.toByteArray();
}

void storeData(const QByteArray& data, const QString& key) {
    DefaultsStore& s = store();
    s.setData(dataKey(key), data);
    s.setDouble(stampKey(key), nowSeconds());
}

double stamp(const QString& key) {
    const double v = store().doubleValue(stampKey(key));
    return std::isfinite(v) ? v : 0.0;
}

void storeStamp(const QString& key) {
    store().setDouble(stampKey(key), nowSeconds());
}

const WeatherProvider* provider(const QString& id) {
    for (const WeatherProvider& p : weatherProviders)
        if (id == QLatin1String(p.id)) return &p;
    return nullptr;
}

double maxAgeSeconds(qint64 hours) {
    return hours >= 1 ? double(hours) * 3600.0 : 3600.0;
}

QString coordinateKey(double lat, double lon) {
    return chars(roundedToThousandths(lat), std::chars_format::fixed, 3) + QLatin1Char(',') +
           chars(roundedToThousandths(lon), std::chars_format::fixed, 3);
}

QString decimalText(double value) {
    if (!std::isfinite(value)) return chars(value, std::chars_format::general);
    const double magnitude = std::abs(value);
    if (magnitude != 0 && (magnitude < 1e-4 || magnitude >= 1e16))
        return chars(value, std::chars_format::scientific);
    QString text = chars(value, std::chars_format::fixed);
    if (!text.contains(QLatin1Char('.'))) text += QLatin1String(".0");
    return text;
}

}  // namespace NetworkDiscipline

#include "engine/NetworkDiscipline.h"

#include "platform/Clock.h"
#include "platform/DefaultsStore.h"

#include <QLoggingCategory>
#include <QSet>
#include <algorithm>
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

Q_LOGGING_CATEGORY(lcCache, "orvane.cache")

double nowSeconds() {
    return double(Clock::nowMs()) / 1000.0;
}

constexpr double kHour = 3600.0;
const QString kDataPrefix = QStringLiteral("netCache.v1.data.");
const QString kStampPrefix = QStringLiteral("netCache.v1.ts.");

// How long after its stamp an entry of the key is removed. Each family's freshness limit is the one its
// reader passes to isFresh; a key of no known family gets the longest of them.
double pruneAfterSeconds(const QString& key, const SettingsSnapshot& s) {
    using NetworkDiscipline::maxAgeSeconds;
    if (key.startsWith(QLatin1String("prayers."))) return 7 * 24 * kHour;
    struct Family {
        const char* prefix;
        double maxAge;
    };
    const Family families[] = {
        {"geo.", maxAgeSeconds(s.geoRefreshHours)},
        {"alerts.", maxAgeSeconds(s.alertsRefreshHours)},
        {"weather.", maxAgeSeconds(s.weatherRefreshHours)},
        {"branding.logos", maxAgeSeconds(s.geoRefreshHours)},
        {"blessings", maxAgeSeconds(s.geoRefreshHours)},
        {"branding.nosv", 24 * kHour},
    };
    double longest = 24 * kHour;
    for (const Family& f : families) {
        if (key.startsWith(QLatin1String(f.prefix))) return 10 * f.maxAge;
        longest = std::max(longest, f.maxAge);
    }
    for (const int hours : {s.prayerRefreshHours, s.nasaRefreshHours})
        longest = std::max(longest, maxAgeSeconds(hours));
    return 10 * longest;
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

int prune(const SettingsSnapshot& settings) {
    DefaultsStore& s = store();
    QSet<QString> keys;
    for (const QString& full : s.keys()) {
        if (full.startsWith(kDataPrefix))
            keys.insert(full.mid(kDataPrefix.size()));
        else if (full.startsWith(kStampPrefix))
            keys.insert(full.mid(kStampPrefix.size()));
    }
    const double now = nowSeconds();
    int removed = 0;
    for (const QString& key : std::as_const(keys)) {
        const double stored = stamp(key);
        const double limit = pruneAfterSeconds(key, settings);
        // A payload without a stamp is never fresh again, so it goes too.
        if (stored > 0 && now - stored <= limit && stored - now <= limit) continue;
        for (const QString& full : {dataKey(key), stampKey(key)}) {
            if (s.contains(full)) s.remove(full);
        }
        ++removed;
    }
    if (removed > 0) qCInfo(lcCache) << "removed" << removed << "stale response cache entries";
    return removed;
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

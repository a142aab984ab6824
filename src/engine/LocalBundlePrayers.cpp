#include "engine/LocalBundlePrayers.h"

#include "engine/CivilDay.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalPrayerTimes.h"
#include "engine/NetworkDiscipline.h"

namespace LocalBundlePrayers {

std::optional<CachedPrayers> CachedPrayers::fromJson(const QJsonValue& value) {
    JsonCoding::Reader r(value);
    CachedPrayers c;
    c.day = r.requiredString(QLatin1StringView("day"));
    c.prayers = r.requiredStringMap(QLatin1StringView("prayers"));
    if (!r.ok()) return std::nullopt;
    for (const char* key : LocalPrayerTimes::kTimeKeys)
        if (!c.prayers.contains(QLatin1StringView(key))) return std::nullopt;
    return c;
}

QJsonValue CachedPrayers::toJson() const {
    JsonCoding::Writer w;
    w.add(QLatin1StringView("day"), day);
    w.add(QLatin1StringView("prayers"), prayers);
    return w.object();
}

QString cacheKey(const SettingsSnapshot& settings, double tzOffsetHours, const QString& day, double lat,
                 double lon) {
    return QStringLiteral("prayers.") + settings.method + QStringLiteral(".a") +
           QString::number(settings.asr) + QStringLiteral(".h") + settings.highLat + QStringLiteral(".z") +
           NetworkDiscipline::decimalText(tzOffsetHours) + QLatin1Char('.') + day + QLatin1Char('.') +
           NetworkDiscipline::coordinateKey(lat, lon);
}

JsonCoding::StringMap compute(const SettingsSnapshot& settings, std::int64_t days, double lat, double lon,
                              double tzOffsetHours) {
    const LocalPrayerTimes::Calculator calculator(settings.method, settings.asr, settings.highLat);
    const CivilDay::Date date = CivilDay::civilFromDays(days);
    const LocalPrayerTimes::DayTimes times =
        calculator.times(date.year, date.month, date.day, lat, lon, tzOffsetHours, 0);
    JsonCoding::StringMap prayers;
    for (std::size_t i = 0; i < LocalPrayerTimes::kTimeKeys.size(); ++i)
        prayers.insert(QLatin1StringView(LocalPrayerTimes::kTimeKeys[i]),
                       LocalBundleBuilder::timeString(times.at(i)));
    return prayers;
}

JsonCoding::StringMap cachedOrComputed(const SettingsSnapshot& settings, std::int64_t days, double lat,
                                       double lon, double tzOffsetHours, bool force) {
    const QString day = CivilDay::isoText(days);
    const QString key = cacheKey(settings, tzOffsetHours, day, lat, lon);
    if (!force &&
        NetworkDiscipline::isFresh(key, NetworkDiscipline::maxAgeSeconds(settings.prayerRefreshHours))) {
        const std::optional<CachedPrayers> cached = NetworkDiscipline::loadCodable<CachedPrayers>(key);
        if (cached && cached->day == day) return cached->prayers;
    }
    CachedPrayers fresh{day, compute(settings, days, lat, lon, tzOffsetHours)};
    NetworkDiscipline::storeCodable(fresh, key);
    return std::move(fresh.prayers);
}

}  // namespace LocalBundlePrayers

#include "clock/PrayerSchedule.h"

#include "engine/CivilDay.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/PlaceZone.h"
#include "model/ClockBundle.h"
#include "platform/Clock.h"

#include <QDateTime>

namespace PrayerSchedule {

int indexOf(QStringView key) {
    for (int i = 0; i < kCount; ++i)
        if (key == keys[i]) return i;
    return -1;
}

Minutes minutesOf(const JsonCoding::StringMap& prayers) {
    Minutes result{};
    for (int i = 0; i < kCount; ++i) {
        const auto it = prayers.constFind(QString(keys[i]));
        if (it == prayers.constEnd()) continue;
        const std::optional<qint64> minute = LocalBundleBuilder::minutesOfDay(*it);
        if (minute && *minute >= 0 && *minute < 24 * 60) result[i] = int(*minute);
    }
    return result;
}

int offsetSeconds(double tzOffsetHours, std::int64_t nowMs) {
    if (const std::optional<int> fixed = CivilDay::fixedOffsetSeconds(tzOffsetHours)) return *fixed;
    return QDateTime::fromMSecsSinceEpoch(nowMs, Qt::LocalTime).offsetFromUtc();
}

std::int64_t instantOf(std::int64_t day, int minute, int offsetSeconds) {
    return CivilDay::startOfDayMs(day, offsetSeconds) + std::int64_t(minute) * 60'000;
}

QString compactDate(std::int64_t day) {
    const CivilDay::Date date = CivilDay::civilFromDays(day);
    QString text = CivilDay::isoText(date);
    return text.remove(QLatin1Char('-'));
}

std::int64_t todayAt(double tzOffsetHours, std::int64_t nowMs) {
    return CivilDay::dayOf(nowMs, offsetSeconds(tzOffsetHours, nowMs));
}

Day dayOf(const ClockBundle& bundle) {
    Day day;
    day.minutes = minutesOf(bundle.prayers);
    day.tzOffsetHours = bundle.location.tzOffsetHours;
    if (const std::optional<CivilDay::Date> date = CivilDay::parseIso(bundle.date.gregorian))
        day.civilDay = CivilDay::daysFromCivil(date->year, date->month, date->day);
    if (bundle.location.timeZone) {
        const QDateTime built = QDateTime::fromString(bundle.generatedAt.value_or(QString()), Qt::ISODate);
        const std::int64_t from = built.isValid() ? built.toMSecsSinceEpoch() : Clock::nowMs();
        day.zoneChangeMs = PlaceZone::nextTransitionMs(*bundle.location.timeZone, from);
    }
    return day;
}

bool holds(const Day& day, std::int64_t nowMs) {
    if (day.zoneChangeMs && nowMs >= *day.zoneChangeMs) return false;
    return !day.civilDay || todayAt(day.tzOffsetHours, nowMs) == *day.civilDay;
}

}  // namespace PrayerSchedule

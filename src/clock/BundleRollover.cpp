#include "clock/BundleRollover.h"

#include "clock/PrayerSchedule.h"
#include "engine/CivilDay.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalBundlePrayers.h"
#include "engine/PlaceZone.h"

#include <QDateTime>

namespace BundleRollover {

ClockBundle carriedTo(const ClockBundle& bundle, const SettingsSnapshot& settings, std::int64_t nowMs) {
    ClockBundle out = bundle;
    LocationInfo& place = out.location;
    // The computer's own place keeps the computer's clock, whose zone may have changed since the build.
    if (settings.devicePlace) {
        const QString device = PlaceZone::deviceZoneId();
        if (!device.isEmpty()) place.timeZone = device;
    }
    if (place.timeZone) {
        const std::optional<double> zoneHours = PlaceZone::offsetHours(*place.timeZone, nowMs);
        if (zoneHours && CivilDay::fixedOffsetSeconds(*zoneHours)) place.tzOffsetHours = *zoneHours;
    }
    // The day is counted exactly as the alarms count it, so the carried times hold at once.
    const std::int64_t day = PrayerSchedule::todayAt(place.tzOffsetHours, nowMs);
    const double hours = PrayerSchedule::offsetSeconds(place.tzOffsetHours, nowMs) / 3600.0;
    out.prayers = LocalBundlePrayers::compute(settings, day, place.lat, place.lon, hours);
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(nowMs, Qt::UTC);
    out.date = LocalBundleBuilder::datesOf(day, now, place.lat, place.lon, hours, out.labels);
    // The moment the carried bundle is for: the zone's next change is counted from here.
    out.generatedAt = now.toString(Qt::ISODate);
    return out;
}

}  // namespace BundleRollover

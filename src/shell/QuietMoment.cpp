#include "shell/QuietMoment.h"

#include "clock/PrayerSchedule.h"
#include "engine/CivilDay.h"

namespace QuietMoment {

bool isQuiet(const std::optional<ClockBundle>& bundle, std::int64_t nowMs, bool sounding) {
    if (sounding) return false;
    if (!bundle) return true;
    const PrayerSchedule::Minutes minutes = PrayerSchedule::minutesOf(bundle->prayers);
    const int offset = PrayerSchedule::offsetSeconds(bundle->location.tzOffsetHours, nowMs);
    const std::int64_t today = CivilDay::dayOf(nowMs, offset);
    // Yesterday's late isha and tomorrow's early fajr can lie within the margin across midnight; the
    // neighbouring days' times differ from today's by a minute or so at most.
    for (std::int64_t day = today - 1; day <= today + 1; ++day) {
        for (const std::optional<int>& minute : minutes) {
            if (!minute) continue;
            const std::int64_t distance = nowMs - PrayerSchedule::instantOf(day, *minute, offset);
            if (distance >= -kMarginMs && distance <= kMarginMs) return false;
        }
    }
    return true;
}

}  // namespace QuietMoment

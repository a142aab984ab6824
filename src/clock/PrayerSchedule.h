#pragma once

#include "model/JsonCoding.h"

#include <QLatin1StringView>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

struct ClockBundle;

// The five daily prayers as the alarms see them: which keys ring, their minutes on the place's clock, and
// the instant each falls on for a civil day at the place's fixed offset. Parsing happens once per bundle so
// that the every-second checks are integer comparisons.
namespace PrayerSchedule {

inline constexpr int kCount = 5;
inline constexpr std::array<QLatin1StringView, kCount> keys = {
    QLatin1StringView("fajr"), QLatin1StringView("dhuhr"), QLatin1StringView("asr"),
    QLatin1StringView("maghrib"), QLatin1StringView("isha")};

// A prayer fires while 0 <= now - its time < this; a machine that slept through the whole minute does not
// replay the call when it wakes.
inline constexpr std::int64_t kTriggerWindowMs = 60'000;

// Two instants of one prayer this close are one call. The computer's new zone may put the place on another
// civil day, whose times, worked out from that day's sky, give the prayer just called again, a minute or so
// apart; the same prayer's next call is about a day away.
inline constexpr std::int64_t kSameCallWithinMs = 3'600'000;

// Index into `keys`, or -1 for anything else (sunrise included).
int indexOf(QStringView key);

// Minutes after the place's midnight for each of the five, nothing for "--:--", a missing key or a time
// outside the day.
using Minutes = std::array<std::optional<int>, kCount>;
Minutes minutesOf(const JsonCoding::StringMap& prayers);

// The place's offset in seconds east of UTC; an offset no zone accepts counts the device's own at `nowMs`.
int offsetSeconds(double tzOffsetHours, std::int64_t nowMs);

// The instant (ms since 1970) of `minute` on civil day `day` (days since 1970) at the offset.
std::int64_t instantOf(std::int64_t day, int minute, int offsetSeconds);

// yyyymmdd of a civil day, ASCII digits.
QString compactDate(std::int64_t day);

// The civil day (days since 1970) at the offset, as the checks count it.
std::int64_t todayAt(double tzOffsetHours, std::int64_t nowMs);

// One bundle's minutes with the civil day and the offset they belong to, and the instant that offset stops
// holding (the place's zone changes its clocks). Times of another day or another offset never ring.
struct Day {
    Minutes minutes{};
    double tzOffsetHours = 0;
    std::optional<std::int64_t> civilDay;      // nothing when the bundle's date is unreadable
    std::optional<std::int64_t> zoneChangeMs;  // nothing for a place with a fixed offset
};
// The zone's next change is counted from the moment the bundle was built for, so a bundle built just before
// a change (or a cached one from before it) stops holding at once.
Day dayOf(const ClockBundle& bundle);
// Whether the times still belong to the place's day at `nowMs`. Integer work only: the checks ask every
// second.
bool holds(const Day& day, std::int64_t nowMs);

}  // namespace PrayerSchedule

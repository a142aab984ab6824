#pragma once

#include "model/ClockBundle.h"

#include <cstdint>
#include <optional>

// When a forced update may restart the clock: never while a call to prayer (or the emergency alarm) sounds,
// nor within two minutes either side of one of the five prayer times of the place.
namespace QuietMoment {

inline constexpr std::int64_t kMarginMs = 2 * 60'000;

// Without a bundle no prayer time is known, and only a sounding call counts.
bool isQuiet(const std::optional<ClockBundle>& bundle, std::int64_t nowMs, bool sounding);

}  // namespace QuietMoment

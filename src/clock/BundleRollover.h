#pragma once

#include "model/ClockBundle.h"
#include "model/SettingsSnapshot.h"

#include <cstdint>

// A shown bundle carried to the place's day at an instant, on the device and at once, for the moment a
// change of day or of the zone's clocks is noticed (midnight, a wake from sleep). The full reload can wait
// a minute on the network; the prayers of the new day must ring at their minutes meanwhile.
namespace BundleRollover {

// The bundle with the prayer times of the place's day at `nowMs`, computed with the settings' method at
// the offset the place's zone has then (for the computer's own place, the computer's zone), and that day's
// Gregorian and Hijri dates. The rest (weather, alerts, moon, events) stays as it was until the reload
// brings it.
ClockBundle carriedTo(const ClockBundle& bundle, const SettingsSnapshot& settings, std::int64_t nowMs);

}  // namespace BundleRollover

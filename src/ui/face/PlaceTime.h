#pragma once

#include <cstdint>
#include <optional>

// Civil time at the clock's place: the fixed UTC offset the bundle carries, not the computer's zone.
namespace PlaceTime {

// Largest offset a fixed zone may have; beyond it (or for a non-finite offset) the system zone stands in.
inline constexpr int kMaxOffsetSeconds = 18 * 3600;

// The offset in whole seconds, truncated toward zero, or nothing when it forms no zone.
std::optional<int> fixedOffsetSeconds(double tzOffsetHours);

struct Fields {
    int year = 1970;
    int month = 1;  // 1-12
    int day = 1;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The calendar fields (proleptic Gregorian) of an instant at the place. Allocation-free for a fixed
// offset, so the dial can call it every frame.
Fields fields(std::int64_t utcMs, double tzOffsetHours);

}  // namespace PlaceTime

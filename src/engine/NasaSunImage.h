#pragma once

#include <atomic>

// The live sun picture's one setting shared across the program: how many hours a cached picture may be old
// before it is fetched again. Each bundle build writes the user's setting here unclamped; the picture code
// clamps it to 1...24 when it reads it.
namespace NasaSunImage {

inline std::atomic<int> preferredMaxAgeHours{12};

}  // namespace NasaSunImage

#pragma once

#include <benchmark/benchmark.h>

#include <array>
#include <numeric>

// The fixed yardstick every benchmark program measures in the same run (summing a small array), so its
// figures can be read as ratios across machines.
inline void Baseline(benchmark::State& state) {
    std::array<double, 64> values{};
    std::iota(values.begin(), values.end(), 1.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(values.data());
        benchmark::DoNotOptimize(std::accumulate(values.begin(), values.end(), 0.0));
    }
}

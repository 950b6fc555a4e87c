#pragma once
// The spread of a benchmark's repetitions beside their median: the fastest and the slowest
// run, so that a noisy machine shows as a wide spread rather than as a changed median.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

inline void Spread(benchmark::internal::Benchmark* b) {
    b->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
    b->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

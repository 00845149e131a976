#pragma once

// What the benchmarks share: the time a piece of work takes, and the median of several runs.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace brimwell::bench {

inline double millis(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

template <typename T>
T median(std::vector<T> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace brimwell::bench

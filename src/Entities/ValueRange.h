#pragma once

#include <unordered_set>

namespace Tarnel {

// The smallest and largest of a non-empty set of values.
template <class T>
struct ValueRange {
    T min{};
    T max{};

    ValueRange() = default;
    ValueRange(T min, T max) : min(min), max(max) {}
    explicit ValueRange(const std::unordered_set<T>& values)
    {
        bool first = true;
        for (const T& value : values) {
            if (first || value < min) min = value;
            if (first || value > max) max = value;
            first = false;
        }
    }
};

}  // namespace Tarnel

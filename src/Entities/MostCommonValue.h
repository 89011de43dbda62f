#pragma once

#include <vector>

namespace Tarnel {

// The most frequent value of a non-empty vector and the positions at which it
// stands, ascending. When the value at position 0 ties for the largest count,
// it is the result.
struct MostCommonValue {
    int value = 0;
    std::vector<int> indices;

    explicit MostCommonValue(const std::vector<int>& values);
};

}  // namespace Tarnel

#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace Tarnel {

// The distinct values of a vector.
template <class T>
class ValueSet {
public:
    explicit ValueSet(std::vector<T> values) : values(values.begin(), values.end()) {}

    std::uint64_t Length() const { return values.size(); }
    const std::unordered_set<T>& Values() const { return values; }

private:
    std::unordered_set<T> values;
};

}  // namespace Tarnel

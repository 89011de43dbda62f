#pragma once

#include <cstddef>
#include <limits>

namespace Tarnel {

// Node and element IDs are ints: the largest there is, and whether `count`
// new IDs after the largest tag in use still fit.
constexpr std::size_t kLargestId = static_cast<std::size_t>(std::numeric_limits<int>::max());

inline bool IdsFitAfter(std::size_t largestTag, std::size_t count)
{
    return largestTag <= kLargestId && count <= kLargestId - largestTag;
}

}  // namespace Tarnel

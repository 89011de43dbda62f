#pragma once

#include <string>

namespace Tarnel {

enum ElementDimension : int {
    NOT_SPECIFIED = -1,
    DIMENSION_0D = 0,
    DIMENSION_1D = 1,
    DIMENSION_2D = 2,
    DIMENSION_3D = 3
};

// "NOT_SPECIFIED", "0D", "1D", "2D", "3D"; the empty string for other values.
std::string GetDimensionDisplayString(ElementDimension dimension);

// An element filter is an ElementDimension value, or -1 for none.
using ElementFilter = int;

}  // namespace Tarnel

#include "Entities/ElementDimension.h"

namespace Tarnel {

std::string GetDimensionDisplayString(ElementDimension dimension)
{
    switch (dimension) {
    case NOT_SPECIFIED: return "NOT_SPECIFIED";
    case DIMENSION_0D: return "0D";
    case DIMENSION_1D: return "1D";
    case DIMENSION_2D: return "2D";
    case DIMENSION_3D: return "3D";
    }
    return "";
}

}  // namespace Tarnel

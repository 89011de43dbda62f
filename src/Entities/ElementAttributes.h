#pragma once

#include <utility>
#include <vector>

#include "Entities/ElementDimension.h"

namespace Tarnel {

// Per-element attributes. `doubleAttribute` is the weight of a distributing
// coupling when elements are added in coupling mode; `intAttribute` is the
// addition mode of MasterMesh::AddElements (8 kinematic coupling,
// 9 distributing coupling, anything else plain elements).
struct ElementAttributes {
    std::vector<double> degreesOfFreedom = std::vector<double>(6, 1.0);
    double doubleAttribute = 0.0;
    int intAttribute = 0;
    ElementDimension dimension = DIMENSION_0D;

    ElementAttributes() = default;
    ElementAttributes(std::vector<double> degreesOfFreedom, double doubleAttribute, int intAttribute,
                      ElementDimension dimension)
        : degreesOfFreedom(std::move(degreesOfFreedom)),
          doubleAttribute(doubleAttribute),
          intAttribute(intAttribute),
          dimension(dimension)
    {
    }
};

}  // namespace Tarnel

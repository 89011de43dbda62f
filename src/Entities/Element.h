#pragma once

#include <vector>

#include "Entities/ElementAttributes.h"
#include "Entities/ElementOrigin.h"
#include "Entities/ElementShape.h"
#include "Entities/SolverElementType.h"

namespace Tarnel {

// One element with everything the master mesh keeps about it. `nodeIds` are
// in gmsh's node order for the shape. A default element (id 0, shape INVALID)
// stands for "no element".
struct Element {
    int id = 0;
    std::vector<int> nodeIds;
    ElementShape shape = INVALID;
    SolverElementType solverType = SOLVER_TYPE_NONE;
    ElementOrigin origin;
    ElementAttributes attributes;
};

}  // namespace Tarnel

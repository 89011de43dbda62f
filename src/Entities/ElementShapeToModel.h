#pragma once

#include "Entities/ElementShape.h"
#include "Entities/SolverElementType.h"

namespace Tarnel {

// A shape paired with a solver element type; valid only for the pairs that
// the solver accepts, {INVALID, 0, false} otherwise.
class ElementShapeToModel {
public:
    ElementShapeToModel() = default;
    ElementShapeToModel(ElementShape shape, SolverElementType solverType);

    ElementShape shape = INVALID;
    SolverElementType solverType = SOLVER_TYPE_NONE;
    bool isValid = false;
};

}  // namespace Tarnel

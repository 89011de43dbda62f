#pragma once

namespace Tarnel {

// An element formulation of the analysis solver (values 1 to 63 occur). The
// library never interprets it beyond the shape compatibility table of
// ElementShapeToModel and carries it unchanged; hosts pass their own values,
// e.g. static_cast<SolverElementType>(21).
enum SolverElementType : int { SOLVER_TYPE_NONE = 0 };

}  // namespace Tarnel

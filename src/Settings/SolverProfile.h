#pragma once

namespace Tarnel {

// The solver profile of the analysis deck. The library stores and hands out
// the value; none of its operations depends on it.
enum SolverProfile : int { SOLVER_PROFILE_STANDARD = 1 };

}  // namespace Tarnel

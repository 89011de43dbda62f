#pragma once

namespace Tarnel {

// gmsh's element quality measures: "minSJ", "minSICN", "minSIGE", "gamma",
// "minIsotropy", "angleShape".
enum QualityMeasure : int { MIN_SJ = 1, MIN_SICN = 2, MIN_SIGE = 3, GAMMA = 4, MIN_ISOTROPY = 5, ANGLE_SHAPE = 6 };

// Which side of the threshold a quality check reports, strictly.
enum ComparisonCondition : int { LESS_THAN = 0, GREATER_THAN = 1 };

}  // namespace Tarnel

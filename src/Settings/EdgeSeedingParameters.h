#pragma once

#include "Entities/XYZ.h"

namespace Tarnel {

// Asks the 2D mesher for a fixed number of nodes, end nodes included, on every
// edge of the face that holds all three points (only their coordinates count).
struct EdgeSeedingParameters {
    int nodeCount = 0;
    XYZ firstPoint;
    XYZ secondPoint;
    XYZ thirdPoint;
};

}  // namespace Tarnel

#pragma once

#include <unordered_set>

#include "Entities/Mesh.h"
#include "Settings/Mesh3DSettings.h"

namespace Tarnel {

// Fills a closed shell of 2D elements of the master mesh with volume
// elements, written into the caller's mesh.
class Mesher3D {
public:
    // The shell is given by master element IDs (IDs that are not master
    // elements are ignored). The caller's mesh must have its own gmsh model.
    // Success leaves the volume mesh in that model, current, marked so that
    // only its 3D elements are placed and carrying the shell's node IDs, so
    // that the volume joins the shell when it is placed. Failure is reported
    // through the mesh (invalid, with an explanation) and its model is gone.
    // Nothing is thrown.
    static void Generate3DMesh(Mesh& mesh, const std::unordered_set<int>& boundaryElementIds, Mesh3DSettings settings);
};

}  // namespace Tarnel

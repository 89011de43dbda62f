#pragma once

#include <cstddef>
#include <string>

#include "Entities/MasterMeshStructure/MasterMesh.h"

namespace TarnelBench {

// A structured triangle mesh of about `triangleCount` triangles in the
// current gmsh model: an n x n grid of unit squares in the plane z = 0, each
// split into two triangles, on one discrete surface. Node tags run 1 to
// (n + 1)^2 row by row, element tags 1 to 2 n^2.
std::size_t AddTriangleGrid(std::size_t triangleCount);

// The directory the benchmarks' master meshes export to.
extern const std::string kExportDirectory;

// Errors only on the log, and an export directory for the master mesh.
void QuietSession();

// A fresh master mesh holding a placed triangle grid of about `count`
// elements, as component 1.
Tarnel::MasterMesh& MasterWithTriangles(std::size_t count);

}  // namespace TarnelBench

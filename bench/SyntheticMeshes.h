#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Entities/MasterMeshStructure/MasterMesh.h"

namespace TarnelBench {

// A structured triangle mesh of about `triangleCount` triangles in the
// current gmsh model: an n x n grid of unit squares in the plane z = 0, each
// split into two triangles, on one discrete surface. Node tags run 1 to
// (n + 1)^2 row by row, element tags 1 to 2 n^2.
std::size_t AddTriangleGrid(std::size_t triangleCount);

// A triangle soup: the first `triangleCount` triangles of a square grid of
// spacing 1e-3 split along one diagonal, each on three nodes of its own
// (tags 1.., three per triangle in order). The copies of a grid node lie up to
// 3.5e-7 apart; the grid starts off the origin so that its nodes do not sit
// on cell boundaries. Always the same soup for a given count.
struct TriangleSoup {
    std::vector<std::size_t> tags;
    std::vector<double> coordinates;
    double diagonal = 0.0;  // of the grid's bounding box
};
TriangleSoup MakeTriangleSoup(std::size_t triangleCount);
// Adds the soup's nodes and triangles to a new discrete surface of the
// current gmsh model.
void AddTriangleSoup(const TriangleSoup& soup);

// The directory the benchmarks' master meshes export to.
extern const std::string kExportDirectory;

// Errors only on the log, and an export directory for the master mesh.
void QuietSession();

// A fresh master mesh holding a placed triangle grid of about `count`
// elements, as component 1.
Tarnel::MasterMesh& MasterWithTriangles(std::size_t count);

}  // namespace TarnelBench

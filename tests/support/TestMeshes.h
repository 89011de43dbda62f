#pragma once

#include <string>
#include <unordered_map>

#include "Entities/ElementShape.h"
#include "Entities/Mesh.h"
#include "Entities/SolverElementType.h"

// Canonical meshes, built into the current gmsh model on fresh discrete
// entities. Node and element tags are as drawn.
namespace TarnelTest {

// Two triangles sharing the edge 2-3:
//
//   3 ------ 4        triangle 1: (1, 2, 3)
//   | \   2  |        triangle 2: (2, 4, 3)
//   |  1  \  |
//   1 ------ 2        unit square in the plane z = 0
void AddTwoTrianglesSharingAnEdge();

// The same two triangles with node tags that are not in order of use:
//
//   30 ----- 40       triangle 5: (30, 10, 20)
//   |  \  6   |       triangle 6: (10, 40, 30)
//   | 5  \    |
//   10 ----- 20       10 at (0, 0, 0), 20 at (1, 0, 0), 30 at (0, 1, 0), 40 at (1, 1, 0)
void AddTwoTrianglesWithScatteredTags();

// A strip of three quadrangles:
//
//   5 --- 6 --- 7 --- 8      quad 1: (1, 2, 6, 5)
//   |  1  |  2  |  3  |      quad 2: (2, 3, 7, 6)
//   1 --- 2 --- 3 --- 4      quad 3: (3, 4, 8, 7)
void AddQuadStrip();

// A point, a line and a triangle on entities of dimensions 0, 1 and 2:
//
//   3                point 1: (4)          node 4 at (2, 2, 0)
//   | \              line 2: (1, 2)
//   1 - 2   4        triangle 3: (1, 2, 3)
void AddMixedPointLineTriangle();

// A solver type for every shape of the system (lines 2, triangles 12,
// quadrangles 15, volumes 21, points 1).
std::unordered_map<Tarnel::ElementShape, Tarnel::SolverElementType> AllSolverTypes();

// A fresh temporary mesh holding what `build` adds to its model.
Tarnel::Mesh SourceMesh(void (*build)());

// Writes what `build` adds into directory/fileName.msh (through a model of
// its own) and returns a mesh loaded from that file.
Tarnel::Mesh LoadedSourceMesh(const std::string& directory, const std::string& fileName, void (*build)());

}  // namespace TarnelTest

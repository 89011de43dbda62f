#pragma once

#include <string>

namespace TarnelTest {

// Canonical meshes, built into the current gmsh model on fresh discrete
// entities. Node and element tags are as drawn.

// Two triangles sharing the edge 2-3:
//
//   3 ------ 4        triangle 1: (1, 2, 3)
//   | \   2  |        triangle 2: (2, 4, 3)
//   |  1  \  |
//   1 ------ 2        unit square in the plane z = 0
void AddTwoTrianglesSharingAnEdge();

// A strip of three quadrangles:
//
//   5 --- 6 --- 7 --- 8      quad 1: (1, 2, 6, 5)
//   |  1  |  2  |  3  |      quad 2: (2, 3, 7, 6)
//   1 --- 2 --- 3 --- 4      quad 3: (3, 4, 8, 7)
void AddQuadStrip();

// A point, a line and a triangle on separate entities of dimensions 0, 1, 2:
//
//   3                point 1: (4)          at (2, 2, 0)
//   | \              line 2: (1, 2)
//   1 - 2   4        triangle 3: (1, 2, 3)
void AddMixedPointLineTriangle();

// Writes the two triangles into a model of their own and saves it as
// directory/fileName.msh; the current model is unchanged afterwards.
std::string WriteTwoTrianglesFile(const std::string& directory, const std::string& fileName);

}  // namespace TarnelTest

#pragma once

#include <TopoDS_Shape.hxx>

#include "GEOM_Object.hxx"

// OpenCASCADE shapes for the meshers, made in code.
namespace TarnelTest {

// The straight edge from (0, 0, 0) to (length, 0, 0).
TopoDS_Shape StraightEdge(double length);

// The face [0, width] x [0, height] in the plane z = 0: four straight edges.
//
//   (0,h) ---- (w,h)
//     |          |
//   (0,0) ---- (w,0)
TopoDS_Shape RectangleFace(double width, double height);

// The six faces of the box [0, dx] x [0, dy] x [0, dz] as one closed shell,
// so that gmsh meshes them conformally; the open shell lacks the top face.
//
//        +--------+ (dx,dy,dz)      open:  +        +
//       /|       /|                       /|       /|
//      +--------+ |                      +--------+ |
//      | +------|-+                      | +------|-+
//      |/       |/                       |/       |/
//      +--------+                        +--------+
//   (0,0,0)
TopoDS_Shape BoxShell(double dx, double dy, double dz);
TopoDS_Shape OpenBoxShell(double dx, double dy, double dz);

// A GEOM object holding the shape, made on the process-wide engine.
Handle(GEOM_Object) GeomObject(TopoDS_Shape shape);

}  // namespace TarnelTest

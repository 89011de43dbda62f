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

// A 100 x 50 plate in the plane z = 0 with a hole of radius 10 at its centre.
TopoDS_Shape PlateWithHole();

// The closed shell of the box [0, dx] x [0, dy] x [0, dz]: six faces in one
// shape, so that gmsh meshes them conformally.
TopoDS_Shape BoxShell(double dx, double dy, double dz);

// The same shell without its top face (z = dz): open.
TopoDS_Shape OpenBoxShell(double dx, double dy, double dz);

// A GEOM object holding the shape, made on the process-wide engine.
Handle(GEOM_Object) GeomObject(TopoDS_Shape shape);

}  // namespace TarnelTest

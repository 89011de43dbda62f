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

// A GEOM object holding the shape, made on the process-wide engine.
Handle(GEOM_Object) GeomObject(TopoDS_Shape shape);

}  // namespace TarnelTest

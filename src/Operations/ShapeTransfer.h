#pragma once

#include <array>
#include <string>

#include <TopoDS_Shape.hxx>

namespace Tarnel {

// How a shape is compared after the transfer: an edge by the box of the first
// entity gmsh imports, rescaled when gmsh sees it larger at all (threshold
// 1.0); a face by the union box of everything imported, rescaled only when
// gmsh sees it more than twice as large (threshold 2.0).
enum class ShapeTransferVariant { Edge, Face };

// Puts the shape into the current gmsh model through the STEP file
// "<export directory>/tmp_mesh.step": exports it through the GEOM STEP
// plug-in, imports it with gmsh's OpenCASCADE kernel, and when gmsh measures
// it larger than the geometry services do (a unit mismatch between the two
// readers), scales it down by the measured ratio and imports it again. The
// caller synchronises afterwards. GEOM, geometry-service and gmsh failures
// propagate as exceptions.
void TransferShapeToGmsh(TopoDS_Shape& shape, ShapeTransferVariant variant);

// Why no shape can be transferred now, "" when one can: without an export
// directory the STEP file would land at the filesystem root. The transfer
// throws it as a std::runtime_error; the meshers ask first.
std::string ShapeTransferRefusal();

// The ratio of a gmsh box end to the geometry's: both rounded to 7 decimals,
// the quotient rounded to 3 decimals (halves away from zero); an infinite
// quotient counts as 0 and 0/0 stays NaN.
double BoxEndRatio(double gmshValue, double referenceValue);

// The greatest of the ratios; NaN only when all of them are NaN.
double GreatestRatio(const std::array<double, 6>& ratios);

}  // namespace Tarnel

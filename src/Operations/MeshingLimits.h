#pragma once

#include <cstddef>
#include <string>

#include <TopoDS_Shape.hxx>

namespace Tarnel {

// What a mesher refuses before anything reaches gmsh, each as the reason to
// store on the mesh ("" when the request may go ahead). gmsh would hang on a
// size that is not a positive finite number, and take hours and gigabytes
// over a size far too small for the shape; the counts are estimated from the
// shape's measure, so no meshing has to start to find out.
class MeshingLimits {
public:
    // "" for a positive finite size.
    static std::string SizeRefusal(double elementSize);
    // Line elements of the shape's edges: their total length / size.
    static std::string EdgeCountRefusal(const TopoDS_Shape& shape, double elementSize, std::size_t maximum);
    // Triangles of the shape's faces: their total area over the area of an
    // equilateral triangle of `smallestSize`, the smallest size gmsh is given.
    // `elementSize` is the host's, for the message.
    static std::string FaceCountRefusal(const TopoDS_Shape& shape, double elementSize, double smallestSize,
                                        std::size_t maximum);

private:
    static std::string _countRefusal(double estimate, double elementSize, std::size_t maximum);
};

}  // namespace Tarnel

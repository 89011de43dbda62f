#pragma once

#include "GEOM_Object.hxx"

namespace Tarnel {

// Transformations of geometry objects; each returns a new object.
class GeometryTransformOperations {
public:
    // The object scaled by `factor` about the position of the point object.
    // Throws std::runtime_error for null objects, a point object that is not a
    // vertex, or a zero factor.
    Handle(GEOM_Object) ScaleShape(const Handle(GEOM_Object)& object, const Handle(GEOM_Object)& point, double factor);
};

}  // namespace Tarnel

#pragma once

#include "GEOM_Object.hxx"

namespace Tarnel {

// Measurements of geometry objects.
class GeometryMeasureOperations {
public:
    // The axis-aligned bounding box of the object's shape. With `precise` the
    // box hugs the geometry; otherwise it may be enlarged by the shape's
    // tolerances. Throws std::runtime_error for a null object or shape.
    void GetBoundingBox(const Handle(GEOM_Object)& object, bool precise, double& xmin, double& xmax, double& ymin,
                        double& ymax, double& zmin, double& zmax);
};

}  // namespace Tarnel

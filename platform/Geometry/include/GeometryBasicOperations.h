#pragma once

#include "GEOM_Object.hxx"

namespace Tarnel {

// Elementary geometry objects.
class GeometryBasicOperations {
public:
    Handle(GEOM_Object) MakePointXYZ(double x, double y, double z);
};

}  // namespace Tarnel

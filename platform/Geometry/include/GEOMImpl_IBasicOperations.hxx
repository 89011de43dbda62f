#pragma once

#include "GEOM_Object.hxx"

class GEOM_Engine;

// Points and straight edges. A failing call throws a std::exception.
class GEOMImpl_IBasicOperations {
public:
    explicit GEOMImpl_IBasicOperations(GEOM_Engine* engine);

    Handle(GEOM_Object) MakePointXYZ(double x, double y, double z);
    // The straight edge from the first point to the second; both must be vertices.
    Handle(GEOM_Object) MakeLineTwoPnt(const Handle(GEOM_Object)& point1, const Handle(GEOM_Object)& point2);

private:
    GEOM_Engine* engine;
};

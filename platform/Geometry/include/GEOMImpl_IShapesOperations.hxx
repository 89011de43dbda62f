#pragma once

#include <list>

#include "GEOM_Object.hxx"

class GEOM_Engine;

// Shape assembly. A failing call throws a std::exception.
class GEOMImpl_IShapesOperations {
public:
    explicit GEOMImpl_IShapesOperations(GEOM_Engine* engine);

    // A wire joining the edges in list order; ends closer than `tolerance` are joined.
    Handle(GEOM_Object) MakeWire(std::list<Handle(GEOM_Object)> edges, double tolerance);

private:
    GEOM_Engine* engine;
};

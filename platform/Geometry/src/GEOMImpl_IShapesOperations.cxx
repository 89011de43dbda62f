#include "GEOMImpl_IShapesOperations.hxx"

#include <stdexcept>

#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepLib.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Wire.hxx>

#include "OcctFailure.h"

GEOMImpl_IShapesOperations::GEOMImpl_IShapesOperations(GEOM_Engine* engine) : engine(engine) {}

Handle(GEOM_Object) GEOMImpl_IShapesOperations::MakeWire(std::list<Handle(GEOM_Object)> edges, double tolerance)
{
    if (edges.empty()) throw std::runtime_error("MakeWire: no edges given.");
    return TarnelGeometry::CallOcct("MakeWire", [&] {
        // Edges are joined in list order; ends count as one vertex when they lie
        // within the tolerance.
        const Standard_Real previousPrecision = BRepLib::Precision();
        BRepLib::Precision(tolerance > 0.0 ? tolerance : previousPrecision);
        BRepBuilderAPI_MakeWire wire;
        for (const Handle(GEOM_Object)& edge : edges) {
            if (edge.IsNull()) {
                BRepLib::Precision(previousPrecision);
                throw std::runtime_error("MakeWire: a null edge was given.");
            }
            for (TopExp_Explorer explorer(edge->GetValue(), TopAbs_EDGE); explorer.More(); explorer.Next())
                wire.Add(TopoDS::Edge(explorer.Current()));
        }
        BRepLib::Precision(previousPrecision);
        if (!wire.IsDone()) throw std::runtime_error("MakeWire: the edges do not form one connected wire.");
        return Handle(GEOM_Object)(new GEOM_Object(wire.Wire()));
    });
}

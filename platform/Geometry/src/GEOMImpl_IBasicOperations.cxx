#include "GEOMImpl_IBasicOperations.hxx"

#include <stdexcept>

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRep_Tool.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopoDS.hxx>
#include <gp_Pnt.hxx>

#include "OcctFailure.h"

namespace {

gp_Pnt pointOf(const Handle(GEOM_Object)& object, const char* which)
{
    if (object.IsNull()) throw std::runtime_error(std::string("MakeLineTwoPnt: the ") + which + " point is null.");
    const TopoDS_Shape shape = object->GetValue();
    if (shape.IsNull() || shape.ShapeType() != TopAbs_VERTEX)
        throw std::runtime_error(std::string("MakeLineTwoPnt: the ") + which + " point is not a vertex.");
    return BRep_Tool::Pnt(TopoDS::Vertex(shape));
}

}  // namespace

GEOMImpl_IBasicOperations::GEOMImpl_IBasicOperations(GEOM_Engine* engine) : engine(engine) {}

Handle(GEOM_Object) GEOMImpl_IBasicOperations::MakePointXYZ(double x, double y, double z)
{
    return TarnelGeometry::CallOcct("MakePointXYZ", [&] {
        BRepBuilderAPI_MakeVertex vertex(gp_Pnt(x, y, z));
        return Handle(GEOM_Object)(new GEOM_Object(vertex.Shape()));
    });
}

Handle(GEOM_Object) GEOMImpl_IBasicOperations::MakeLineTwoPnt(const Handle(GEOM_Object)& point1,
                                                              const Handle(GEOM_Object)& point2)
{
    const gp_Pnt first = pointOf(point1, "first");
    const gp_Pnt second = pointOf(point2, "second");
    return TarnelGeometry::CallOcct("MakeLineTwoPnt", [&] {
        BRepBuilderAPI_MakeEdge edge(first, second);
        if (!edge.IsDone()) throw std::runtime_error("MakeLineTwoPnt: the points do not define an edge.");
        return Handle(GEOM_Object)(new GEOM_Object(edge.Shape()));
    });
}

#include "GeometryTransformOperations.h"

#include <cmath>
#include <stdexcept>

#include <BRepBuilderAPI_Transform.hxx>
#include <BRep_Tool.hxx>
#include <TopoDS.hxx>
#include <gp_Trsf.hxx>

#include "OcctFailure.h"

namespace Tarnel {

Handle(GEOM_Object) GeometryTransformOperations::ScaleShape(const Handle(GEOM_Object)& object,
                                                            const Handle(GEOM_Object)& point, double factor)
{
    if (object.IsNull() || object->GetValue().IsNull()) throw std::runtime_error("ScaleShape: the object is null.");
    if (point.IsNull() || point->GetValue().IsNull() || point->GetValue().ShapeType() != TopAbs_VERTEX)
        throw std::runtime_error("ScaleShape: the centre is not a point.");
    if (!std::isfinite(factor) || std::abs(factor) < 1e-300)
        throw std::runtime_error("ScaleShape: the factor must be finite and non-zero.");
    return TarnelGeometry::CallOcct("ScaleShape", [&] {
        gp_Trsf scaling;
        scaling.SetScale(BRep_Tool::Pnt(TopoDS::Vertex(point->GetValue())), factor);
        BRepBuilderAPI_Transform transform(object->GetValue(), scaling, Standard_True);
        if (!transform.IsDone()) throw std::runtime_error("ScaleShape: the transformation failed.");
        return Handle(GEOM_Object)(new GEOM_Object(transform.Shape()));
    });
}

}  // namespace Tarnel

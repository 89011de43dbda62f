#include "GeometryBasicOperations.h"

#include <BRepBuilderAPI_MakeVertex.hxx>
#include <gp_Pnt.hxx>

#include "OcctFailure.h"

namespace Tarnel {

Handle(GEOM_Object) GeometryBasicOperations::MakePointXYZ(double x, double y, double z)
{
    return TarnelGeometry::CallOcct("MakePointXYZ", [&] {
        BRepBuilderAPI_MakeVertex vertex(gp_Pnt(x, y, z));
        return Handle(GEOM_Object)(new GEOM_Object(vertex.Shape()));
    });
}

}  // namespace Tarnel

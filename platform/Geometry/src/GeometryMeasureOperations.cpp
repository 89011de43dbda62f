#include "GeometryMeasureOperations.h"

#include <stdexcept>

#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>

#include "OcctFailure.h"

namespace Tarnel {

void GeometryMeasureOperations::GetBoundingBox(const Handle(GEOM_Object)& object, bool precise, double& xmin,
                                               double& xmax, double& ymin, double& ymax, double& zmin, double& zmax)
{
    if (object.IsNull()) throw std::runtime_error("GetBoundingBox: the object is null.");
    const TopoDS_Shape shape = object->GetValue();
    if (shape.IsNull()) throw std::runtime_error("GetBoundingBox: the object holds a null shape.");
    TarnelGeometry::CallOcct("GetBoundingBox", [&] {
        Bnd_Box box;
        if (precise)
            BRepBndLib::AddOptimal(shape, box, Standard_False, Standard_False);
        else
            BRepBndLib::Add(shape, box);
        if (box.IsVoid()) throw std::runtime_error("GetBoundingBox: the shape has no extent.");
        box.Get(xmin, ymin, zmin, xmax, ymax, zmax);
    });
}

}  // namespace Tarnel

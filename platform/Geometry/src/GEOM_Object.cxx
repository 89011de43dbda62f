#include "GEOM_Object.hxx"

IMPLEMENT_STANDARD_RTTIEXT(GEOM_Object, Standard_Transient)

GEOM_Object::GEOM_Object(const TopoDS_Shape& shape) : shape(shape) {}

TopoDS_Shape GEOM_Object::GetValue() const
{
    return shape;
}

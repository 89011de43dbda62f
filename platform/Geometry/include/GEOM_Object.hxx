#pragma once

#include <Standard_Handle.hxx>
#include <Standard_Transient.hxx>
#include <Standard_Type.hxx>
#include <TopoDS_Shape.hxx>

// A geometry object of the GEOM module: a reference-counted holder of one
// OpenCASCADE shape, always handled through opencascade::handle.
class GEOM_Object : public Standard_Transient {
public:
    explicit GEOM_Object(const TopoDS_Shape& shape);

    // A copy of the held shape.
    TopoDS_Shape GetValue() const;

    DEFINE_STANDARD_RTTIEXT(GEOM_Object, Standard_Transient)

private:
    TopoDS_Shape shape;
};

DEFINE_STANDARD_HANDLE(GEOM_Object, Standard_Transient)

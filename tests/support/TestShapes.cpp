#include "TestShapes.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRep_Builder.hxx>
#include <TopoDS_Shell.hxx>
#include <TopExp_Explorer.hxx>
#include <gp_Pln.hxx>

#include "GEOMImpl_Gen.hxx"
#include "MeshEngineWrapper.h"
#include "STEPPlugin_IOperations.hxx"

namespace TarnelTest {

TopoDS_Shape StraightEdge(double length)
{
    return BRepBuilderAPI_MakeEdge(gp_Pnt(0, 0, 0), gp_Pnt(length, 0, 0)).Edge();
}

TopoDS_Shape RectangleFace(double width, double height)
{
    return BRepBuilderAPI_MakeFace(gp_Pln(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1)), 0, width, 0, height).Face();
}

TopoDS_Shape BoxShell(double dx, double dy, double dz)
{
    return BRepPrimAPI_MakeBox(dx, dy, dz).Shell();
}

// The box gives its faces in the order -x, +x, -y, +y, -z, +z: the top one
// comes last.
TopoDS_Shape OpenBoxShell(double dx, double dy, double dz)
{
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    TopExp_Explorer faces(BoxShell(dx, dy, dz), TopAbs_FACE);
    for (int face = 0; face < 5; ++face, faces.Next()) builder.Add(shell, faces.Current());
    return shell;
}

Handle(GEOM_Object) GeomObject(TopoDS_Shape shape)
{
    return STEPPlugin_IOperations(Tarnel::MeshEngineWrapper::getInstance().GetGeomEngine())._copyShape(shape);
}

}  // namespace TarnelTest

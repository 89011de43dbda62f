#include "TestShapes.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Ax2.hxx>
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

TopoDS_Shape PlateWithHole()
{
    const TopoDS_Shape plate = RectangleFace(100, 50);
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(50, 25, -1), gp_Dir(0, 0, 1)), 10, 2);
    TopExp_Explorer faces(BRepAlgoAPI_Cut(plate, cylinder).Shape(), TopAbs_FACE);
    return faces.Current();
}

Handle(GEOM_Object) GeomObject(TopoDS_Shape shape)
{
    return STEPPlugin_IOperations(Tarnel::MeshEngineWrapper::getInstance().GetGeomEngine())._copyShape(shape);
}

}  // namespace TarnelTest

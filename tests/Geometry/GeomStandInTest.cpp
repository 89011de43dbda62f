#include <list>
#include <stdexcept>

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Pnt.hxx>
#include <gtest/gtest.h>

#include "GEOMImpl_Gen.hxx"
#include "GeometryBasicOperations.h"
#include "GeometryMeasureOperations.h"
#include "GeometryTransformOperations.h"
#include "GmshAdapter/GmshAdapter.h"
#include "MeshEngineWrapper.h"
#include "STEPPlugin_IOperations.hxx"
#include "TempDirectory.h"

namespace {

struct Box {
    double xmin, xmax, ymin, ymax, zmin, zmax;
};

Box preciseBox(const Handle(GEOM_Object)& object)
{
    Box box{};
    Tarnel::GeometryMeasureOperations().GetBoundingBox(object, true, box.xmin, box.xmax, box.ymin, box.ymax, box.zmin,
                                                       box.zmax);
    return box;
}

Handle(GEOM_Object) boxObject(GEOMImpl_Gen& engine, double dx, double dy, double dz)
{
    TopoDS_Shape shape = BRepPrimAPI_MakeBox(dx, dy, dz).Shape();
    return STEPPlugin_IOperations(&engine)._copyShape(shape);
}

gp_Pnt vertexPoint(const TopoDS_Vertex& vertex)
{
    return BRep_Tool::Pnt(vertex);
}

}  // namespace

TEST(GeomBasicOperations, LineRunsFromTheFirstPointToTheSecond)
{
    GEOMImpl_Gen engine;
    GEOMImpl_IBasicOperations* basic = engine.GetIBasicOperations();
    Handle(GEOM_Object) line = basic->MakeLineTwoPnt(basic->MakePointXYZ(1, 2, 3), basic->MakePointXYZ(4, 6, 3));
    ASSERT_EQ(line->GetValue().ShapeType(), TopAbs_EDGE);
    TopoDS_Vertex first, last;
    TopExp::Vertices(TopoDS::Edge(line->GetValue()), first, last, Standard_True);
    EXPECT_TRUE(vertexPoint(first).IsEqual(gp_Pnt(1, 2, 3), 1e-12));
    EXPECT_TRUE(vertexPoint(last).IsEqual(gp_Pnt(4, 6, 3), 1e-12));
}

TEST(GeomBasicOperations, FailingCallsThrowStandardExceptions)
{
    GEOMImpl_Gen engine;
    GEOMImpl_IBasicOperations* basic = engine.GetIBasicOperations();
    EXPECT_THROW(basic->MakeLineTwoPnt(basic->MakePointXYZ(0, 0, 0), basic->MakePointXYZ(0, 0, 0)),
                 std::exception);
    EXPECT_THROW(basic->MakeLineTwoPnt(Handle(GEOM_Object)(), basic->MakePointXYZ(0, 0, 0)), std::runtime_error);
}

TEST(GeomShapesOperations, WireJoinsTheEdgesOfAClosedChain)
{
    GEOMImpl_Gen engine;
    GEOMImpl_IBasicOperations* basic = engine.GetIBasicOperations();
    auto p = [&](double x, double y) { return basic->MakePointXYZ(x, y, 0); };
    std::list<Handle(GEOM_Object)> edges = {basic->MakeLineTwoPnt(p(0, 0), p(1, 0)),
                                            basic->MakeLineTwoPnt(p(1, 0), p(1, 1)),
                                            basic->MakeLineTwoPnt(p(1, 1), p(0, 0))};
    Handle(GEOM_Object) wire = engine.GetIShapesOperations()->MakeWire(edges, 1e-9);
    ASSERT_EQ(wire->GetValue().ShapeType(), TopAbs_WIRE);
    EXPECT_TRUE(BRep_Tool::IsClosed(wire->GetValue()));
}

TEST(GeomShapesOperations, DisconnectedEdgesGiveNoWire)
{
    GEOMImpl_Gen engine;
    GEOMImpl_IBasicOperations* basic = engine.GetIBasicOperations();
    std::list<Handle(GEOM_Object)> edges = {
        basic->MakeLineTwoPnt(basic->MakePointXYZ(0, 0, 0), basic->MakePointXYZ(1, 0, 0)),
        basic->MakeLineTwoPnt(basic->MakePointXYZ(5, 5, 0), basic->MakePointXYZ(6, 5, 0))};
    EXPECT_THROW(engine.GetIShapesOperations()->MakeWire(edges, 1e-9), std::runtime_error);
}

TEST(StepPlugin, ExportedFileIsReadByGmshWithTheSameExtent)
{
    TarnelTest::TempDirectory directory;
    Tarnel::MeshEngineWrapper& wrapper = Tarnel::MeshEngineWrapper::getInstance();
    Handle(GEOM_Object) box = boxObject(*wrapper.GetGeomEngine(), 10, 20, 30);
    const std::string path = directory.File("box.step");
    TarnelTest::WriteFile(path, "stale content that must be replaced");

    STEPPlugin_IOperations(wrapper.GetGeomEngine())
        .ExportSTEP(box, path.c_str(), STEPPlugin_IOperations::LengthUnit_Millimeter);

    namespace gm = Tarnel::GmshAdapter;
    gm::model::add("step-import");
    gm::vectorpair imported;
    gm::model::occ::importShapes(path, imported);
    gm::model::occ::synchronize();
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_EQ(imported[0].first, 3);
    double xmin, ymin, zmin, xmax, ymax, zmax;
    gm::model::getBoundingBox(3, imported[0].second, xmin, ymin, zmin, xmax, ymax, zmax);
    EXPECT_NEAR(xmax - xmin, 10.0, 1e-5);
    EXPECT_NEAR(ymax - ymin, 20.0, 1e-5);
    EXPECT_NEAR(zmax - zmin, 30.0, 1e-5);
}

TEST(StepPlugin, ExportOfANullObjectThrows)
{
    GEOMImpl_Gen engine;
    EXPECT_THROW(STEPPlugin_IOperations(&engine).ExportSTEP(Handle(GEOM_Object)(), "/tmp/never.step",
                                                            STEPPlugin_IOperations::LengthUnit_Millimeter),
                 std::runtime_error);
}

TEST(GeometryServices, PreciseBoundingBoxOfABox)
{
    GEOMImpl_Gen engine;
    const Box box = preciseBox(boxObject(engine, 10, 20, 30));
    EXPECT_NEAR(box.xmin, 0.0, 1e-9);
    EXPECT_NEAR(box.xmax, 10.0, 1e-9);
    EXPECT_NEAR(box.ymax, 20.0, 1e-9);
    EXPECT_NEAR(box.zmax, 30.0, 1e-9);
}

TEST(GeometryServices, ScaleShapeAboutTheOrigin)
{
    GEOMImpl_Gen engine;
    Handle(GEOM_Object) origin = Tarnel::GeometryBasicOperations().MakePointXYZ(0, 0, 0);
    Handle(GEOM_Object) scaled = Tarnel::GeometryTransformOperations().ScaleShape(boxObject(engine, 1000, 2000, 3000),
                                                                                 origin, 0.001);
    const Box box = preciseBox(scaled);
    EXPECT_NEAR(box.xmax, 1.0, 1e-9);
    EXPECT_NEAR(box.ymax, 2.0, 1e-9);
    EXPECT_NEAR(box.zmax, 3.0, 1e-9);
    EXPECT_THROW(Tarnel::GeometryTransformOperations().ScaleShape(Handle(GEOM_Object)(), origin, 2.0),
                 std::runtime_error);
}

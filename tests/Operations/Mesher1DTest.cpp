#include <gtest/gtest.h>

#include "GmshQueries.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "Operations/Mesher1D.h"
#include "TempDirectory.h"
#include "TestShapes.h"

using namespace Tarnel;

TEST(Mesher1D, AnEdgeGetsLineElementsOfTheRequestedSize)
{
    TarnelTest::TempDirectory directory;
    MeshFactory factory;
    MeshFactory::SetExportDirectory(directory.Path());
    Mesh mesh(true);
    Handle(GEOM_Object) edge = TarnelTest::GeomObject(TarnelTest::StraightEdge(10.0));
    factory.Create1DMesh(mesh, edge, Mesh1DSettings(2.0, MeshElementOrder::Linear));
    EXPECT_TRUE(mesh.IsValid());
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMin"), 2.0);
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMax"), 2.0);
    // No element filter: the points of the edge come along with the lines.
    EXPECT_EQ(mesh.GetMeshAdditionElementFilter(), -1);
    std::size_t lines = 0, points = 0;
    for (const Element& element : mesh.GetAllElements()) {
        lines += element.shape == LINE_2NODE;
        points += element.shape == POINT_1NODE;
    }
    EXPECT_EQ(lines, 5u);
    EXPECT_EQ(points, 2u);
}

TEST(Mesher1D, ANullShapeLogsOnceAndFails)
{
    Mesh mesh(true);
    TopoDS_Shape none;
    TarnelTest::LogCapture capture;
    Mesher1D mesher(mesh, none);
    EXPECT_EQ(static_cast<int>(mesher.ComputeMesh(Mesh1DSettings(1.0, MeshElementOrder::Linear))), 2);
    EXPECT_EQ(capture.Count(LogLevel::Error, "Provided a null face for meshing!"), 1);
    EXPECT_EQ(capture.Records().size(), 1u);
    EXPECT_EQ(capture.Records()[0].location, "Tarnel::Mesher1D::Mesher1D");
    EXPECT_TRUE(mesh.IsValid());
}

TEST(Mesher1D, AFailureIsLoggedAndMarksTheMesh)
{
    MeshFactory::SetExportDirectory("/no/such/directory");
    Mesh mesh(true);
    TopoDS_Shape edge = TarnelTest::StraightEdge(10.0);
    TarnelTest::LogCapture capture;
    Mesher1D mesher(mesh, edge);
    EXPECT_EQ(mesher.ComputeMesh(Mesh1DSettings(1.0, MeshElementOrder::Linear)), MeshingResult::Failed);
    const LogRecord record = capture.Find(LogLevel::Error, "Failed to create 1D mesh!");
    EXPECT_EQ(record.location, "Tarnel::Mesher1D::ComputeMesh");
    EXPECT_FALSE(mesh.IsValid());
    EXPECT_EQ(mesh.GetErrorMessage(), record.exceptionText);
    EXPECT_EQ(mesher.GetAssociatedMesh().GetErrorMessage(), record.exceptionText);
}

TEST(MeshFactory, ExportDirectoryIsTheEngineWrappersPath)
{
    MeshFactory::SetExportDirectory("C:/work/out");
    EXPECT_EQ(MeshFactory::GetExportDirectory(), "C:/work/out");
    EXPECT_EQ(MeshEngineWrapper::getInstance().GetMeshExportPath(), "C:/work/out");
}

TEST(MeshFactory, AFailed2DMeshIsReportedWithAWarning)
{
    TarnelTest::TempDirectory directory;
    MeshFactory factory;
    MeshFactory::SetExportDirectory(directory.Path());
    Mesh mesh(true);
    Handle(GEOM_Object) face = TarnelTest::GeomObject(TarnelTest::RectangleFace(2, 1));
    TarnelTest::LogCapture capture;
    factory.Create2DMesh(mesh, face, Mesh2DSettings::GetDefaultTriaMeshSettings(-1.0), false);
    EXPECT_FALSE(mesh.IsValid());
    EXPECT_EQ(capture.Find(LogLevel::Warn, "Returning a failed mesh result.").location,
              "Tarnel::MeshFactory::Create2DMesh");

    Mesh remeshed(true);
    factory.Create2DMesh(remeshed, face, Mesh2DSettings::GetDefaultTriaMeshSettings(0.5), true);
    EXPECT_TRUE(remeshed.IsValid());
    EXPECT_EQ(capture.Count(LogLevel::Warn, "Returning a failed mesh result."), 1);
}

#include <algorithm>

#include <gtest/gtest.h>

#include "Diagnostics/MorvaneException.h"
#include "Entities/Mesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

TEST(Mesh, TemporaryModelsAreNumberedFromOneAndNeverReused)
{
    TarnelTest::LogCapture capture;
    Mesh first(true);
    EXPECT_EQ(TarnelTest::CurrentModel(), "tmpmesh_1");
    Mesh second(true);
    EXPECT_EQ(TarnelTest::CurrentModel(), "tmpmesh_2");
    first.ClearMesh();
    EXPECT_EQ(TarnelTest::CurrentModel(), "tmpmesh_3");
    const auto names = TarnelTest::ModelNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "tmpmesh_1"), 0);
    const LogRecord record = capture.Find(LogLevel::Debug, "Creating new mesh model with name: tmpmesh_1");
    EXPECT_EQ(record.location, "Tarnel::Mesh::Mesh");
    EXPECT_EQ(record.sourceFile, "Entities/Mesh");
}

TEST(Mesh, WithoutCreateModelNoModelIsAdded)
{
    MeshEngineWrapper::getInstance();
    const auto before = TarnelTest::ModelNames();
    Mesh mesh;
    EXPECT_EQ(TarnelTest::ModelNames(), before);
    EXPECT_TRUE(mesh.IsValid());
    EXPECT_EQ(mesh.GetSourceMeshFormat(), MeshFileFormat::NONE);
    EXPECT_EQ(mesh.GetMeshAdditionElementFilter(), -1);
}

TEST(Mesh, AFailedMeshCarriesItsMessage)
{
    TarnelTest::LogCapture capture;
    const Mesh failed("no geometry");
    EXPECT_FALSE(failed.IsValid());
    EXPECT_EQ(failed.GetErrorMessage(), "no geometry");
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Mesh creation failed: no geometry"));
}

TEST(Mesh, AnEmptyErrorMessageKeepsTheMeshValid)
{
    Mesh mesh;
    mesh.SetErrorMessage("");
    EXPECT_TRUE(mesh.IsValid());
    mesh.SetErrorMessage("broken");
    EXPECT_FALSE(mesh.IsValid());
    mesh.SetErrorMessage("");
    EXPECT_FALSE(mesh.IsValid());
}

TEST(Mesh, LoadWithoutFormatThrowsBeforeTouchingTheFileSystem)
{
    Mesh mesh;
    mesh.SetFileName("part1");
    try {
        mesh.LoadMesh("/no/such/directory", MeshFileFormat::NONE);
        FAIL() << "no exception";
    } catch (const MorvaneException& exception) {
        EXPECT_STREQ(exception.what(), "Unsupported mesh file format extension!");
    }
}

TEST(Mesh, LoadOfAMissingFileThrowsWithoutLogging)
{
    Mesh mesh;
    mesh.SetFileName("part1");
    TarnelTest::LogCapture capture;
    try {
        mesh.LoadMesh("C:/m", MeshFileFormat::MSH);
        FAIL() << "no exception";
    } catch (const MorvaneException& exception) {
        EXPECT_STREQ(exception.what(), "Mesh file does not exist: C:/m/part1.msh");
    }
    EXPECT_TRUE(capture.Records().empty());
}

TEST(Mesh, WriteThenLoadGivesAModelNamedAfterTheFile)
{
    TarnelTest::TempDirectory directory;
    Mesh source(true);
    TarnelTest::AddTwoTrianglesSharingAnEdge();
    source.SetFileName("part1");
    EXPECT_EQ(source.WriteMesh(directory.Path(), MeshFileFormat::MSH), directory.File("part1.msh"));

    Mesh loaded;
    loaded.SetFileName("part1");
    ASSERT_TRUE(loaded.LoadMesh(directory.Path(), MeshFileFormat::MSH));
    EXPECT_EQ(TarnelTest::CurrentModel(), "part1");
    EXPECT_EQ(loaded.GetSourceMeshPath(), directory.File("part1.msh"));
    EXPECT_EQ(loaded.GetSourceMeshFormat(), MeshFileFormat::MSH);
    EXPECT_TRUE(MeshEngineWrapper::getInstance().IsMeshActive(loaded));

    const std::vector<Element> elements = loaded.GetAllElements();
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].id, 1);
    EXPECT_EQ(elements[0].nodeIds, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(elements[1].nodeIds, (std::vector<int>{2, 4, 3}));
    EXPECT_EQ(elements[1].shape, TRIANGLE_3NODE);
}

TEST(Mesh, AnUnreadableFileGivesFalse)
{
    TarnelTest::TempDirectory directory;
    TarnelTest::WriteFile(directory.File("broken.msh"), "$MeshFormat\nnot a mesh\n");
    Mesh mesh(true);
    mesh.SetFileName("broken");
    TarnelTest::LogCapture capture;
    EXPECT_FALSE(mesh.LoadMesh(directory.Path(), MeshFileFormat::MSH));
    const LogRecord record = capture.Find(LogLevel::Error, "Failed to load mesh!");
    EXPECT_TRUE(record.hasException);
    EXPECT_EQ(record.location, "Tarnel::Mesh::LoadMesh");
}

TEST(Mesh, WriteWithoutDirectoryWritesNothing)
{
    Mesh mesh(true);
    mesh.SetFileName("nowhere");
    TarnelTest::LogCapture capture;
    EXPECT_EQ(mesh.WriteMesh("", MeshFileFormat::MSH), "");
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Mesh directory was not set, we are not writing out the master mesh!"));
    EXPECT_FALSE(TarnelTest::FileExists("/nowhere.msh"));
}

TEST(Mesh, SetFileNameLogsAndKeepsTheModelName)
{
    Mesh mesh(true);
    TarnelTest::LogCapture capture;
    mesh.SetFileName("bracket");
    EXPECT_EQ(mesh.GetFileName(), "bracket");
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Filename set for mesh as bracket"));
    EXPECT_TRUE(MeshEngineWrapper::getInstance().IsMeshActive(mesh));
    EXPECT_EQ(TarnelTest::CurrentModel(), "tmpmesh_1");
}

TEST(Mesh, ElementAndNodeLookups)
{
    Mesh mesh(true);
    TarnelTest::AddQuadStrip();
    const Element quad = mesh.GetElementDefinition(2);
    EXPECT_EQ(quad.id, 2);
    EXPECT_EQ(quad.shape, QUAD_4NODE);
    EXPECT_EQ(quad.nodeIds, (std::vector<int>{2, 3, 7, 6}));
    EXPECT_EQ(quad.solverType, 0);
    EXPECT_FALSE(quad.origin.isValid);

    const Node node = mesh.GetNodeDefinition(7);
    EXPECT_TRUE(node.isValid);
    EXPECT_EQ(node.id, 7);
    EXPECT_EQ(node.position, XYZ(2, 1, 0));

    TarnelTest::LogCapture capture;
    const Element missing = mesh.GetElementDefinition(42);
    EXPECT_EQ(missing.id, 0);
    EXPECT_EQ(missing.shape, INVALID);
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Failed to retrieve element definition for ID = 42"));
    const Node absent = mesh.GetNodeDefinition(42);
    EXPECT_FALSE(absent.isValid);
    EXPECT_EQ(absent.id, 0);
    EXPECT_TRUE(absent.position.IsValid());
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Failed to retrieve node position for ID = 42"));
}

TEST(Mesh, TheElementCacheIsFilledOnceAndServedAfterwards)
{
    Mesh mesh(true);
    EXPECT_TRUE(mesh.GetAllElements().empty());
    // The cache stayed empty, so gmsh is asked again.
    TarnelTest::AddMixedPointLineTriangle();
    const std::vector<Element> elements = mesh.GetAllElements();
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].shape, POINT_1NODE);
    EXPECT_EQ(elements[0].attributes.dimension, DIMENSION_0D);
    EXPECT_EQ(elements[2].nodeIds, (std::vector<int>{1, 2, 3}));

    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addElementsByType(surface, 2, {9}, {3, 2, 1});
    EXPECT_EQ(mesh.GetAllElements().size(), 3u);
}

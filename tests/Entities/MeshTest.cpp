#include <gtest/gtest.h>

#include "Entities/Mesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

TEST(Mesh, TemporaryModelsAreNumberedFromOneNeverReusedAndMadeAgainWhenActivated)
{
    MeshEngineWrapper& wrapper = MeshEngineWrapper::getInstance();
    TarnelTest::LogCapture capture;
    Mesh first(true);
    Mesh second(true);
    first.ClearMesh();
    EXPECT_EQ(TarnelTest::ModelNames(), (std::vector<std::string>{"", "tmpmesh_2", "tmpmesh_3"}));
    EXPECT_EQ(capture.Find(LogLevel::Debug, "Creating new mesh model with name: tmpmesh_1").location,
              "Tarnel::Mesh::Mesh");
    second.SetFileName("part7");
    EXPECT_TRUE(wrapper.RemoveMesh(second));
    EXPECT_FALSE(wrapper.RemoveMesh(second));
    EXPECT_EQ(capture.Messages(LogLevel::Warn),
              std::vector<std::string>{"Cannot remove mesh called part7 because it does not exist."});
    EXPECT_TRUE(wrapper.ActivateMesh(second));
    EXPECT_EQ(TarnelTest::CurrentModel(), "tmpmesh_2");
    EXPECT_EQ(capture.Find(LogLevel::Info, "Added new mesh called tmpmesh_2").location,
              "Tarnel::MeshEngineWrapper::ActivateMesh");
}

TEST(Mesh, AnErrorMessageInvalidatesForGood)
{
    TarnelTest::LogCapture capture;
    const Mesh failed("no geometry");
    EXPECT_FALSE(failed.IsValid());
    EXPECT_EQ(failed.GetErrorMessage(), "no geometry");
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Mesh creation failed: no geometry"));
    Mesh mesh;
    mesh.SetErrorMessage("");
    EXPECT_TRUE(mesh.IsValid());
    mesh.SetErrorMessage("broken");
    mesh.SetErrorMessage("");
    EXPECT_FALSE(mesh.IsValid());
}

TEST(Mesh, WriteThenLoadGivesTheElementsInAModelNamedAfterTheFile)
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
    const std::vector<Element> elements = loaded.GetAllElements();
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].nodeIds, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(elements[1].nodeIds, (std::vector<int>{2, 4, 3}));
    EXPECT_EQ(elements[1].shape, TRIANGLE_3NODE);
    // Served from the cache afterwards, whatever gmsh holds.
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addElementsByType(surface, 2, {9}, {3, 2, 1});
    EXPECT_EQ(loaded.GetAllElements().size(), 2u);
}

// A plain mesh's lookups ask gmsh; a failed one logs and answers a neutral
// element or node.
TEST(Mesh, ElementAndNodeLookups)
{
    Mesh mesh(true);
    TarnelTest::AddQuadStrip();
    const Element quad = mesh.GetElementDefinition(2);
    EXPECT_EQ(quad.shape, QUAD_4NODE);
    EXPECT_EQ(quad.nodeIds, (std::vector<int>{2, 3, 7, 6}));
    const Node node = mesh.GetNodeDefinition(7);
    EXPECT_EQ(node.id, 7);
    EXPECT_EQ(node.position, XYZ(2, 1, 0));

    TarnelTest::LogCapture capture;
    EXPECT_EQ(mesh.GetElementDefinition(42).shape, INVALID);
    const Node absent = mesh.GetNodeDefinition(42);
    EXPECT_FALSE(absent.isValid);
    EXPECT_TRUE(absent.position.IsValid());
    EXPECT_EQ(capture.Messages(LogLevel::Error),
              (std::vector<std::string>{"Failed to retrieve element definition for ID = 42",
                                        "Failed to retrieve node position for ID = 42"}));
}

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/ComponentMesh.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::ReadFile;

namespace {

// Two triangles and a quadrangle with the tags an asset file lists:
//
//   4 ---- 5 ---- 6       triangle 11: (1, 2, 3)
//   |  12  |  15  /       quad 12:     (1, 2, 5, 4)
//   1 ---- 2    /         triangle 15: (2, 6, 5)
//    \ 11 /   /
//       3
void addAssetFileElements()
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4, 5, 6},
                              {0, 0, 0, 1, 0, 0, 0.5, -1, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0});
    gm::model::mesh::addElementsByType(surface, TRIANGLE_3NODE, {11, 15}, {1, 2, 3, 2, 6, 5});
    gm::model::mesh::addElementsByType(surface, QUAD_4NODE, {12}, {1, 2, 5, 4});
}

}  // namespace

TEST(ComponentMesh, TheTemporaryComponentHasNegativeSetIds)
{
    ComponentMesh component;
    EXPECT_EQ(component.GetComponentMeshId(), -1);
    EXPECT_EQ(component.GetFileName(), "temporaryComponentMesh");
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_0D)->GetComponentId(), -2);
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_3D)->GetComponentId(), -5);
    EXPECT_EQ(component.GetElementsByReferenceId(-4), component.GetElementsByDimension(DIMENSION_2D));
    EXPECT_EQ(component.GetElementsByDimension(NOT_SPECIFIED), nullptr);
    EXPECT_EQ(component.GetElementsByReferenceId(99), nullptr);
    EXPECT_EQ(component.GetLastMeshTransaction().componentMeshId, -1);
    EXPECT_TRUE(component.IsComponentMeshEmpty());
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_1D)->GetMeshReferenceType(), ELEMENT_SET);
}

TEST(ComponentMesh, TheLowerDimensionWinsASharedReferenceId)
{
    ComponentMesh component(4, 7, 8, 7, 9);
    EXPECT_EQ(component.GetElementsByReferenceId(7), component.GetElementsByDimension(DIMENSION_0D));
    EXPECT_EQ(component.GetFileName(), "");
}

TEST(ComponentMesh, CopiesAreIndependent)
{
    ComponentMesh component(4, 1, 2, 3, 5);
    component.SetFileName("c4");
    component.GetElementsByDimension(DIMENSION_2D)->AddElementID(10);
    ComponentMesh copy(component);
    copy.GetElementsByDimension(DIMENSION_2D)->AddElementID(11);
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_2D)->GetElementCount(), 1u);
    EXPECT_EQ(copy.GetFileName(), "c4");
    EXPECT_FALSE(copy.IsComponentMeshEmpty());
}

TEST(ComponentMesh, AssetFileHasOneSectionPerDimensionWithElements)
{
    TarnelTest::TempDirectory directory;
    MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path());
    TarnelTest::TempDirectory sources;
    Mesh source = TarnelTest::LoadedSourceMesh(sources.Path(), "assets", addAssetFileElements);
    ComponentMesh component(4, 5, 6, 7, 8);
    MasterMesh::getInstance().ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    component.SetFileName("bracket");

    TarnelTest::LogCapture capture;
    component.WriteMeshAssetFile();
    EXPECT_EQ(ReadFile(directory.File("bracket.mshp")),
              "$m2D\n"
              "7\n"
              "$Elements\n"
              "1 3 11 15\n"
              "2 -1 2 2\n"
              "11 1 2 3\n"
              "15 2 6 5\n"
              "2 -1 3 1\n"
              "12 1 2 5 4\n"
              "$EndElements\n");
    const auto info = capture.Messages(LogLevel::Info);
    ASSERT_EQ(info.size(), 3u);
    EXPECT_EQ(info[0],
              "Not exporting MSHP asset for TopoMesh ID = 4 of type $m0D, because it has no elements of the "
              "required dimension saved to it!");
    EXPECT_EQ(info[2],
              "Not exporting MSHP asset for TopoMesh ID = 4 of type $m3D, because it has no elements of the "
              "required dimension saved to it!");
    EXPECT_EQ(capture.Records().front().message, "Writing out mesh asset file asynchronously.");
    EXPECT_EQ(capture.Records().back().message, "Asset file writing started...");
    EXPECT_EQ(capture.Find(LogLevel::Info, info[1]).location,
              "Tarnel::ComponentMesh::WriteMeshAssetFile::<lambda_1>::operator ()");
}

TEST(ComponentMesh, SectionsFollowTheDimensionsAndBlocksTheShapeOrder)
{
    TarnelTest::TempDirectory directory;
    MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path());
    ComponentMesh component(4, 40, 41, 42, 43);
    Mesh source = TarnelTest::SourceMesh(TarnelTest::AddMixedPointLineTriangle);
    MasterMesh::getInstance().ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
    component.SetFileName("mixed");
    component.WriteMeshAssetFile();
    EXPECT_EQ(ReadFile(directory.File("mixed.mshp")),
              "$m0D\n40\n$Elements\n1 1 3 3\n0 -1 15 1\n3 4\n$EndElements\n"
              "$m1D\n41\n$Elements\n1 1 1 1\n1 -1 1 1\n1 1 2\n$EndElements\n"
              "$m2D\n42\n$Elements\n1 1 2 2\n2 -1 2 1\n2 1 2 3\n$EndElements\n");
}

TEST(ComponentMesh, AnEmptyComponentWritesNothing)
{
    TarnelTest::TempDirectory directory;
    MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path());
    ComponentMesh component(4, 40, 41, 42, 43);
    component.SetFileName("empty");
    TarnelTest::LogCapture capture;
    component.WriteMeshAssetFile();
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Will not write out asset file for " + directory.File("empty.mshp") +
                                                " because it is an empty reference."));
    EXPECT_FALSE(TarnelTest::FileExists(directory.File("empty.mshp")));
}

TEST(ComponentMesh, AFileThatCannotBeOpenedEndsTheJobQuietlyForTheCaller)
{
    MeshEngineWrapper::getInstance().SetMeshExportPath("/no/such/directory");
    ComponentMesh component(4, 40, 41, 42, 43);
    component.GetElementsByDimension(DIMENSION_2D)->AddElementID(1);
    component.SetFileName("lost");
    TarnelTest::LogCapture capture;
    EXPECT_NO_THROW(component.WriteMeshAssetFile());
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Could not open component mesh asset file for editing!"));
}

TEST(ComponentMesh, ElementsComeFromTheMasterMesh)
{
    ComponentMesh first(4, 40, 41, 42, 43);
    Mesh triangles = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    MasterMesh::getInstance().ExtendComponentMesh(first, triangles, TarnelTest::AllSolverTypes(), false);
    ComponentMesh second(7, 70, 71, 72, 73);
    Mesh quads = TarnelTest::SourceMesh(TarnelTest::AddQuadStrip);
    MasterMesh::getInstance().ExtendComponentMesh(second, quads, TarnelTest::AllSolverTypes(), false);

    std::vector<Element> elements = second.GetAllElements();
    ASSERT_EQ(elements.size(), 3u);
    std::vector<int> ids;
    for (const Element& element : elements) ids.push_back(element.id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(elements[0].shape, QUAD_4NODE);
}

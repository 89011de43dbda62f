#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::AllSolverTypes;
using TarnelTest::SourceMesh;

namespace {

// Component 4 with element set IDs 40 (0D), 41 (1D), 42 (2D), 43 (3D).
ComponentMesh component4()
{
    return ComponentMesh(4, 40, 41, 42, 43);
}

class MasterMeshPlacement : public testing::Test {
protected:
    void SetUp() override { MasterMesh::getInstance(); }
    MasterMesh& master() { return MasterMesh::getInstance(); }
};

}  // namespace

TEST_F(MasterMeshPlacement, NodesAreNumberedInOrderOfFirstUse)
{
    ComponentMesh component = component4();
    Mesh source = SourceMesh(TarnelTest::AddTwoTrianglesWithScatteredTags);
    TarnelTest::LogCapture capture;
    EXPECT_EQ(master().ExtendComponentMesh(component, source, AllSolverTypes(), false), &component);
    EXPECT_MASTER_MESH_CONSISTENT();

    const MeshTransaction transaction = component.GetLastMeshTransaction();
    EXPECT_EQ(transaction.componentMeshId, 4);
    // Source 30, 10, 20 then 40 become 1, 2, 3 and 4.
    EXPECT_EQ(transaction.createdElements, (std::vector<int>{1, 4, 42, 2, 12, 2, 4, 42, 2, 12}));
    EXPECT_EQ(transaction.createdElementNodeIds, (std::vector<std::vector<int>>{{1, 2, 3}, {2, 4, 1}}));
    EXPECT_EQ(transaction.createdNodeRecords,
              (std::vector<double>{1, 0, 1, 0, 2, 0, 0, 0, 3, 1, 0, 0, 4, 1, 1, 0}));
    EXPECT_TRUE(transaction.removedElementIds.empty());
    EXPECT_TRUE(transaction.createdNodeIds.empty());

    const Element first = master().GetElementDefinition(1);
    EXPECT_EQ(first.nodeIds, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(first.solverType, 12);
    EXPECT_EQ(first.origin.componentMeshId, 4);
    EXPECT_EQ(first.origin.elementSetId, 42);
    EXPECT_TRUE(first.origin.isValid);
    EXPECT_EQ(first.attributes.dimension, DIMENSION_2D);
    EXPECT_EQ(first.attributes.degreesOfFreedom, std::vector<double>(6, 1.0));
    EXPECT_EQ(MasterMeshChecker::ElementsOfNode(master(), 2), (std::vector<int>{1, 2}));
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_2D)->GetElementIds(), (std::unordered_set<int>{1, 2}));

    // The temporary model is gone and the component is kept.
    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(source));
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Discarded temporary mesh after successful placement into master mesh!"));
    EXPECT_TRUE(capture.Has(LogLevel::Debug, "Attempt to load 2 element(s) and 6 nodes(s)"));
    ASSERT_EQ(MasterMeshChecker::ComponentMeshes(master()).count(4), 1u);
    EXPECT_EQ(MasterMeshChecker::ComponentMeshes(master()).at(4).GetLastMeshTransaction().createdElements,
              transaction.createdElements);
}

TEST_F(MasterMeshPlacement, APlacementContinuesFromTheLargestTags)
{
    ComponentMesh first = component4();
    Mesh triangles = SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(first, triangles, AllSolverTypes(), false);

    ComponentMesh second(7, 70, 71, 72, 73);
    Mesh quads = SourceMesh(TarnelTest::AddQuadStrip);
    master().ExtendComponentMesh(second, quads, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();

    const MeshTransaction transaction = second.GetLastMeshTransaction();
    EXPECT_EQ(transaction.createdElements,
              (std::vector<int>{3, 7, 72, 3, 15, 4, 7, 72, 3, 15, 5, 7, 72, 3, 15}));
    EXPECT_EQ(transaction.createdElementNodeIds.front(), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(transaction.createdElementNodeIds[1], (std::vector<int>{6, 9, 10, 7}));
    EXPECT_EQ(transaction.createdElementNodeIds[2], (std::vector<int>{9, 11, 12, 10}));
    EXPECT_EQ(transaction.createdNodeRecords.size(), 32u);
    EXPECT_EQ(TarnelTest::MasterElementCount(), 5u);
    EXPECT_EQ(master().GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), 12u);
}

TEST_F(MasterMeshPlacement, AFreshComponentOfAStoredIdAddsToItsSets)
{
    ComponentMesh first = component4();
    Mesh triangles = SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(first, triangles, AllSolverTypes(), false);

    ComponentMesh fresh = component4();
    Mesh quads = SourceMesh(TarnelTest::AddQuadStrip);
    master().ExtendComponentMesh(fresh, quads, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    const std::unordered_set<int> all{1, 2, 3, 4, 5};
    EXPECT_EQ(fresh.GetElementsByDimension(DIMENSION_2D)->GetElementIds(), all);
    EXPECT_EQ(master().GetComponentMesh(4)->GetElementsByDimension(DIMENSION_2D)->GetElementIds(), all);
}

TEST_F(MasterMeshPlacement, ElementIdsAreReadAnewForEveryShape)
{
    ComponentMesh component = component4();
    Mesh source = SourceMesh(TarnelTest::AddMixedPointLineTriangle);
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    // gmsh lists the types by their code: line (1), triangle (2), point (15).
    EXPECT_EQ(component.GetLastMeshTransaction().createdElements,
              (std::vector<int>{1, 4, 41, 1, 2, 2, 4, 42, 2, 12, 3, 4, 40, 15, 1}));
    EXPECT_EQ(component.GetLastMeshTransaction().createdElementNodeIds,
              (std::vector<std::vector<int>>{{1, 2}, {1, 2, 3}, {4}}));
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_0D)->GetElementIds(), (std::unordered_set<int>{3}));
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_1D)->GetElementIds(), (std::unordered_set<int>{1}));
    EXPECT_EQ(master().GetElementDefinition(3).origin.elementSetId, 40);
}

TEST_F(MasterMeshPlacement, TheElementFilterKeepsOneDimension)
{
    ComponentMesh component = component4();
    Mesh source = SourceMesh(TarnelTest::AddMixedPointLineTriangle);
    source.SetMeshAdditionElementFilter(2);
    TarnelTest::LogCapture capture;
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(capture.Find(LogLevel::Info, "ElementFilter: kept dimension-2 elements, discarded 2 other element type(s).")
                  .location,
              "Tarnel::MasterMesh::ExtendComponentMesh");
    EXPECT_EQ(component.GetLastMeshTransaction().createdElements, (std::vector<int>{1, 4, 42, 2, 12}));
    // Only the triangle's nodes are placed; the point's node is not.
    EXPECT_EQ(component.GetLastMeshTransaction().createdNodeRecords.size(), 12u);
    EXPECT_EQ(master().GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), 3u);
}

TEST_F(MasterMeshPlacement, ASourceLeftEmptyByTheFilterIsDiscarded)
{
    ComponentMesh component = component4();
    Mesh source = SourceMesh(TarnelTest::AddTenPoints);
    source.SetMeshAdditionElementFilter(1);
    TarnelTest::LogCapture capture;
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    EXPECT_TRUE(capture.Has(LogLevel::Info, "ElementFilter: kept dimension-1 elements, discarded 1 other element type(s)."));
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Discarded empty temporary mesh!"));
    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(source));
    const MeshTransaction transaction = component.GetLastMeshTransaction();
    EXPECT_EQ(transaction.componentMeshId, 4);
    EXPECT_TRUE(transaction.createdElements.empty());
    EXPECT_TRUE(transaction.createdNodeRecords.empty());
    EXPECT_EQ(MasterMeshChecker::ComponentMeshes(master()).count(4), 1u);
    EXPECT_EQ(TarnelTest::MasterElementCount(), 0u);
}

TEST_F(MasterMeshPlacement, TransactionCoordinatesAreRoundedAndGmshKeepsThemExact)
{
    ComponentMesh component = component4();
    Mesh source(true);
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3}, {0.12345678, -0.12345649, 2.5e-7, 1, 0, 0, 0, 1, 0});
    gm::model::mesh::addElementsByType(surface, TRIANGLE_3NODE, {1}, {1, 2, 3});
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);

    const std::vector<double> records = component.GetLastMeshTransaction().createdNodeRecords;
    EXPECT_DOUBLE_EQ(records[1], 0.123457);
    EXPECT_DOUBLE_EQ(records[2], -0.123456);
    EXPECT_DOUBLE_EQ(records[3], 0.0);
    EXPECT_DOUBLE_EQ(master().GetNodeDefinition(1).position.X(), 0.12345678);
}

TEST_F(MasterMeshPlacement, PreviewChangesNothingButTheTransaction)
{
    ComponentMesh placed = component4();
    Mesh first = SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(placed, first, AllSolverTypes(), false);

    ComponentMesh preview(9, 90, 91, 92, 93);
    Mesh source = SourceMesh(TarnelTest::AddTwoTrianglesWithScatteredTags);
    master().ExtendComponentMesh(preview, source, AllSolverTypes(), true);
    EXPECT_MASTER_MESH_CONSISTENT();

    // Would-be node IDs continue from the master's nodes; element IDs are the source's.
    const MeshTransaction transaction = preview.GetLastMeshTransaction();
    EXPECT_EQ(transaction.createdElements, (std::vector<int>{5, 9, 92, 2, 12, 6, 9, 92, 2, 12}));
    EXPECT_EQ(transaction.createdElementNodeIds, (std::vector<std::vector<int>>{{5, 6, 7}, {6, 8, 5}}));
    EXPECT_EQ(transaction.createdNodeRecords[0], 5.0);
    EXPECT_EQ(TarnelTest::MasterElementCount(), 2u);
    EXPECT_EQ(master().GetElementStoragePtr()->Size(), 2u);
    EXPECT_EQ(MasterMeshChecker::ComponentMeshes(master()).count(9), 0u);
    EXPECT_TRUE(preview.IsComponentMeshEmpty());
    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(source));
    std::size_t maxNode = 0;
    gm::model::mesh::getMaxNodeTag(maxNode);
    EXPECT_EQ(maxNode, 4u);
}

TEST_F(MasterMeshPlacement, AFileIntoAnEmptyMasterMeshIsLoadedDirectly)
{
    TarnelTest::TempDirectory directory;
    Mesh source = TarnelTest::LoadedSourceMesh(directory.Path(), "bracket", TarnelTest::AddTwoTrianglesWithScatteredTags);
    ComponentMesh component = component4();
    TarnelTest::LogCapture capture;
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();

    // The file's tags are the master IDs.
    const MeshTransaction transaction = component.GetLastMeshTransaction();
    EXPECT_EQ(transaction.createdElements, (std::vector<int>{5, 4, 42, 2, 12, 6, 4, 42, 2, 12}));
    EXPECT_EQ(transaction.createdElementNodeIds, (std::vector<std::vector<int>>{{30, 10, 20}, {10, 40, 30}}));
    EXPECT_EQ(transaction.createdNodeRecords, (std::vector<double>{30, 0, 1, 0, 10, 0, 0, 0, 20, 1, 0, 0, 40, 1, 1, 0}));
    EXPECT_TRUE(TarnelTest::FileExists(directory.File("DefaultMasterMesh.msh")));
    EXPECT_TRUE(TarnelTest::FileExists(directory.File("bracket.msh")));
    EXPECT_TRUE(TarnelTest::HasModel("DefaultMasterMesh"));
    EXPECT_FALSE(TarnelTest::HasModel("bracket"));
    EXPECT_NE(MasterMesh::GetPhysicalGroupId("_CREATED_NODES", DIMENSION_0D), -1);

    const auto info = capture.Messages(LogLevel::Info);
    const std::vector<std::string> expected = {
        "Discarded temporary mesh as its content will be directly loaded into the master mesh!",
        "Placing component mesh from path: " + directory.File("bracket.msh")};
    for (const std::string& line : expected)
        EXPECT_TRUE(std::find(info.begin(), info.end(), line) != info.end()) << line;

    // Later placements continue from the file's tags.
    ComponentMesh next(7, 70, 71, 72, 73);
    Mesh more = SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(next, more, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(next.GetLastMeshTransaction().createdElements[0], 7);
    EXPECT_EQ(next.GetLastMeshTransaction().createdNodeRecords[0], 41.0);
}

TEST_F(MasterMeshPlacement, ADirectLoadDropsWhatTheFilterDiscards)
{
    TarnelTest::TempDirectory directory;
    Mesh source = TarnelTest::LoadedSourceMesh(directory.Path(), "mixed", TarnelTest::AddMixedPointLineTriangle);
    source.SetMeshAdditionElementFilter(2);
    ComponentMesh component = component4();
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(TarnelTest::MasterElementCount(), 1u);
    EXPECT_EQ(master().GetElementDefinition(3).shape, TRIANGLE_3NODE);
}

TEST_F(MasterMeshPlacement, LastSessionsMasterMeshFileIsPlacedLikeAnyOther)
{
    ComponentMesh first = component4();
    Mesh triangles = SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(first, triangles, AllSolverTypes(), false);

    TarnelTest::TempDirectory directory;
    Mesh lastSession =
        TarnelTest::LoadedSourceMesh(directory.Path(), "DefaultMasterMesh", TarnelTest::AddQuadStrip);
    ComponentMesh second(7, 70, 71, 72, 73);
    master().ExtendComponentMesh(second, lastSession, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(TarnelTest::MasterElementCount(), 5u);
    EXPECT_FALSE(TarnelTest::HasModel("DefaultMasterMesh_2"));
    EXPECT_EQ(master().GetElementDefinition(3).origin.componentMeshId, 7);
}

TEST_F(MasterMeshPlacement, LastSessionsMasterMeshFileIsLoadedDirectlyAsItIs)
{
    TarnelTest::TempDirectory directory;
    Mesh lastSession =
        TarnelTest::LoadedSourceMesh(directory.Path(), "DefaultMasterMesh", TarnelTest::AddQuadStrip);
    const std::string content = TarnelTest::ReadFile(directory.File("DefaultMasterMesh.msh"));
    ComponentMesh component = component4();
    master().ExtendComponentMesh(component, lastSession, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(TarnelTest::MasterElementCount(), 3u);
    EXPECT_EQ(TarnelTest::ReadFile(directory.File("DefaultMasterMesh.msh")), content);
}

TEST_F(MasterMeshPlacement, AFailedDirectLoadLeavesAnEmptyMasterModel)
{
    TarnelTest::TempDirectory directory;
    Mesh source = TarnelTest::LoadedSourceMesh(directory.Path(), "part", TarnelTest::AddTwoTrianglesSharingAnEdge);
    // The copy cannot be written: a directory stands where it would go.
    std::filesystem::create_directory(directory.File("DefaultMasterMesh.msh"));
    ComponentMesh component = component4();
    TarnelTest::LogCapture capture;
    EXPECT_ANY_THROW(master().ExtendComponentMesh(component, source, AllSolverTypes(), false));
    EXPECT_TRUE(TarnelTest::HasModel("DefaultMasterMesh"));
    EXPECT_EQ(capture.Count(LogLevel::Error, "Direct load of " + directory.File("part.msh") +
                                                 " failed; the master mesh model was recreated empty."),
              1);
    EXPECT_EQ(TarnelTest::MasterElementCount(), 0u);
    EXPECT_NE(MasterMesh::GetPhysicalGroupId("_CREATED_2D_ELEMENTS", DIMENSION_2D), -1);
}

TEST_F(MasterMeshPlacement, AFileIntoANonEmptyMasterMeshIsPlacedNormally)
{
    ComponentMesh first = component4();
    Mesh triangles = SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(first, triangles, AllSolverTypes(), false);

    TarnelTest::TempDirectory directory;
    Mesh source = TarnelTest::LoadedSourceMesh(directory.Path(), "strip", TarnelTest::AddQuadStrip);
    ComponentMesh second(7, 70, 71, 72, 73);
    master().ExtendComponentMesh(second, source, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(second.GetLastMeshTransaction().createdElements[0], 3);
    EXPECT_FALSE(TarnelTest::FileExists(directory.File("DefaultMasterMesh.msh")));
}

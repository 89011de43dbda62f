#include <algorithm>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace {

std::vector<std::uint64_t> sorted(std::vector<std::uint64_t> ids)
{
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Component 4 holding the two triangles sharing an edge: nodes 1 to 4,
// triangles 1 (1, 2, 3) and 2 (2, 4, 3).
MasterMesh& masterWithTwoTriangles()
{
    MasterMesh& master = MasterMesh::getInstance();
    ComponentMesh component(4, 40, 41, 42, 43);
    Mesh source = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master.ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
    return master;
}

}  // namespace

TEST(MasterMeshNodes, AddNodesRoundsThePositionsInPlace)
{
    MasterMesh& master = MasterMesh::getInstance();
    std::vector<XYZ> positions{XYZ(0.1234567, 0, 0), XYZ(-2.0000004, 1e-7, 5)};
    const std::vector<Node> nodes = master.AddNodes(positions, false);
    EXPECT_MASTER_MESH_CONSISTENT();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_TRUE(nodes[0].isValid);
    EXPECT_EQ(nodes[0].id, 1);
    EXPECT_EQ(nodes[0].position, XYZ(0.123457, 0, 0));
    EXPECT_EQ(nodes[1].id, 2);
    EXPECT_EQ(positions[0], XYZ(0.123457, 0, 0));
    EXPECT_EQ(positions[1], XYZ(-2.0, 0.0, 5.0));
    // gmsh holds the rounded position.
    EXPECT_EQ(master.GetNodeDefinition(1).position, XYZ(0.123457, 0, 0));
    EXPECT_EQ(sorted(master.GetActiveNodeIDs()), (std::vector<std::uint64_t>{1, 2}));
}

TEST(MasterMeshNodes, APreviewChangesNothing)
{
    MasterMesh& master = MasterMesh::getInstance();
    std::vector<XYZ> positions{XYZ(0.1234567, 0, 0)};
    const std::vector<Node> nodes = master.AddNodes(positions, true);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].id, 1);
    EXPECT_EQ(positions[0], XYZ(0.123457, 0, 0));
    EXPECT_TRUE(master.GetAllNodeIDs().empty());
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(master.GetActiveNodeIDs().empty());
    EXPECT_TRUE(capture.Has(LogLevel::Warn, "No active nodes found in the master mesh."));
}

TEST(MasterMeshNodes, AddNodeGivesTheNotFoundNodeWhenAddingFails)
{
    MasterMesh& master = MasterMesh::getInstance();
    // Without the entity that holds the library's nodes, gmsh refuses them.
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    gm::model::removeEntities({{0, MasterMeshChecker::EntityTags(master)[0]}}, false);
    TarnelTest::LogCapture capture;
    const Node node = master.AddNode(XYZ(1, 2, 3), false);
    EXPECT_FALSE(node.isValid);
    EXPECT_EQ(node.id, 0);
    EXPECT_EQ(node.position, XYZ(0, 0, 0));
    const LogRecord record = capture.Find(LogLevel::Error, "AddNode: Failed to add nodes.");
    EXPECT_TRUE(record.hasException);
    EXPECT_EQ(record.location, "Tarnel::MasterMesh::AddNodes");
}

TEST(MasterMeshNodes, DeletingANodeDeletesEveryElementThatUsesIt)
{
    MasterMesh& master = masterWithTwoTriangles();
    std::vector<Element> affected;
    std::unordered_set<int> orphans;
    EXPECT_TRUE(master.DeleteNodes({2}, affected, orphans, true));
    EXPECT_MASTER_MESH_CONSISTENT();
    ASSERT_EQ(affected.size(), 2u);
    std::vector<int> ids{affected[0].id, affected[1].id};
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int>{1, 2}));
    EXPECT_EQ(affected[0].origin.componentMeshId, 4);
    EXPECT_EQ(TarnelTest::MasterElementCount(), 0u);
    EXPECT_EQ(orphans, (std::unordered_set<int>{1, 2, 3, 4}));
    EXPECT_EQ(sorted(master.GetDeletedNodeIDs()), (std::vector<std::uint64_t>{1, 2, 3, 4}));
    // Nodes stay in gmsh; their IDs are never used again.
    EXPECT_EQ(master.GetAllNodeIDs().size(), 4u);
    std::vector<XYZ> next{XYZ(9, 9, 9)};
    EXPECT_EQ(master.AddNodes(next, false).front().id, 5);
}

TEST(MasterMeshNodes, ANodeWithoutElementsIsRemovedQuietly)
{
    MasterMesh& master = masterWithTwoTriangles();
    std::vector<XYZ> free{XYZ(5, 5, 0)};
    master.AddNodes(free, false);
    master.CreateNodeSet(70, {5, 1});
    std::vector<Element> affected{Element()};
    std::unordered_set<int> orphans;
    EXPECT_TRUE(master.DeleteNodes({5}, affected, orphans, true));
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_TRUE(affected.empty());
    EXPECT_TRUE(orphans.empty());
    EXPECT_EQ(master.GetDeletedNodeIDs(), std::vector<std::uint64_t>{5});
    EXPECT_EQ(master.GetMeshSet(70)->GetNodeIds(), std::unordered_set<int>{1});
    EXPECT_EQ(TarnelTest::MasterElementCount(), 2u);
}

TEST(MasterMeshNodes, OrphansAreNodesWithoutElements)
{
    MasterMesh& master = masterWithTwoTriangles();
    EXPECT_FALSE(master.IsNodeOrphan(1));
    EXPECT_TRUE(master.IsNodeOrphan(99));
    std::unordered_set<int> orphans;
    master.DeleteElements({1}, orphans, false);
    EXPECT_TRUE(master.IsNodeOrphan(1));
    EXPECT_FALSE(master.IsNodeOrphan(2));
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(master.GetDeletedNodeIDs().empty());
    EXPECT_TRUE(capture.Has(LogLevel::Warn, "No deleted nodes found in the master mesh."));
}

#include <algorithm>

#include <gtest/gtest.h>

#include "Diagnostics/MorvaneException.h"
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

// Component 5 (element sets 50 to 53) and four free nodes at the corners of
// the unit square:
//
//   4 ---- 3
//   |      |
//   1 ---- 2
MasterMesh& masterWithComponent5AndFourNodes()
{
    MasterMesh& master = MasterMesh::getInstance();
    master.InsertMeshComponent(ComponentMesh(5, 50, 51, 52, 53));
    std::vector<XYZ> corners{XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(1, 1, 0), XYZ(0, 1, 0)};
    master.AddNodes(corners, false);
    return master;
}

ElementAttributes couplingAttributes(int mode, double weight)
{
    return ElementAttributes({1, 1, 1, 0, 0, 0}, weight, mode, NOT_SPECIFIED);
}

// Three lines from node 1 to nodes 2, 3 and 4: the fan of a coupling.
ElementData fanOfThreeLines()
{
    return ElementData{{1, 2, 1, 3, 1, 4}, {2, 2, 2}};
}

std::vector<int> sortedIds(const std::unordered_set<int>& ids)
{
    std::vector<int> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

}  // namespace

TEST(MasterMeshElements, TwoTrianglesInComponent5)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    const ElementData triangles{{1, 2, 3, 1, 3, 4}, {12, 13}};
    const MeshTransaction transaction =
        master.AddElements(5, {TRIANGLE_3NODE}, {7, 8}, {1.0, 2.0, 3.0, 4.0}, {triangles}, {}, ElementAttributes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(transaction.componentMeshId, 5);
    EXPECT_EQ(transaction.createdElements, (std::vector<int>{1, 5, 52, 2, 12, 2, 5, 52, 2, 13}));
    EXPECT_EQ(transaction.createdElementNodeIds, (std::vector<std::vector<int>>{{1, 2, 3}, {1, 3, 4}}));
    EXPECT_EQ(transaction.createdNodeIds, (std::vector<int>{7, 8}));
    EXPECT_EQ(transaction.createdNodeRecords, (std::vector<double>{1.0, 2.0, 3.0, 4.0}));

    const Element second = master.GetElementDefinition(2);
    EXPECT_EQ(second.solverType, 13);
    EXPECT_EQ(second.origin.elementSetId, 52);
    EXPECT_EQ(second.attributes.dimension, DIMENSION_2D);
    EXPECT_EQ(master.GetComponentMesh(5)->GetElementsByDimension(DIMENSION_2D)->GetElementIds(),
              (std::unordered_set<int>{1, 2}));
    EXPECT_EQ(MasterMeshChecker::ElementsOfNode(master, 3), (std::vector<int>{1, 2}));

    // IDs go on from the largest element tag, batch after batch.
    const MeshTransaction more = master.AddElements(5, {LINE_2NODE, QUAD_4NODE}, {}, {},
                                                    {ElementData{{1, 2}, {2}}, ElementData{{1, 2, 3, 4}, {15}}}, {},
                                                    ElementAttributes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(more.createdElements, (std::vector<int>{3, 5, 51, 1, 2, 4, 5, 52, 3, 15}));
}

TEST(MasterMeshElements, APreviewShowsTheIdsAndChangesNothing)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    const MeshTransaction transaction = master.AddElements(9, {TRIANGLE_3NODE}, {}, {},
                                                           {ElementData{{1, 2, 3}, {12}}}, {}, ElementAttributes(), true);
    EXPECT_EQ(transaction.createdElements, (std::vector<int>{1, 9, -4, 2, 12}));
    EXPECT_EQ(TarnelTest::MasterElementCount(), 0u);
    EXPECT_EQ(master.GetComponentMesh(9), nullptr);
    EXPECT_TRUE(master.IsNodeOrphan(1));
    EXPECT_MASTER_MESH_CONSISTENT();
}

TEST(MasterMeshElements, AddElementRepeatsTheNodeIdsInTheTransaction)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    const MeshTransaction transaction = master.AddElement(5, QUAD_4NODE, ElementData{{1, 2, 3, 4}, {15}});
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(transaction.createdNodeIds, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(transaction.createdNodeRecords.empty());
    EXPECT_EQ(transaction.createdElements, (std::vector<int>{1, 5, 52, 3, 15}));
    EXPECT_EQ(master.GetElementDefinition(1).attributes.degreesOfFreedom, std::vector<double>(6, 1.0));
}

TEST(MasterMeshElements, KinematicCouplingFromThreeLines)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    TarnelTest::LogCapture capture;
    const MeshTransaction transaction = master.AddElements(5, {LINE_2NODE}, {}, {}, {fanOfThreeLines()}, {},
                                                           couplingAttributes(8, 0.25), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Adding elements with kinematic/distributing coupling type of element addition."));
    EXPECT_EQ(transaction.createdElements.size(), 15u);
    const std::vector<ElementCoupling> couplings = master.GetKinematicCouplings();
    ASSERT_EQ(couplings.size(), 1u);
    EXPECT_EQ(couplings[0].GetMeshComponentId(), 5);
    EXPECT_EQ(couplings[0].GetMasterNodeId(), 1);
    EXPECT_EQ(sortedIds(couplings[0].GetNodeIDs()), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(sortedIds(couplings[0].GetRepresentationBeamIds()), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(couplings[0].GetWeights(), (std::vector<double>{1, 1, 1, 0, 0, 0}));
    EXPECT_TRUE(master.GetDistributingCouplings().empty());
    EXPECT_EQ(master.GetElementDefinition(2).attributes.intAttribute, 8);
}

TEST(MasterMeshElements, DistributingCouplingWeighsWithTheDoubleAttribute)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    master.AddElements(5, {LINE_2NODE}, {}, {}, {fanOfThreeLines()}, {}, couplingAttributes(9, 0.25), false);
    const std::vector<ElementCoupling> couplings = master.GetDistributingCouplings();
    ASSERT_EQ(couplings.size(), 1u);
    EXPECT_EQ(couplings[0].GetWeights(), std::vector<double>{0.25});
    EXPECT_FALSE(couplings[0].IsKinematicCoupling());
    EXPECT_TRUE(master.GetKinematicCouplings().empty());
}

TEST(MasterMeshElements, CouplingModeIsRefusedForOtherShapes)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    TarnelTest::LogCapture capture;
    const MeshTransaction transaction = master.AddElements(5, {TRIANGLE_3NODE}, {1}, {1, 0, 0, 0},
                                                           {ElementData{{1, 2, 3}, {12}}}, {}, couplingAttributes(8, 0),
                                                           false);
    EXPECT_EQ(capture.Find(LogLevel::Error,
                           "Kinematic/Distributing coupling type of element addition is only supported for LINE_2NODE "
                           "elements!")
                  .location,
              "Tarnel::MasterMesh::AddElements");
    EXPECT_EQ(transaction.componentMeshId, 5);
    EXPECT_TRUE(transaction.createdElements.empty());
    EXPECT_TRUE(transaction.createdNodeIds.empty());
    EXPECT_EQ(TarnelTest::MasterElementCount(), 0u);
}

TEST(MasterMeshElements, EmptyDegreesOfFreedomBecomeSixZerosWithOneWarning)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    TarnelTest::LogCapture capture;
    master.AddElements(5, {LINE_2NODE}, {}, {}, {fanOfThreeLines()}, {},
                       ElementAttributes({}, 0.0, 0, NOT_SPECIFIED), false);
    const auto warnings = capture.Messages(LogLevel::Warn);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Setting all degrees of freedom to zero for element ID: 1. No degrees of freedom were provided.");
    for (int id : {1, 2, 3}) EXPECT_EQ(master.GetElementDefinition(id).attributes.degreesOfFreedom, std::vector<double>(6, 0.0));
}

TEST(MasterMeshElements, ABatchOfNoShapeIsRefusedBeforeAnythingHappens)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    EXPECT_THROW(master.AddElements(5, {INVALID}, {}, {}, {ElementData{{1, 2, 3}, {12}}}, {}, ElementAttributes(), false),
                 MorvaneException);
    EXPECT_THROW(master.AddElements(5, {static_cast<ElementShape>(19)}, {}, {}, {ElementData{{1, 2, 3}, {12}}}, {},
                                    ElementAttributes(), false),
                 MorvaneException);
    EXPECT_EQ(TarnelTest::MasterElementCount(), 0u);
    EXPECT_MASTER_MESH_CONSISTENT();
}

TEST(MasterMeshElements, DeletingWithOrphanRemovalMovesTheNodesToTheRemovedSet)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    master.AddElements(5, {TRIANGLE_3NODE}, {}, {}, {ElementData{{1, 2, 3, 1, 3, 4}, {12, 12}}}, {},
                       ElementAttributes(), false);
    master.CreateElementSet(80, {1, 2});
    std::unordered_set<int> orphans;
    EXPECT_TRUE(master.DeleteElements({1}, orphans, true));
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(orphans, std::unordered_set<int>{2});
    EXPECT_EQ(master.GetDeletedNodeIDs(), std::vector<std::uint64_t>{2});
    EXPECT_EQ(TarnelTest::MasterElementCount(), 1u);
    EXPECT_EQ(master.GetMeshSet(80)->GetElementIds(), std::unordered_set<int>{2});
    EXPECT_EQ(master.GetComponentMesh(5)->GetElementsByDimension(DIMENSION_2D)->GetElementIds(),
              std::unordered_set<int>{2});
    EXPECT_EQ(master.GetElementDefinition(1).id, 0);
}

TEST(MasterMeshElements, DeletingWithoutOrphanRemovalKeepsTheNodesActive)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    master.AddElements(5, {TRIANGLE_3NODE}, {}, {}, {ElementData{{1, 2, 3}, {12}}}, {}, ElementAttributes(), false);
    std::unordered_set<int> orphans;
    EXPECT_TRUE(master.DeleteElements({1}, orphans, false));
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_TRUE(orphans.empty());
    EXPECT_TRUE(master.IsNodeOrphan(1));
    EXPECT_EQ(master.GetActiveNodeIDs().size(), 4u);
}

TEST(MasterMeshElements, UnknownIdsAreSkippedWithAnError)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    master.AddElements(5, {TRIANGLE_3NODE}, {}, {}, {ElementData{{1, 2, 3}, {12}}}, {}, ElementAttributes(), false);
    TarnelTest::LogCapture capture;
    std::unordered_set<int> orphans;
    EXPECT_TRUE(master.DeleteElements({1, 77, 0}, orphans, true));
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(capture.Count(LogLevel::Error,
                            "Element with ID = 77 is not in the master mesh and cannot be deleted. Skipping..."),
              1);
    EXPECT_EQ(capture.Count(LogLevel::Error,
                            "Element with ID = 0 is not in the master mesh and cannot be deleted. Skipping..."),
              1);
    // The default element never reaches the reference removal.
    for (const std::string& error : capture.Messages(LogLevel::Error))
        EXPECT_EQ(error.find("was supposed to be contained"), std::string::npos) << error;
    EXPECT_EQ(TarnelTest::MasterElementCount(), 0u);
}

TEST(MasterMeshElements, SyncRefusesAPopulatedIndex)
{
    MasterMesh& master = masterWithComponent5AndFourNodes();
    master.AddElements(5, {TRIANGLE_3NODE}, {}, {}, {ElementData{{1, 2, 3}, {12}}}, {}, ElementAttributes(), false);
    TarnelTest::LogCapture capture;
    try {
        master.SyncNodeIdToElementConnections();
        FAIL() << "no exception";
    } catch (const MorvaneException& exception) {
        EXPECT_STREQ(exception.what(),
                     "Should not call sync node Id to element connections \t\t\t when this dictionary is already "
                     "populated!");
    }
    EXPECT_TRUE(capture.Has(LogLevel::Error,
                            "Should not call sync node Id to element connections \t\t\t when this dictionary is "
                            "already populated!"));
}

TEST(MasterMeshElements, SyncSkipsElementsTheTableDoesNotHold)
{
    // A master model that already holds a triangle the library never stored.
    MeshEngineWrapper::getInstance();
    gm::model::add("DefaultMasterMesh");
    TarnelTest::AddTwoTrianglesSharingAnEdge();
    MasterMesh& master = MasterMesh::getInstance();
    TarnelTest::LogCapture capture;
    master.SyncNodeIdToElementConnections();
    EXPECT_EQ(capture.Count(LogLevel::Error, "Element with ID=1 not found in ElementStorage! Skipping..."), 3);
    EXPECT_EQ(capture.Count(LogLevel::Error, "Element with ID=2 not found in ElementStorage! Skipping..."), 3);
    const auto debug = capture.Messages(LogLevel::Debug);
    EXPECT_EQ(debug.front(), "Syncing node ID to element ID connections map...");
    EXPECT_EQ(debug.back(), "Node IDs to elements syncing done!");
    EXPECT_TRUE(master.IsNodeOrphan(2));
}

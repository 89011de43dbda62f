#include <algorithm>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Entities/MasterMeshStructure/MixedSet.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "TestMeshes.h"

using namespace Tarnel;

namespace {

// Component 3 (sets 30 to 33) with a triangle 1 on nodes 1, 2, 3 and, as
// the fan of a coupling at node 1, the lines 2 (1, 2) and 3 (1, 3).
MasterMesh& masterWithCouplingFan()
{
    MasterMesh& master = MasterMesh::getInstance();
    master.InsertMeshComponent(ComponentMesh(3, 30, 31, 32, 33));
    std::vector<XYZ> corners{XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(0, 1, 0)};
    master.AddNodes(corners, false);
    master.AddElements(3, {TRIANGLE_3NODE}, {}, {}, {ElementData{{1, 2, 3}, {12}}}, {}, ElementAttributes(), false);
    master.AddElements(3, {LINE_2NODE}, {}, {}, {ElementData{{1, 2, 1, 3}, {2, 2}}}, {},
                       ElementAttributes(std::vector<double>(6, 1.0), 0.0, 8, NOT_SPECIFIED), false);
    return master;
}

ElementCoupling coupling(int componentId, std::unordered_set<int> beams)
{
    ElementCoupling result(componentId, 1);
    result.SetRepresentationBeamIds(beams);
    result.SetWeights(std::vector<double>(6, 1.0));
    return result;
}

}  // namespace

TEST(MasterMeshSets, CreateElementSetRecordsTheSetOnEveryKnownElement)
{
    MasterMesh& master = masterWithCouplingFan();
    TarnelTest::LogCapture capture;
    ElementSet* set = master.CreateElementSet(7, {1, 99});
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(set->GetElementIds(), (std::unordered_set<int>{1, 99}));
    EXPECT_EQ(set->GetComponentId(), 7);
    EXPECT_EQ(set->GetMeshReferenceType(), ELEMENT_SET);
    EXPECT_EQ(master.GetElementDefinition(1).origin.namedSetIds, std::vector<int>{7});
    const auto errors = capture.Messages(LogLevel::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Element ID 99 not found in the master mesh!");
    EXPECT_EQ(master.GetMeshSet(7), set);
}

TEST(MasterMeshSets, NodeSetsReplaceASetOfTheSameId)
{
    MasterMesh& master = MasterMesh::getInstance();
    master.CreateNodeSet(4, {1, 2});
    NodeSet* replaced = master.CreateNodeSet(4, {9});
    EXPECT_EQ(replaced->GetNodeIds(), std::unordered_set<int>{9});
    EXPECT_EQ(master.GetMeshSet(4)->GetMeshReferenceType(), NODE_SET);
    EXPECT_EQ(master.GetMeshSet(5), nullptr);
}

TEST(MasterMeshSets, InsertingAReferenceKeepsAnExistingSet)
{
    MasterMesh& master = masterWithCouplingFan();
    NodeSet nodes(4);
    nodes.SetNodeIds({1});
    EXPECT_TRUE(master.InsertMeshReference(nodes));
    NodeSet other(4);
    other.SetNodeIds({2});
    EXPECT_FALSE(master.InsertMeshReference(other));
    EXPECT_EQ(master.GetMeshSet(4)->GetNodeIds(), std::unordered_set<int>{1});

    ElementSet elements(8);
    elements.SetElementIds({1, 42});
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(master.InsertMeshReference(elements));
    EXPECT_FALSE(master.InsertMeshReference(elements));
    // The lookup runs for an inserted and for a refused set alike.
    EXPECT_EQ(capture.Count(LogLevel::Error, "Element ID 42 not found in the master mesh!"), 2);
    EXPECT_EQ(master.GetElementDefinition(1).origin.namedSetIds, (std::vector<int>{8, 8}));

    EXPECT_FALSE(master.InsertMeshReference(MixedSet(9)));
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Unhandled mesh reference type cannot be inserted!"));
}

TEST(MasterMeshSets, DeletingSets)
{
    MasterMesh& master = masterWithCouplingFan();
    master.CreateElementSet(7, {1});
    master.CreateNodeSet(8, {1});
    EXPECT_TRUE(master.DeleteMeshSet(7));
    EXPECT_TRUE(master.DeleteMeshSet(8));
    EXPECT_TRUE(master.DeleteMeshSet(123));
    EXPECT_EQ(master.GetMeshSet(7), nullptr);
    EXPECT_EQ(master.GetMeshSet(8), nullptr);
    // The elements keep naming the set.
    EXPECT_EQ(master.GetElementDefinition(1).origin.namedSetIds, std::vector<int>{7});
}

TEST(MasterMeshSets, ComponentsAreInsertedOnceAndLookedUp)
{
    MasterMesh& master = MasterMesh::getInstance();
    EXPECT_TRUE(master.InsertMeshComponent(ComponentMesh(6, 60, 61, 62, 63)));
    EXPECT_FALSE(master.InsertMeshComponent(ComponentMesh(6, 1, 2, 3, 4)));
    ASSERT_NE(master.GetComponentMesh(6), nullptr);
    EXPECT_EQ(master.GetComponentMesh(6)->GetElementsByDimension(DIMENSION_2D)->GetComponentId(), 62);
    EXPECT_EQ(master.GetComponentMesh(7), nullptr);
}

TEST(MasterMeshSets, DeletingAComponentRemovesItsElementsNodesAndCouplings)
{
    MasterMesh& master = masterWithCouplingFan();
    master.InsertMeshComponent(ComponentMesh(4, 40, 41, 42, 43));
    std::vector<XYZ> far{XYZ(10, 0, 0), XYZ(11, 0, 0)};
    master.AddNodes(far, false);
    master.AddElements(4, {LINE_2NODE}, {}, {}, {ElementData{{4, 5}, {2}}}, {}, ElementAttributes(), false);
    master.AddElements(3, {POINT_1NODE}, {}, {}, {ElementData{{3}, {1}}}, {}, ElementAttributes(), false);
    ASSERT_EQ(master.GetKinematicCouplings().size(), 1u);

    EXPECT_TRUE(master.DeleteMeshComponent(3));
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(master.GetComponentMesh(3), nullptr);
    EXPECT_TRUE(master.GetKinematicCouplings().empty());
    EXPECT_EQ(TarnelTest::MasterElementCount(), 1u);
    std::vector<std::uint64_t> deleted = master.GetDeletedNodeIDs();
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, (std::vector<std::uint64_t>{1, 2, 3}));

    TarnelTest::LogCapture capture;
    EXPECT_FALSE(master.DeleteMeshComponent(3));
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Could not find mesh component by ID = 3"));
}

TEST(MasterMeshSets, ValidCouplingsAreKept)
{
    MasterMesh& master = masterWithCouplingFan();
    master.SetKinematicCouplings({coupling(3, {2, 3})});
    EXPECT_EQ(master.GetKinematicCouplings().size(), 1u);
    // Handed in again, the list is validated again.
    master.SetKinematicCouplings(master.GetKinematicCouplings());
    EXPECT_EQ(master.GetKinematicCouplings().size(), 1u);
    EXPECT_MASTER_MESH_CONSISTENT();
}

TEST(MasterMeshSets, ACouplingWithoutBeamsIsDroppedAndTouchesNothing)
{
    MasterMesh& master = masterWithCouplingFan();
    TarnelTest::LogCapture capture;
    master.SetDistributingCouplings({coupling(3, {})});
    EXPECT_TRUE(master.GetDistributingCouplings().empty());
    EXPECT_TRUE(capture.Has(LogLevel::Warn,
                            "Distributing coupling for component mesh ID 3 has no representation beam IDs and will be "
                            "discarded."));
    EXPECT_EQ(TarnelTest::MasterElementCount(), 3u);
}

TEST(MasterMeshSets, ADiscardedCouplingTakesOnlyItsOwnLinesWithIt)
{
    MasterMesh& master = masterWithCouplingFan();
    TarnelTest::LogCapture capture;
    // Element 1 is the triangle, not a line of component 3: it stays.
    master.SetKinematicCouplings({coupling(3, {1, 2})});
    EXPECT_TRUE(master.GetKinematicCouplings().empty());
    EXPECT_TRUE(capture.Has(LogLevel::Warn,
                            "Kinematic coupling for component mesh ID 3 has one or more beam element IDs not registered "
                            "in the component's 1D element set -> discarding."));
    EXPECT_EQ(master.GetElementDefinition(1).shape, TRIANGLE_3NODE);
    EXPECT_EQ(master.GetElementDefinition(2).id, 0);
    EXPECT_EQ(TarnelTest::MasterElementCount(), 2u);
    EXPECT_MASTER_MESH_CONSISTENT();

    // A coupling of a component that is gone owns no line of the mesh.
    master.SetKinematicCouplings({coupling(12, {3})});
    EXPECT_TRUE(capture.Has(LogLevel::Warn,
                            "Kinematic coupling references component mesh ID 12 which no longer exists -> discarding."));
    EXPECT_EQ(master.GetElementDefinition(3).id, 3);
    EXPECT_MASTER_MESH_CONSISTENT();
}

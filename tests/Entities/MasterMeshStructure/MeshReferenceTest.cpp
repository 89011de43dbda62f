#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/ElementSet.h"
#include "Entities/MasterMeshStructure/MixedSet.h"
#include "Entities/MasterMeshStructure/NodeSet.h"
#include "LogCapture.h"

using namespace Tarnel;

TEST(MeshReference, TypeAndIdComeOnlyFromTheIdConstructor)
{
    EXPECT_EQ(NodeSet().GetMeshReferenceType(), UNDEFINED);
    EXPECT_EQ(NodeSet().GetComponentId(), -1);
    EXPECT_EQ(NodeSet(4).GetMeshReferenceType(), NODE_SET);
    EXPECT_EQ(NodeSet(4).GetComponentId(), 4);
    EXPECT_EQ(ElementSet(5).GetMeshReferenceType(), ELEMENT_SET);
    EXPECT_EQ(MixedSet(6).GetMeshReferenceType(), MIXED_SET);
    EXPECT_EQ(MixedSet().GetMeshReferenceType(), UNDEFINED);
}

TEST(MeshReference, NodeSetsRefuseElementOperations)
{
    NodeSet set(4);
    set.SetElementIds({3});
    TarnelTest::LogCapture capture;
    EXPECT_FALSE(set.HasElementID(3));
    set.AddElementID(8);
    set.RemoveElementID(3);
    EXPECT_EQ(set.GetElementIds(), (std::unordered_set<int>{3}));
    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].message, "Invalid operation for NodeSet!");
    EXPECT_EQ(records[0].location, "Tarnel::NodeSet::HasElementID");
    EXPECT_EQ(records[1].location, "Tarnel::NodeSet::AddElementID");
    EXPECT_EQ(records[2].location, "Tarnel::NodeSet::RemoveElementID");
    EXPECT_EQ(records[2].sourceFile, "Entities/MasterMeshStructure/NodeSet");
    // The plural removal is not refused; it finds nothing to remove.
    set.RemoveElementIDs({3});
    EXPECT_EQ(capture.Records().size(), 3u);
}

TEST(MeshReference, ElementSetsRefuseNodeOperations)
{
    ElementSet set(5);
    TarnelTest::LogCapture capture;
    set.AddNodeID(1);
    EXPECT_FALSE(set.HasNodeID(1));
    set.RemoveNodeID(1);
    EXPECT_EQ(set.GetNodeCount(), 0u);
    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].message, "Invalid operation for ElementSet!");
    EXPECT_EQ(records[0].location, "Tarnel::ElementSet::AddNodeID");
    EXPECT_EQ(records[1].location, "Tarnel::ElementSet::HasNodeID");
    EXPECT_EQ(records[2].location, "Tarnel::ElementSet::RemoveNodeID");
    EXPECT_EQ(records[2].sourceFile, "Entities/MasterMeshStructure/ElementSet");
}

TEST(MeshReference, ValueRangesOverTheSetsOfEachKind)
{
    MixedSet mixed(1);
    mixed.SetNodeIds({10, 20});
    mixed.SetElementIds({5, 7});
    EXPECT_EQ(mixed.GetIDsValueRange().min, 5);
    EXPECT_EQ(mixed.GetIDsValueRange().max, 20);

    NodeSet nodes(2);
    nodes.SetNodeIds({9, 3});
    nodes.SetElementIds({1, 100});
    EXPECT_EQ(nodes.GetIDsValueRange().min, 3);
    EXPECT_EQ(nodes.GetIDsValueRange().max, 9);

    ElementSet elements(3);
    elements.SetElementIds({42});
    EXPECT_EQ(elements.GetIDsValueRange().min, 42);
    EXPECT_EQ(elements.GetIDsValueRange().max, 42);
}

TEST(MeshReference, ModifyConstituentIdsJudgesEveryIdAgainstTheSetsAtTheCall)
{
    MixedSet set(1);
    set.SetElementIds({2});
    set.SetNodeIds({7});
    std::unordered_set<int> elementsToAdd{1, 2};
    std::unordered_set<int> elementsToRemove{2, 3};
    std::unordered_set<int> nodesToAdd{7, 8};
    std::unordered_set<int> nodesToRemove{9};
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(set.ModifyConstituentIDs(elementsToAdd, elementsToRemove, nodesToAdd, nodesToRemove));

    // 2 counts as present for the removal although the addition of 2 was refused.
    EXPECT_EQ(set.GetElementIds(), (std::unordered_set<int>{1}));
    EXPECT_EQ(set.GetNodeIds(), (std::unordered_set<int>{7, 8}));
    const auto warnings = capture.Messages(LogLevel::Warn);
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0], "Warning: Element ID 2 already exists in the component mesh.");
    EXPECT_EQ(warnings[1], "Warning: Element ID 3 does not exist in the component mesh.");
    EXPECT_EQ(warnings[2], "Warning: Node ID 7 already exists in the component mesh.");
    EXPECT_EQ(warnings[3], "Warning: Node ID 9 does not exist in the component mesh.");
    EXPECT_EQ(capture.Records()[0].location, "Tarnel::MeshReference::ModifyConstituentIDs");
    EXPECT_EQ(capture.Records()[0].sourceFile, "Entities/MasterMeshStructure/MeshReference");
    // The argument sets are only read.
    EXPECT_EQ(elementsToAdd, (std::unordered_set<int>{1, 2}));
}

TEST(MeshReference, AddingTheSameElementTwiceInOneCallIsAcceptedOnce)
{
    ElementSet set(1);
    std::unordered_set<int> add{4}, none;
    set.ModifyConstituentIDs(add, none, none, none);
    set.ModifyConstituentIDs(add, none, none, none);
    EXPECT_EQ(set.GetElementCount(), 1u);
}

TEST(MeshReference, CopiesAreDeep)
{
    MixedSet original(3);
    original.SetNodeIds({1});
    MixedSet copy(original);
    copy.AddNodeID(2);
    copy.ClearReferences();
    EXPECT_TRUE(copy.IsReferenceEmpty());
    EXPECT_EQ(original.GetNodeIds(), (std::unordered_set<int>{1}));
    EXPECT_EQ(copy.GetComponentId(), 3);
}

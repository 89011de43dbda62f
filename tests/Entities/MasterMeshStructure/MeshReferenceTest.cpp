#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MixedSet.h"
#include "LogCapture.h"

using namespace Tarnel;

TEST(MeshReference, ModifyConstituentIdsJudgesEveryIdAgainstTheSetsAtTheCall)
{
    MixedSet set(1);
    set.SetElementIds({2});
    set.SetNodeIds({7});
    std::unordered_set<int> elementsToAdd{1, 2}, elementsToRemove{2, 3}, nodesToAdd{7, 8}, nodesToRemove{9};
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(set.ModifyConstituentIDs(elementsToAdd, elementsToRemove, nodesToAdd, nodesToRemove));
    // 2 counts as present for the removal although its addition was refused.
    EXPECT_EQ(set.GetElementIds(), (std::unordered_set<int>{1}));
    EXPECT_EQ(set.GetNodeIds(), (std::unordered_set<int>{7, 8}));
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{
                                   "W: Warning: Element ID 2 already exists in the component mesh.",
                                   "W: Warning: Element ID 3 does not exist in the component mesh.",
                                   "W: Warning: Node ID 7 already exists in the component mesh.",
                                   "W: Warning: Node ID 9 does not exist in the component mesh."}));
    // A mixed set's range spans its nodes and its elements.
    EXPECT_EQ(set.GetIDsValueRange().min, 1);
    EXPECT_EQ(set.GetIDsValueRange().max, 8);
}

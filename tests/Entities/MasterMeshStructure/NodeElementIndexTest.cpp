#include <vector>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/NodeElementIndex.h"

using Tarnel::NodeElementIndex;

namespace {

std::vector<int> idsOf(const NodeElementIndex& index, int node)
{
    const NodeElementIndex::Entry* entry = index.Find(node);
    return entry == nullptr ? std::vector<int>() : std::vector<int>(entry->begin(), entry->end());
}

}  // namespace

// Nine elements pass the entry's inline room and back.
TEST(NodeElementIndex, EntriesKeepInsertionOrderOnceAndVanishWhenEmptied)
{
    NodeElementIndex index;
    for (int element = 1; element <= 9; ++element) index.Insert(5, element * 10);
    index.Insert(5, 30);
    index.Insert(-4, 1);
    index.Insert(2000000, 1);
    EXPECT_EQ(idsOf(index, 5), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
    index.Erase(5, 20);
    index.Erase(5, 99);
    EXPECT_EQ(idsOf(index, 5), (std::vector<int>{10, 30, 40, 50, 60, 70, 80, 90}));
    for (int element : {10, 30, 40, 50, 60, 70, 80}) index.Erase(5, element);
    EXPECT_EQ(idsOf(index, 5), std::vector<int>{90});
    index.Erase(5, 90);
    index.EraseNode(2000000);
    EXPECT_EQ(index.Find(5), nullptr);
    std::vector<int> visited;
    index.ForEach([&](int node, const NodeElementIndex::Entry&) { visited.push_back(node); });
    EXPECT_EQ(visited, std::vector<int>{-4});
    EXPECT_EQ(index.Size(), 1u);
    index.Clear();
    EXPECT_TRUE(index.Empty());
}

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/ElementStorage.h"

using namespace Tarnel;

namespace {

Element makeElement(int id, ElementShape shape, std::vector<int> nodes, ElementDimension dimension = NOT_SPECIFIED)
{
    Element element;
    element.id = id;
    element.shape = shape;
    element.nodeIds = std::move(nodes);
    element.attributes.dimension = dimension;
    return element;
}

}  // namespace

// The master mesh reads every field back through Get; these are the cases
// its own flows never reach: a second element under a stored ID, a dimension
// left to the shape or other than the shape's, and the compaction after mass
// deletion.
TEST(ElementStorage, TheFirstUnderAnIdWinsAndCompactionKeepsTheLiveElements)
{
    ElementStorage storage;
    storage.AddElement(makeElement(7, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8}, DIMENSION_1D));
    storage.AddElement(makeElement(7, TRIANGLE_3NODE, {7, 8, 9}));
    EXPECT_EQ(storage.Size(), 1u);
    EXPECT_EQ(storage.Get(7).shape, HEXA_8NODE);
    EXPECT_EQ(storage.Get(7).attributes.dimension, DIMENSION_1D);
    storage.AddElement(makeElement(8, QUAD_8NODE, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(storage.Get(8).attributes.dimension, DIMENSION_2D);
    EXPECT_TRUE(storage.Erase(7));

    for (int id = 1; id <= 5000; ++id) storage.AddElement(makeElement(id, TRIANGLE_3NODE, {id, id + 1, id + 2}));
    storage.AddNamedSetId(4999, 3);
    storage.AddNamedSetId(4995, 4);  // named-set lists out of record order
    for (int id = 1; id <= 4990; ++id) EXPECT_TRUE(storage.Erase(id));
    EXPECT_FALSE(storage.Erase(1));
    EXPECT_EQ(storage.GetIds(), (std::vector<int>{4991, 4992, 4993, 4994, 4995, 4996, 4997, 4998, 4999, 5000}));
    EXPECT_EQ(storage.Get(4999).nodeIds, (std::vector<int>{4999, 5000, 5001}));
    EXPECT_EQ(storage.Get(4999).origin.namedSetIds, std::vector<int>{3});
    EXPECT_EQ(storage.Get(4995).origin.namedSetIds, std::vector<int>{4});
    storage.AddElement(makeElement(2, QUAD_4NODE, {9, 8, 7, 6}));
    EXPECT_EQ(storage.GetAll().back().nodeIds, (std::vector<int>{9, 8, 7, 6}));
}

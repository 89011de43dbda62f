#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/ElementStorage.h"

using namespace Tarnel;

namespace {

Element makeElement(int id, ElementShape shape, ElementDimension dimension, std::vector<int> nodes = {})
{
    Element element;
    element.id = id;
    element.shape = shape;
    element.nodeIds = std::move(nodes);
    element.attributes.dimension = dimension;
    return element;
}

}  // namespace

TEST(ElementStorage, FillsAMissingDimensionFromTheShape)
{
    ElementStorage storage;
    storage.AddElement(makeElement(3, QUAD_8NODE, NOT_SPECIFIED));
    storage.AddElement(makeElement(4, POINT_1NODE, NOT_SPECIFIED));
    storage.AddElement(makeElement(5, TETRA_4NODE, DIMENSION_1D));
    EXPECT_EQ(storage.Get(3).attributes.dimension, DIMENSION_2D);
    EXPECT_EQ(storage.Get(4).attributes.dimension, DIMENSION_0D);
    // An explicit dimension is kept as given.
    EXPECT_EQ(storage.Get(5).attributes.dimension, DIMENSION_1D);
}

TEST(ElementStorage, TheFirstElementStoredUnderAnIdWins)
{
    ElementStorage storage;
    storage.AddElement(makeElement(3, QUAD_4NODE, NOT_SPECIFIED, {1, 2, 3, 4}));
    storage.AddElement(makeElement(3, TRIANGLE_3NODE, NOT_SPECIFIED, {7, 8, 9}));
    EXPECT_EQ(storage.Size(), 1u);
    EXPECT_EQ(storage.Get(3).shape, QUAD_4NODE);
    EXPECT_EQ(storage.Get(3).nodeIds, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ElementStorage, MissingIdsReadAsTheDefaultElement)
{
    ElementStorage storage;
    EXPECT_EQ(storage.Find(8), nullptr);
    const Element missing = storage.Get(8);
    EXPECT_EQ(missing.id, 0);
    EXPECT_EQ(missing.shape, INVALID);
    EXPECT_FALSE(storage.Erase(8));
}

TEST(ElementStorage, TransferContentsReplacesEverything)
{
    ElementStorage source;
    source.AddElement(makeElement(1, LINE_2NODE, NOT_SPECIFIED));
    source.AddElement(makeElement(2, LINE_2NODE, NOT_SPECIFIED));
    ElementStorage target;
    target.AddElement(makeElement(9, TRIANGLE_3NODE, NOT_SPECIFIED));
    target.TransferContents(source);
    EXPECT_EQ(target.Size(), 2u);
    EXPECT_FALSE(target.Contains(9));
    EXPECT_TRUE(target.Contains(1));

    target.TransferContents(ElementStorage());
    EXPECT_TRUE(target.Empty());
}

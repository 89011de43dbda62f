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
    EXPECT_FALSE(storage.Contains(8));
    EXPECT_EQ(storage.GetShape(8), INVALID);
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

TEST(ElementStorage, ElementsComeBackAsTheyWereStored)
{
    ElementStorage storage;
    Element element = makeElement(7, HEXA_8NODE, DIMENSION_3D, {1, 2, 3, 4, 5, 6, 7, 8});
    element.solverType = static_cast<SolverElementType>(59);
    element.origin = ElementOrigin(4, 43, {100, 101});
    element.attributes.degreesOfFreedom = {0, 1, 0, 1, 0, 1};
    element.attributes.doubleAttribute = 0.25;
    element.attributes.intAttribute = 9;
    storage.AddElement(element);
    storage.AddElement(makeElement(8, LINE_2NODE, NOT_SPECIFIED, {1, 2}));

    const Element back = storage.Get(7);
    EXPECT_EQ(back.id, 7);
    EXPECT_EQ(back.nodeIds, element.nodeIds);
    EXPECT_EQ(back.shape, HEXA_8NODE);
    EXPECT_EQ(back.solverType, 59);
    EXPECT_EQ(back.origin.componentMeshId, 4);
    EXPECT_EQ(back.origin.elementSetId, 43);
    EXPECT_EQ(back.origin.namedSetIds, (std::vector<int>{100, 101}));
    EXPECT_TRUE(back.origin.isValid);
    EXPECT_EQ(back.attributes.degreesOfFreedom, element.attributes.degreesOfFreedom);
    EXPECT_EQ(back.attributes.doubleAttribute, 0.25);
    EXPECT_EQ(back.attributes.intAttribute, 9);
    EXPECT_EQ(storage.Get(8).attributes.degreesOfFreedom, std::vector<double>(6, 1.0));
    EXPECT_EQ(storage.Get(8).attributes.dimension, DIMENSION_1D);

    EXPECT_TRUE(storage.AddNamedSetId(8, 5));
    EXPECT_TRUE(storage.AddNamedSetId(7, 102));
    EXPECT_FALSE(storage.AddNamedSetId(9, 5));
    EXPECT_EQ(storage.Get(8).origin.namedSetIds, std::vector<int>{5});
    EXPECT_EQ(storage.Get(7).origin.namedSetIds, (std::vector<int>{100, 101, 102}));
}

TEST(ElementStorage, IterationFollowsStoringOrderAndSurvivesCompaction)
{
    ElementStorage storage;
    for (int id = 1; id <= 5000; ++id) storage.AddElement(makeElement(id, TRIANGLE_3NODE, NOT_SPECIFIED, {id, id + 1, id + 2}));
    storage.AddNamedSetId(4999, 3);
    for (int id = 1; id <= 4990; ++id) EXPECT_TRUE(storage.Erase(id));
    EXPECT_FALSE(storage.Erase(1));
    EXPECT_EQ(storage.Size(), 10u);
    EXPECT_EQ(storage.GetIds(), (std::vector<int>{4991, 4992, 4993, 4994, 4995, 4996, 4997, 4998, 4999, 5000}));
    EXPECT_EQ(storage.Get(4999).nodeIds, (std::vector<int>{4999, 5000, 5001}));
    EXPECT_EQ(storage.Get(4999).origin.namedSetIds, std::vector<int>{3});
    storage.AddElement(makeElement(2, QUAD_4NODE, NOT_SPECIFIED, {9, 8, 7, 6}));
    EXPECT_EQ(storage.GetIds().back(), 2);
    EXPECT_EQ(storage.Get(2).nodeIds, (std::vector<int>{9, 8, 7, 6}));
    EXPECT_EQ(storage.GetAll().size(), 11u);
}

TEST(ElementStorage, CopiesAreIndependent)
{
    ElementStorage original;
    original.AddElement(makeElement(1, LINE_2NODE, NOT_SPECIFIED, {1, 2}));
    ElementStorage copy(original);
    copy.Erase(1);
    copy.AddElement(makeElement(2, LINE_2NODE, NOT_SPECIFIED, {3, 4}));
    EXPECT_TRUE(original.Contains(1));
    EXPECT_FALSE(original.Contains(2));
    EXPECT_EQ(original.Get(1).nodeIds, (std::vector<int>{1, 2}));
}

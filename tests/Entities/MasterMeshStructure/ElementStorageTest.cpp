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

TEST(ElementStorage, ElementsComeBackAsStoredTheFirstUnderAnIdWinning)
{
    ElementStorage storage;
    Element hexahedron = makeElement(7, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8}, DIMENSION_1D);
    hexahedron.solverType = static_cast<SolverElementType>(59);
    hexahedron.origin = ElementOrigin(4, 43, {100, 101});
    hexahedron.attributes.degreesOfFreedom = {0, 1, 0, 1, 0, 1};
    hexahedron.attributes.doubleAttribute = 0.25;
    hexahedron.attributes.intAttribute = 9;
    storage.AddElement(hexahedron);
    storage.AddElement(makeElement(7, TRIANGLE_3NODE, {7, 8, 9}));
    storage.AddElement(makeElement(8, QUAD_8NODE, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(storage.Size(), 2u);

    const Element back = storage.Get(7);
    EXPECT_EQ(back.nodeIds, hexahedron.nodeIds);
    EXPECT_EQ(back.shape, HEXA_8NODE);
    EXPECT_EQ(back.solverType, 59);
    EXPECT_EQ(back.origin.elementSetId, 43);
    EXPECT_EQ(back.attributes.degreesOfFreedom, hexahedron.attributes.degreesOfFreedom);
    EXPECT_EQ(back.attributes.intAttribute, 9);
    // An explicit dimension is kept; a missing one follows the shape.
    EXPECT_EQ(back.attributes.dimension, DIMENSION_1D);
    EXPECT_EQ(storage.Get(8).attributes.dimension, DIMENSION_2D);
    EXPECT_EQ(storage.Get(8).attributes.degreesOfFreedom, std::vector<double>(6, 1.0));
    EXPECT_TRUE(storage.AddNamedSetId(7, 102));
    EXPECT_FALSE(storage.AddNamedSetId(9, 5));
    EXPECT_EQ(storage.Get(7).origin.namedSetIds, (std::vector<int>{100, 101, 102}));

    EXPECT_EQ(storage.GetShape(9), INVALID);
    EXPECT_FALSE(storage.Erase(9));

    ElementStorage target;
    target.AddElement(makeElement(9, LINE_2NODE, {1, 2}));
    target.TransferContents(storage);
    EXPECT_EQ(target.GetIds(), (std::vector<int>{7, 8}));
}

TEST(ElementStorage, IterationFollowsStoringOrderAndSurvivesCompaction)
{
    ElementStorage storage;
    for (int id = 1; id <= 5000; ++id) storage.AddElement(makeElement(id, TRIANGLE_3NODE, {id, id + 1, id + 2}));
    storage.AddNamedSetId(4999, 3);
    for (int id = 1; id <= 4990; ++id) EXPECT_TRUE(storage.Erase(id));
    EXPECT_FALSE(storage.Erase(1));
    EXPECT_EQ(storage.GetIds(), (std::vector<int>{4991, 4992, 4993, 4994, 4995, 4996, 4997, 4998, 4999, 5000}));
    EXPECT_EQ(storage.Get(4999).nodeIds, (std::vector<int>{4999, 5000, 5001}));
    EXPECT_EQ(storage.Get(4999).origin.namedSetIds, std::vector<int>{3});
    storage.AddElement(makeElement(2, QUAD_4NODE, {9, 8, 7, 6}));
    EXPECT_EQ(storage.GetIds().back(), 2);
    EXPECT_EQ(storage.GetAll().back().nodeIds, (std::vector<int>{9, 8, 7, 6}));
}

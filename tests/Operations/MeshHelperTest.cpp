#include <gtest/gtest.h>

#include "BadInput.h"
#include "LogCapture.h"
#include "Operations/MeshHelper.h"

using namespace Tarnel;

namespace {

struct Degradation : TarnelTest::Row {
    std::vector<int> nodes;
    ElementShape shape;
    ElementShape expectedShape;
    std::vector<int> expectedNodes;  // empty: not written
    bool warns;
};

const Degradation kDegradations[] = {
    {"TriangleUnchanged", {7, 8, 9}, TRIANGLE_3NODE, TRIANGLE_3NODE, {7, 8, 9}, false},
    {"CollapsedTriangle", {7, 7, 9}, TRIANGLE_3NODE, INVALID, {}, false},
    {"QuadrangleWithAdjacentCorners", {1, 2, 2, 3}, QUAD_4NODE, TRIANGLE_3NODE, {1, 2, 3}, false},
    {"QuadrangleWithFirstAndLastCorners", {1, 2, 3, 1}, QUAD_4NODE, TRIANGLE_3NODE, {1, 2, 3}, false},
    {"QuadrangleWithDiagonalCorners", {1, 2, 1, 3}, QUAD_4NODE, INVALID, {}, false},
    {"QuadrangleWithThreeEqualCorners", {4, 4, 4, 5}, QUAD_4NODE, INVALID, {}, false},
    // Two pairs merged leave a line, not the triangle (a, b, b).
    {"QuadrangleCollapsedInTwoPairs", {4, 4, 5, 5}, QUAD_4NODE, INVALID, {}, false},
    {"CollapsedLine", {5, 5}, LINE_2NODE, INVALID, {}, false},
    {"CollapsedSecondOrderLine", {5, 5, 6}, LINE_3NODE, INVALID, {}, true},
    {"SecondOrderLineUnchanged", {5, 6, 7}, LINE_3NODE, LINE_3NODE, {5, 6, 7}, false},
    {"EmptyList", {}, HEXA_8NODE, HEXA_8NODE, {}, false},
};

class MeshHelperDegradation : public testing::TestWithParam<Degradation> {};

}  // namespace

TEST_P(MeshHelperDegradation, GivesTheShapeLeftAfterMerging)
{
    const Degradation& degradation = GetParam();
    std::vector<int> nodes = degradation.nodes;
    std::vector<int> result{-1};
    TarnelTest::LogCapture capture;
    EXPECT_EQ(MeshHelper::ComputeDegradedElement(nodes, degradation.shape, result), degradation.expectedShape);
    EXPECT_EQ(nodes, degradation.nodes);
    EXPECT_EQ(result, degradation.expectedShape == INVALID ? std::vector<int>{-1} : degradation.expectedNodes);
    const std::string warning = "We are not handling element type " + std::to_string(degradation.shape) +
                                " after node merging! This means we are simply deleting the resulting element!";
    EXPECT_EQ(capture.Count(LogLevel::Warn, warning), degradation.warns ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Shapes, MeshHelperDegradation, testing::ValuesIn(kDegradations), TarnelTest::RowName());

TEST(MeshHelper, DistanceIsEuclidean)
{
    EXPECT_EQ(MeshHelper::Distance(Node(true, 1, XYZ(1, 2, 3)), Node(true, 2, XYZ(4, 6, 15))), 13.0);
}

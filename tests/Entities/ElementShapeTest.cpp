#include <gtest/gtest.h>

#include "Diagnostics/MorvaneException.h"
#include "Entities/ElementDimension.h"
#include "Entities/ElementShape.h"
#include "Entities/ElementShapeToModel.h"
#include "LogCapture.h"

using namespace Tarnel;

TEST(ElementShape, DimensionsAndNodeCountsFollowGmshTypes)
{
    const int nodes[] = {0, 2, 3, 4, 4, 8, 6, 5, 3, 6, 9, 10, 27, 18, 14, 1, 8, 20, 15};
    const int dims[] = {-1, 1, 2, 2, 3, 3, 3, 3, 1, 2, 2, 3, 3, 3, 3, 0, 2, 3, 3};
    for (int shape = 0; shape <= 18; ++shape) {
        EXPECT_EQ(GetShapeNodeCount(static_cast<ElementShape>(shape)), nodes[shape]) << shape;
        EXPECT_EQ(GetShapeDimensionOrInvalid(static_cast<ElementShape>(shape)), dims[shape]) << shape;
    }
    EXPECT_EQ(GetShapeDimension(LINE_3NODE), 1);
    EXPECT_EQ(GetShapeDimension(POINT_1NODE), 0);
    EXPECT_EQ(GetShapeDimensionOrInvalid(static_cast<ElementShape>(19)), -1);
}

TEST(ElementShape, UnknownShapesThrowLoggedExceptions)
{
    TarnelTest::LogCapture capture;
    try {
        GetShapeNodeCount(static_cast<ElementShape>(19));
        FAIL() << "no exception";
    } catch (const MorvaneException& exception) {
        EXPECT_STREQ(exception.what(), "Unsupported element type");
    }
    try {
        GetShapeDimension(INVALID);
        FAIL() << "no exception";
    } catch (const MorvaneException& exception) {
        EXPECT_STREQ(exception.what(), "Unknown ElementShape");
    }
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Unsupported element type"));
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Unknown ElementShape"));
}

TEST(ElementDimension, DisplayStrings)
{
    EXPECT_EQ(GetDimensionDisplayString(NOT_SPECIFIED), "NOT_SPECIFIED");
    EXPECT_EQ(GetDimensionDisplayString(DIMENSION_0D), "0D");
    EXPECT_EQ(GetDimensionDisplayString(DIMENSION_3D), "3D");
    EXPECT_EQ(GetDimensionDisplayString(static_cast<ElementDimension>(7)), "");
}

TEST(ElementShapeToModel, AcceptsOnlyTheSolversPairs)
{
    auto pair = [](ElementShape shape, int type) {
        return ElementShapeToModel(shape, static_cast<SolverElementType>(type));
    };
    const ElementShapeToModel valid = pair(HEXA_20NODE, 21);
    EXPECT_TRUE(valid.isValid);
    EXPECT_EQ(valid.shape, HEXA_20NODE);
    EXPECT_EQ(valid.solverType, 21);

    const ElementShapeToModel invalid = pair(TRIANGLE_3NODE, 21);
    EXPECT_FALSE(invalid.isValid);
    EXPECT_EQ(invalid.shape, INVALID);
    EXPECT_EQ(invalid.solverType, 0);

    // Range ends of the table.
    EXPECT_TRUE(pair(LINE_2NODE, 2).isValid);
    EXPECT_TRUE(pair(LINE_3NODE, 41).isValid);
    EXPECT_FALSE(pair(LINE_2NODE, 12).isValid);
    EXPECT_TRUE(pair(QUAD_8NODE, 51).isValid);
    EXPECT_FALSE(pair(QUAD_4NODE, 50).isValid);
    EXPECT_TRUE(pair(HEXA_8NODE, 63).isValid);
    EXPECT_FALSE(pair(HEXA_8NODE, 62).isValid);
    EXPECT_TRUE(pair(POINT_1NODE, 1).isValid);
    EXPECT_FALSE(pair(POINT_1NODE, 27).isValid);
    EXPECT_FALSE(pair(static_cast<ElementShape>(19), 21).isValid);
    EXPECT_FALSE(ElementShapeToModel().isValid);
}

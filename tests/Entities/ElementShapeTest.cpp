#include <gtest/gtest.h>

#include "Diagnostics/MorvaneException.h"
#include "Entities/ElementShape.h"
#include "LogCapture.h"

using namespace Tarnel;

// The shapes are gmsh's element types 1 to 18; their node counts and
// dimensions are gmsh's.
TEST(ElementShape, NodeCountsAndDimensionsAreGmshsAndUnknownShapesThrowLogged)
{
    const int nodes[] = {0, 2, 3, 4, 4, 8, 6, 5, 3, 6, 9, 10, 27, 18, 14, 1, 8, 20, 15};
    const int dims[] = {-1, 1, 2, 2, 3, 3, 3, 3, 1, 2, 2, 3, 3, 3, 3, 0, 2, 3, 3};
    for (int shape = 0; shape <= 18; ++shape) {
        EXPECT_EQ(GetShapeNodeCount(static_cast<ElementShape>(shape)), nodes[shape]) << shape;
        EXPECT_EQ(GetShapeDimensionOrInvalid(static_cast<ElementShape>(shape)), dims[shape]) << shape;
    }
    EXPECT_EQ(GetShapeDimensionOrInvalid(static_cast<ElementShape>(19)), -1);
    TarnelTest::LogCapture capture;
    EXPECT_THROW(GetShapeNodeCount(static_cast<ElementShape>(19)), MorvaneException);
    EXPECT_THROW(GetShapeDimension(INVALID), MorvaneException);
    EXPECT_EQ(capture.Messages(LogLevel::Error), (std::vector<std::string>{"Unsupported element type", "Unknown ElementShape"}));
    EXPECT_EQ(capture.Records()[0].location, "Tarnel::MorvaneException::MorvaneException");
}

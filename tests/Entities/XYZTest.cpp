#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

#include "Entities/XYZ.h"

using Tarnel::XYZ;

// Only a failed query or a normalised zero vector is invalid; validity is
// not part of equality, and arithmetic always gives a valid point.
TEST(XYZ, ValidityAngleRoundingAndText)
{
    EXPECT_FALSE(XYZ::ConstructInvalid().IsValid());
    EXPECT_TRUE(XYZ::ConstructInvalid() == XYZ());
    EXPECT_TRUE((XYZ::ConstructInvalid() + XYZ(1, 2, 3)).IsValid());
    EXPECT_FALSE(XYZ(0, 0, 0).Normalize().IsValid());
    EXPECT_EQ(XYZ(3, 0, 4).Normalize(), XYZ(0.6, 0, 0.8));
    EXPECT_TRUE(XYZ(3, 0, 4).Normalize().IsValid());

    EXPECT_DOUBLE_EQ(XYZ(1, 0, 0).AngleTo(XYZ(-1, 0, 0)), M_PI);
    EXPECT_EQ(XYZ(1, 0, 0).AngleTo(XYZ(0, 0, 0)), 0.0);
    // A rounded cosine just above 1 gives 0, not NaN.
    EXPECT_FALSE(std::isnan(XYZ(1e-8, 1.0, 1e-8).AngleTo(XYZ(1.0000000001e-8, 1.0, 1e-8))));

    XYZ rounded(0.5, -5.678, 2.4);
    rounded.roundTo(0);
    EXPECT_EQ(rounded, XYZ(1, -6, 2));
    EXPECT_EQ(XYZ(1, 2.5, -3).GetAsSpaceDelimitedString(), "1.000000 2.500000 -3.000000");
    std::ostringstream stream;
    stream << XYZ(1, 2.5, -3);
    EXPECT_EQ(stream.str(), "(1, 2.5, -3)");
}

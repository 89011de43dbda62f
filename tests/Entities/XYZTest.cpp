#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

#include "Entities/XYZ.h"

using Tarnel::XYZ;

TEST(XYZ, DefaultIsValidOriginAndConstructInvalidIsNot)
{
    EXPECT_TRUE(XYZ().IsValid());
    EXPECT_FALSE(XYZ::ConstructInvalid().IsValid());
    // Validity is not part of equality.
    EXPECT_TRUE(XYZ::ConstructInvalid() == XYZ());
    EXPECT_FALSE(XYZ(1, 2, 3) != XYZ(1, 2, 3));
}

TEST(XYZ, ArithmeticGivesValidResultsWhateverItsInputs)
{
    const XYZ a(1, 2, 3), b(4, 5, 6);
    EXPECT_EQ(a + b, XYZ(5, 7, 9));
    EXPECT_EQ(b - a, XYZ(3, 3, 3));
    EXPECT_EQ(a * 2.0, XYZ(2, 4, 6));
    EXPECT_DOUBLE_EQ(a * b, 32.0);
    EXPECT_DOUBLE_EQ(a.DotProduct(b), 32.0);
    EXPECT_EQ(a.CrossProduct(b), XYZ(-3, 6, -3));
    EXPECT_EQ(a.negate(), XYZ(-1, -2, -3));
    EXPECT_TRUE((XYZ::ConstructInvalid() + a).IsValid());
}

TEST(XYZ, NormalizeOfZeroIsInvalid)
{
    const XYZ zero = XYZ(0, 0, 0).Normalize();
    EXPECT_FALSE(zero.IsValid());
    EXPECT_EQ(zero, XYZ(0, 0, 0));
    const XYZ unit = XYZ(3, 0, 4).Normalize();
    EXPECT_TRUE(unit.IsValid());
    EXPECT_DOUBLE_EQ(unit.X(), 0.6);
    EXPECT_DOUBLE_EQ(unit.Z(), 0.8);
    EXPECT_DOUBLE_EQ(XYZ(3, 0, 4).magnitude(), 5.0);
}

TEST(XYZ, AngleToIsClampedAndZeroForZeroVectors)
{
    EXPECT_DOUBLE_EQ(XYZ(1, 0, 0).AngleTo(XYZ(-1, 0, 0)), M_PI);
    EXPECT_EQ(XYZ(1, 0, 0).AngleTo(XYZ(0, 0, 0)), 0.0);
    // Nearly parallel vectors whose rounded cosine exceeds 1 give 0, not NaN.
    const XYZ a(1e-8, 1.0, 1e-8);
    const XYZ b(1.0000000001e-8, 1.0, 1e-8);
    EXPECT_FALSE(std::isnan(a.AngleTo(b)));
    EXPECT_FALSE(std::isnan(XYZ(0.1, 0.2, 0.3).AngleTo(XYZ(0.1, 0.2, 0.3) * 3.0)));
}

TEST(XYZ, RoundToRoundsHalvesAwayFromZero)
{
    XYZ a(1.234, -5.678, 9.999);
    a.roundTo(2);
    EXPECT_DOUBLE_EQ(a.X(), 1.23);
    EXPECT_DOUBLE_EQ(a.Y(), -5.68);
    EXPECT_DOUBLE_EQ(a.Z(), 10.0);
    XYZ b(0.5, -0.5, 2.4);
    b.roundTo(0);
    EXPECT_EQ(b, XYZ(1, -1, 2));
}

TEST(XYZ, TextForms)
{
    EXPECT_EQ(XYZ(1, 2.5, -3).GetAsSpaceDelimitedString(), "1.000000 2.500000 -3.000000");
    EXPECT_EQ(XYZ(1e20, 0, 0).GetAsSpaceDelimitedString(), "100000000000000000000.000000 0.000000 0.000000");
    std::ostringstream stream;
    stream << XYZ(1, 2.5, -3);
    EXPECT_EQ(stream.str(), "(1, 2.5, -3)");
}

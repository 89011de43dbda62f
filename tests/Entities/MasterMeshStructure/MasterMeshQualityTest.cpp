#include <cmath>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "LogCapture.h"

using namespace Tarnel;

namespace {

const double kRightIsoscelesGamma = 2.0 * ((2.0 - std::sqrt(2.0)) / 2.0) / (std::sqrt(2.0) / 2.0);

// In component 1 (sets 10 to 13):
//
//   3                     6 barely above the axis
//   | \                   triangle 1: (1, 2, 3)   right isosceles, legs 1
//   1---2 . . . . . 5     triangle 2: (1, 5, 6)   a sliver
//                         line 3: (1, 2), hexahedron 4 on nodes 7 to 14
MasterMesh& masterWithTwoTrianglesALineAndAHexahedron()
{
    MasterMesh& master = MasterMesh::getInstance();
    master.InsertMeshComponent(ComponentMesh(1, 10, 11, 12, 13));
    std::vector<XYZ> nodes{XYZ(0, 0, 0),  XYZ(1, 0, 0),  XYZ(0, 1, 0),  XYZ(0.5, 0.5, 0), XYZ(2, 0, 0),
                           XYZ(1, 1e-3, 0), XYZ(5, 0, 0), XYZ(6, 0, 0), XYZ(6, 1, 0),    XYZ(5, 1, 0),
                           XYZ(5, 0, 1),  XYZ(6, 0, 1),  XYZ(6, 1, 1),  XYZ(5, 1, 1)};
    master.AddNodes(nodes, false);
    master.AddElements(1, {TRIANGLE_3NODE, LINE_2NODE, HEXA_8NODE}, {}, {},
                       {ElementData{{1, 2, 3, 1, 5, 6}, {12, 12}}, ElementData{{1, 2}, {2}},
                        ElementData{{7, 8, 9, 10, 11, 12, 13, 14}, {21}}},
                       {}, ElementAttributes(), false);
    return master;
}

}  // namespace

TEST(MasterMeshQuality, ReportsTheElementsBelowTheThreshold)
{
    MasterMesh& master = masterWithTwoTrianglesALineAndAHexahedron();
    TarnelTest::LogCapture capture;
    const std::map<int, float> poor = master.CheckQuality2D(GAMMA, LESS_THAN, 0.5, {1, 2, 3, 4});
    ASSERT_EQ(poor.size(), 1u);
    EXPECT_LT(poor.at(2), 1e-5f);
    EXPECT_EQ(capture.Find(LogLevel::Debug, "Calculate 2D element quality ...").location,
              "Tarnel::MasterMesh::CheckQuality2D");

    const std::map<int, float> good = master.CheckQuality2D(GAMMA, GREATER_THAN, 0.5, {});
    ASSERT_EQ(good.size(), 1u);
    EXPECT_FLOAT_EQ(good.at(1), static_cast<float>(kRightIsoscelesGamma));
}

TEST(MasterMeshQuality, AQualityEqualToTheThresholdIsNotReported)
{
    MasterMesh& master = masterWithTwoTrianglesALineAndAHexahedron();
    EXPECT_TRUE(master.CheckQuality2D(GAMMA, LESS_THAN, kRightIsoscelesGamma, {1}).empty());
    EXPECT_TRUE(master.CheckQuality2D(GAMMA, GREATER_THAN, kRightIsoscelesGamma, {1}).empty());
    EXPECT_EQ(master.CheckQuality2D(MIN_SICN, LESS_THAN, 0.87, {1}).size(), 1u);
}

TEST(MasterMeshQuality, OnlyTrianglesAndQuadranglesAreCandidates)
{
    MasterMesh& master = masterWithTwoTrianglesALineAndAHexahedron();
    EXPECT_TRUE(master.CheckQuality2D(GAMMA, GREATER_THAN, -1.0, {3, 4, 99}).empty());
}

TEST(MasterMeshQuality, AnUnknownConditionReportsNothing)
{
    MasterMesh& master = masterWithTwoTrianglesALineAndAHexahedron();
    EXPECT_TRUE(master.CheckQuality2D(GAMMA, static_cast<ComparisonCondition>(2), 0.5, {}).empty());
    EXPECT_TRUE(master.CheckQuality2D(static_cast<QualityMeasure>(7), LESS_THAN, 0.5, {}).empty());
}

TEST(MasterMeshQuality, AllSurfaceElementsCountWhenNoneAreNamed)
{
    MasterMesh& master = masterWithTwoTrianglesALineAndAHexahedron();
    // A straight six-node triangle on the corners of triangle 1.
    std::vector<XYZ> midpoints{XYZ(0.5, 0, 0), XYZ(0.5, 0.5, 0), XYZ(0, 0.5, 0)};
    master.AddNodes(midpoints, false);
    master.AddElements(1, {TRIANGLE_6NODE}, {}, {}, {ElementData{{1, 2, 3, 15, 16, 17}, {12}}}, {},
                       ElementAttributes(), false);
    const std::map<int, float> all = master.CheckQuality2D(MIN_SJ, GREATER_THAN, 0.5, {});
    EXPECT_EQ(all.count(1), 1u);
    EXPECT_EQ(all.count(5), 1u);
    EXPECT_EQ(all.count(2), 0u);
    EXPECT_EQ(all.count(4), 0u);
}

#include <gtest/gtest.h>

#include "Settings/Mesh1DSettings.h"
#include "Settings/Mesh2DSettings.h"
#include "Settings/Mesh3DSettings.h"

using namespace Tarnel;

TEST(MeshSettings, DefaultTriangleSettings)
{
    const Mesh2DSettings settings = Mesh2DSettings::GetDefaultTriaMeshSettings(0.25);
    EXPECT_EQ(settings.GetElementSize(), 0.25);
    EXPECT_EQ(static_cast<int>(settings.GetElementOrder()), 0);
    EXPECT_EQ(settings.GetMeshAlgorithmChoice(), Mesh2DAlgorithmChoice::Delaunay);
    EXPECT_EQ(settings.GetRecombineAll(), RecombineAll::Disabled);
    EXPECT_EQ(static_cast<int>(settings.GetRecombinationAlgorithm()), 1);
    EXPECT_EQ(settings.GetRecombineMinimumQuality(), 0.5f);
    EXPECT_EQ(static_cast<int>(settings.GetRecombineNodePositioning()), 1);
    EXPECT_EQ(settings.GetRecombineOptimizeTopology(), 5);
    EXPECT_TRUE(settings.GetEdgeSeedingParameters().empty());
}

TEST(MeshSettings, ThreeDimensionalArgumentsTakeTheTypeBeforeTheAlgorithm)
{
    const Mesh3DSettings settings(2.0, static_cast<Target3DMeshType>(7), static_cast<Mesh3DAlgorithmChoice>(4),
                                  static_cast<MeshElementOrder>(2));
    EXPECT_EQ(static_cast<int>(settings.GetElementType()), 7);
    EXPECT_EQ(static_cast<int>(settings.GetMeshAlgorithmChoice()), 4);
    EXPECT_EQ(static_cast<int>(settings.GetElementOrder()), 2);
    EXPECT_EQ(settings.GetElementSize(), 2.0);
}

TEST(MeshSettings, SeedListsAreOwnedByEachObject)
{
    Mesh2DSettings settings = Mesh2DSettings::GetDefaultTriaMeshSettings(1.0);
    settings.SetEdgeSeedingParameters({EdgeSeedingParameters{5, XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(2, 0, 0)}});
    std::vector<EdgeSeedingParameters> seeds = settings.GetEdgeSeedingParameters();
    seeds[0].nodeCount = 99;
    seeds.push_back(EdgeSeedingParameters());
    EXPECT_EQ(settings.GetEdgeSeedingParameters().size(), 1u);
    EXPECT_EQ(settings.GetEdgeSeedingParameters()[0].nodeCount, 5);
    settings.SetEdgeSeedingParameters(settings.GetEdgeSeedingParameters());
    EXPECT_EQ(settings.GetEdgeSeedingParameters().size(), 1u);

    Mesh1DSettings edge(0.5, MeshElementOrder::Linear);
    edge.SetEdgeSeedingParameters(seeds);
    EXPECT_EQ(edge.GetEdgeSeedingParameters().size(), 2u);
}


#include <algorithm>
#include <stdexcept>

#include <gtest/gtest.h>

#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "EditingMeshes.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using TarnelTest::AddMasterElement;
using TarnelTest::MasterWithCubeNodes;

namespace {

std::vector<std::vector<int>> sorted(std::vector<std::vector<int>> lists)
{
    std::sort(lists.begin(), lists.end());
    return lists;
}

}  // namespace

TEST(MasterMeshNormals, ReversedElementsReplaceTheOldOnesInTheirComponents)
{
    MasterMesh& master = MasterWithCubeNodes();
    std::vector<int> reversed;
    std::unordered_map<std::string, int> solverTypes;
    try {
        master.ReverseNormals({}, reversed, solverTypes);
        FAIL();
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "No element IDs provided for reversing normals.");
    }

    const int quad = AddMasterElement(7, QUAD_4NODE, {1, 2, 3, 4});
    const int first = AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 5});
    const int second = AddMasterElement(2, TRIANGLE_3NODE, {2, 3, 6});
    const int hexahedron = AddMasterElement(1, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8});
    const std::string before = MasterMeshChecker::Describe(master);
    EXPECT_THROW(master.ReverseNormals({quad, hexahedron}, reversed, solverTypes), MorvaneException);
    EXPECT_EQ(MasterMeshChecker::Describe(master), before);

    const std::vector<MeshTransaction> transactions = master.ReverseNormals({quad, first, 99, second}, reversed, solverTypes);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(reversed, (std::vector<int>{quad, first, second}));
    ASSERT_EQ(transactions.size(), 3u);
    for (std::size_t i = 0; i + 1 < transactions.size(); ++i) EXPECT_TRUE(transactions[i].removedElementIds.empty());
    EXPECT_EQ(transactions.back().removedElementIds, reversed);
    for (const MeshTransaction& transaction : transactions) {
        const Element created = master.GetElementDefinition(transaction.createdElements.front());
        EXPECT_EQ(created.origin.componentMeshId, transaction.componentMeshId);
        EXPECT_EQ(created.solverType, 7);
        if (transaction.componentMeshId == 7) {
            EXPECT_EQ(created.nodeIds, (std::vector<int>{4, 3, 2, 1}));
        }
    }
    EXPECT_EQ(master.GetElementDefinition(quad).id, 0);
}

TEST(MasterMeshNormals, FreeEdgesAreThoseNoOtherSurfaceOrVolumeShares)
{
    MasterMesh& master = MasterWithCubeNodes();
    const int first = AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 3});
    const int second = AddMasterElement(1, TRIANGLE_3NODE, {1, 3, 4});
    AddMasterElement(1, LINE_2NODE, {1, 2});  // a line shares no surface edge
    EXPECT_EQ(sorted(master.GetFreeElementEdges({first, second})),
              (std::vector<std::vector<int>>{{1, 2}, {1, 4}, {2, 3}, {3, 4}}));
    EXPECT_THROW(master.GetFreeElementEdges({first, 99}), MorvaneException);
}

TEST(MasterMeshNormals, FreeFacesOfVolumesPointOutwards)
{
    MasterMesh& master = MasterWithCubeNodes();
    const int hexahedron = AddMasterElement(1, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8});
    const int pyramid = AddMasterElement(1, PYRAMID_5NODE, {5, 8, 7, 6, 9});
    const std::vector<ElementData> alone = master.GetFreeElementFaces({hexahedron});
    EXPECT_TRUE(alone[0].nodeIds.empty());
    EXPECT_EQ(alone[1].elementIds, std::vector<int>(6, hexahedron));

    // The pyramid sits on the top face: that face is shared, its own four
    // triangles and the hexahedron's five other faces are free.
    const std::vector<ElementData> together = master.GetFreeElementFaces({hexahedron, pyramid});
    EXPECT_EQ(together[0].elementIds, std::vector<int>(4, pyramid));
    EXPECT_EQ(together[1].elementIds, std::vector<int>(5, hexahedron));
    // The bottom face, seen from outside (below), runs 1, 4, 3, 2.
    const std::vector<int>& quads = together[1].nodeIds;
    bool bottomOutwards = false;
    for (std::size_t k = 0; k + 3 < quads.size(); k += 4)
        bottomOutwards |= std::vector<int>(quads.begin() + k, quads.begin() + k + 4) == std::vector<int>{1, 4, 3, 2};
    EXPECT_TRUE(bottomOutwards);
}

#include <algorithm>
#include <stdexcept>

#include <gtest/gtest.h>

#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;

namespace {

// Nodes 1 to 9: the unit cube's corners 1 to 8 (bottom 1-4, top 5-8, both
// counter-clockwise seen from above) and the apex 9 above its top face.
//
//     8 ---- 7
//    /|     /|        9 at (0.5, 0.5, 2)
//   5 ---- 6 |
//   | 4 ---|-3
//   |/     |/
//   1 ---- 2
MasterMesh& masterWithCubeNodes()
{
    MasterMesh& master = MasterMesh::getInstance();
    for (int id : {1, 2, 7}) master.InsertMeshComponent(ComponentMesh(id, 10 * id, 10 * id + 1, 10 * id + 2, 10 * id + 3));
    std::vector<XYZ> nodes{XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(1, 1, 0), XYZ(0, 1, 0), XYZ(0, 0, 1),
                           XYZ(1, 0, 1), XYZ(1, 1, 1), XYZ(0, 1, 1), XYZ(0.5, 0.5, 2)};
    master.AddNodes(nodes, false);
    return master;
}

int add(int component, ElementShape shape, std::vector<int> nodes)
{
    const MeshTransaction added =
        MasterMesh::getInstance().AddElements(component, {shape}, {}, {}, {ElementData{nodes, {7}}}, {},
                                              ElementAttributes(), false);
    return added.createdElements.front();
}

std::vector<std::vector<int>> sorted(std::vector<std::vector<int>> lists)
{
    std::sort(lists.begin(), lists.end());
    return lists;
}

}  // namespace

TEST(MasterMeshNormals, ReversedElementsReplaceTheOldOnesInTheirComponents)
{
    MasterMesh& master = masterWithCubeNodes();
    std::vector<int> reversed;
    std::unordered_map<std::string, int> solverTypes;
    try {
        master.ReverseNormals({}, reversed, solverTypes);
        FAIL();
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "No element IDs provided for reversing normals.");
    }

    const int quad = add(7, QUAD_4NODE, {1, 2, 3, 4});
    const int first = add(1, TRIANGLE_3NODE, {1, 2, 5});
    const int second = add(2, TRIANGLE_3NODE, {2, 3, 6});
    const int hexahedron = add(1, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8});
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
    MasterMesh& master = masterWithCubeNodes();
    const int first = add(1, TRIANGLE_3NODE, {1, 2, 3});
    const int second = add(1, TRIANGLE_3NODE, {1, 3, 4});
    add(1, LINE_2NODE, {1, 2});  // a line shares no surface edge
    EXPECT_EQ(sorted(master.GetFreeElementEdges({first, second})),
              (std::vector<std::vector<int>>{{1, 2}, {1, 4}, {2, 3}, {3, 4}}));
    EXPECT_THROW(master.GetFreeElementEdges({first, 99}), MorvaneException);
}

TEST(MasterMeshNormals, FreeFacesOfVolumesPointOutwards)
{
    MasterMesh& master = masterWithCubeNodes();
    const int hexahedron = add(1, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8});
    const int pyramid = add(1, PYRAMID_5NODE, {5, 8, 7, 6, 9});
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

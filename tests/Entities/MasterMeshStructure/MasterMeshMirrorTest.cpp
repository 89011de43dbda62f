#include <set>

#include <gtest/gtest.h>

#include "EditingMeshes.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using namespace TarnelTest;

namespace {

std::unordered_map<std::string, int> solverTypes;

struct MirrorOrderCase {
    const char* name;
    ElementShape shape;
    std::vector<int> nodes;
    // The mirrored element's nodes as positions in the source's node list.
    std::vector<int> order;
};

void PrintTo(const MirrorOrderCase& mirror, std::ostream* out) { *out << mirror.name; }

class MirroredNodeOrder : public ::testing::TestWithParam<MirrorOrderCase> {};

}  // namespace

TEST(MasterMeshMirror, MirrorNodesCreatesImagesInInputOrder)
{
    MasterMesh& master = MasterWithCubeNodes();
    // Duplicates are mirrored again; the normal need not be a unit vector.
    const std::vector<Node> images = master.MirrorNodes({7, 2, 7}, {0, 0, 0}, {5, 0, 0}, solverTypes, false);
    EXPECT_MASTER_MESH_CONSISTENT();
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].id, 10);
    EXPECT_EQ(images[0].position, XYZ(-1, 1, 1));
    EXPECT_EQ(images[1].position, XYZ(-1, 0, 0));
    EXPECT_EQ(images[2].id, 12);
    EXPECT_EQ(master.GetNodeDefinition(7).position, XYZ(1, 1, 1));
}

TEST_P(MirroredNodeOrder, KeepsTheMirroredElementRightSideOut)
{
    const MirrorOrderCase& mirror = GetParam();
    MasterMesh& master = MasterWithCubeNodes();
    const int source = AddMasterElement(1, mirror.shape, mirror.nodes);
    const auto transactions = master.MirrorElements(2, {source}, {0, 0, 0}, {1, 0, 0}, solverTypes, false);
    EXPECT_MASTER_MESH_CONSISTENT();
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0].createdElements,
              (std::vector<int>{source + 1, 2, 20 + GetShapeDimension(mirror.shape), mirror.shape, 7}));
    // New nodes 10, 11, ... are the images of the source's nodes in order.
    std::vector<int> expectedNodes;
    std::vector<double> expectedRecords;
    for (std::size_t k = 0; k < mirror.nodes.size(); ++k) {
        expectedNodes.push_back(10 + mirror.order[k]);
        const XYZ p = master.GetNodeDefinition(mirror.nodes[k]).position;
        expectedRecords.insert(expectedRecords.end(), {10.0 + double(k), -p.X(), p.Y(), p.Z()});
    }
    EXPECT_EQ(transactions[0].createdElementNodeIds, std::vector<std::vector<int>>{expectedNodes});
    EXPECT_EQ(transactions[0].createdNodeRecords, expectedRecords);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MirroredNodeOrder,
    ::testing::Values(MirrorOrderCase{"Point", POINT_1NODE, {9}, {0}}, MirrorOrderCase{"Line", LINE_2NODE, {1, 2}, {1, 0}},
                      MirrorOrderCase{"Triangle", TRIANGLE_3NODE, {1, 2, 3}, {2, 1, 0}},
                      MirrorOrderCase{"Quadrangle", QUAD_4NODE, {1, 2, 3, 4}, {3, 2, 1, 0}},
                      MirrorOrderCase{"Tetrahedron", TETRA_4NODE, {1, 2, 4, 5}, {0, 2, 1, 3}},
                      MirrorOrderCase{"Pyramid", PYRAMID_5NODE, {5, 6, 7, 8, 9}, {0, 3, 2, 1, 4}},
                      MirrorOrderCase{"Prism", PRISM_6NODE, {1, 2, 4, 5, 6, 8}, {0, 2, 1, 3, 5, 4}},
                      MirrorOrderCase{"Hexahedron", HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 3, 2, 1, 4, 7, 6, 5}}),
    [](const ::testing::TestParamInfo<MirrorOrderCase>& info) { return std::string(info.param.name); });

TEST(MasterMeshMirror, SharedNodesAreMirroredOnceAndUnknownElementsSkipped)
{
    MasterMesh& master = MasterWithCubeNodes();
    const int first = AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 3});
    const int second = AddMasterElement(1, TRIANGLE_3NODE, {1, 3, 4});
    LogCapture capture;
    const std::vector<MeshTransaction> transactions = ExpectPreviewMatchesRun([&](bool isPreview) {
        return master.MirrorElements(7, {first, 99, second}, {0.1f, 0, 0}, {1, 0, 0}, solverTypes, isPreview);
    });
    // Logged by the preview and by the run.
    EXPECT_EQ(capture.Messages(LogLevel::Error),
              std::vector<std::string>(2, "Element with ID=99 is not valid! Skipping..."));
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0].componentMeshId, 7);
    EXPECT_EQ(transactions[0].createdElementNodeIds, (std::vector<std::vector<int>>{{12, 11, 10}, {13, 12, 10}}));
    // Records carry single-precision images: node 1 lands at 2 * 0.1f, which
    // the node itself holds rounded to six decimals.
    ASSERT_EQ(transactions[0].createdNodeRecords.size(), 16u);
    EXPECT_EQ(transactions[0].createdNodeRecords[1], static_cast<double>(0.2f));
    EXPECT_EQ(master.GetNodeDefinition(10).position, XYZ(0.2, 0, 0));
}

// A second-order triangle whose repeated node makes it collapse is dropped
// with warnings and deleted, not refused as unrebuildable.
TEST(MasterMeshMirror, TranslateNodesRebuildsEveryElementOnTheMovedNodes)
{
    MasterMesh& master = MasterWithCubeNodes();
    const int quad = AddMasterElement(7, QUAD_4NODE, {1, 2, 3, 4});
    const int line = AddMasterElement(1, LINE_2NODE, {5, 1}, 3);
    const int triangle = AddMasterElement(1, TRIANGLE_6NODE, {1, 2, 3, 5, 6, 6});
    LogCapture capture;
    std::vector<MeshTransaction> run = ExpectPreviewMatchesRun([&](bool isPreview) {
        return master.TranslateNodes({1, 2, 3, 4}, {1, 0, 0}, solverTypes, isPreview);
    });
    const std::string collapsed = "We are not handling element type 9 after node merging! This means we are simply "
                                  "deleting the resulting element!";
    const std::string skipped = "Skipping the reconstruction of original element with ID=3 because it would result "
                                "in an INVALID element!";
    EXPECT_EQ(capture.Messages(LogLevel::Warn), (std::vector<std::string>{collapsed, skipped, collapsed, skipped}));
    ASSERT_EQ(run.size(), 3u);
    // New IDs follow the rebuild's component order, not the transactions';
    // affected elements go by ascending ID: the quad's component names the removal.
    const std::set<int> newIds{run[0].createdElements.at(0), run[1].createdElements.at(0)};
    EXPECT_EQ(newIds, (std::set<int>{triangle + 1, triangle + 2}));
    run[0].createdElements[0] = run[1].createdElements[0] = 0;
    if (run[0].componentMeshId != 7) std::swap(run[0], run[1]);
    // One record per replaced occurrence, the dropped triangle's included.
    const std::string moved = "createdNodes[1 2 3 4 5 1 1 2 3 5 6 6 ] nodeRecords[10 1 0 0 11 2 0 0 12 2 1 0 13 1 1 0 "
                              "10 1 0 0 10 1 0 0 11 2 0 0 12 2 1 0 ]\n";
    EXPECT_EQ(DescribeTransactions(run),
              "component 7 removed[] auxiliary[] created[0 7 72 3 7 ] nodes[10 11 12 13 ] " + moved +
                  "component 1 removed[] auxiliary[] created[0 1 11 1 3 ] nodes[5 10 ] " + moved + "component 7 removed[" +
                  std::to_string(quad) + " " + std::to_string(line) + " " + std::to_string(triangle) +
                  " ] auxiliary[] created[] createdNodes[] nodeRecords[]\n");
    EXPECT_EQ(master.GetActiveNodeIDs().size(), 13u);
    EXPECT_TRUE(master.IsNodeOrphan(1));
}

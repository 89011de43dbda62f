#include <algorithm>

#include <gtest/gtest.h>

#include "EditingMeshes.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using TarnelTest::AddMasterElement;
using TarnelTest::ExpectPreviewMatchesRun;
using TarnelTest::LogCapture;
using TarnelTest::MasterWithCubeNodes;

namespace {

// The cube nodes of MasterWithCubeNodes, by ID.
const std::vector<XYZ> kCube{XYZ(), XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(1, 1, 0), XYZ(0, 1, 0), XYZ(0, 0, 1),
                             XYZ(1, 0, 1), XYZ(1, 1, 1), XYZ(0, 1, 1), XYZ(0.5, 0.5, 2)};

std::unordered_map<std::string, int> solverTypes;

struct MirrorOrderCase {
    const char* name;
    ElementShape shape;
    std::vector<int> nodes;
    // The mirrored element's nodes as positions in the source's node list.
    std::vector<int> order;
};

std::ostream& operator<<(std::ostream& out, const MirrorOrderCase& mirror)
{
    return out << mirror.name;
}

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
    EXPECT_TRUE(solverTypes.empty());
}

TEST_P(MirroredNodeOrder, KeepsTheMirroredElementRightSideOut)
{
    const MirrorOrderCase& mirror = GetParam();
    MasterMesh& master = MasterWithCubeNodes();
    const int source = AddMasterElement(1, mirror.shape, mirror.nodes);
    const std::vector<MeshTransaction> transactions =
        master.MirrorElements(2, {source}, {0, 0, 0}, {1, 0, 0}, solverTypes, false);
    EXPECT_MASTER_MESH_CONSISTENT();
    ASSERT_EQ(transactions.size(), 1u);
    const int dimension = GetShapeDimension(mirror.shape);
    EXPECT_EQ(transactions[0].createdElements,
              (std::vector<int>{source + 1, 2, 20 + dimension, mirror.shape, 7}));
    // New nodes 10, 11, ... are the images of the source's nodes in order.
    std::vector<int> expectedNodes;
    for (int position : mirror.order) expectedNodes.push_back(10 + position);
    EXPECT_EQ(transactions[0].createdElementNodeIds, std::vector<std::vector<int>>{expectedNodes});
    std::vector<double> expectedRecords;
    for (std::size_t k = 0; k < mirror.nodes.size(); ++k) {
        const XYZ& p = kCube[static_cast<std::size_t>(mirror.nodes[k])];
        expectedRecords.insert(expectedRecords.end(), {10.0 + double(k), -p.X(), p.Y(), p.Z()});
    }
    EXPECT_EQ(transactions[0].createdNodeRecords, expectedRecords);
    EXPECT_TRUE(transactions[0].createdNodeIds.empty());
    EXPECT_EQ(master.GetElementDefinition(source).nodeIds, mirror.nodes);
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
    const std::vector<MeshTransaction> transactions = ExpectPreviewMatchesRun([&](bool isPreview) {
        LogCapture capture;
        const std::vector<MeshTransaction> answer =
            master.MirrorElements(7, {first, 99, second}, {0.1f, 0, 0}, {1, 0, 0}, solverTypes, isPreview);
        EXPECT_EQ(capture.Messages(LogLevel::Error),
                  std::vector<std::string>{"Element with ID=99 is not valid! Skipping..."});
        return answer;
    });
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0].componentMeshId, 7);
    EXPECT_EQ(transactions[0].createdElementNodeIds, (std::vector<std::vector<int>>{{12, 11, 10}, {13, 12, 10}}));
    // Records carry single-precision images: node 1 lands at 2 * 0.1f, which
    // the node itself holds rounded to six decimals.
    const std::vector<double>& records = transactions[0].createdNodeRecords;
    ASSERT_EQ(records.size(), 16u);
    EXPECT_EQ(records[1], static_cast<double>(0.2f));
    EXPECT_EQ(master.GetNodeDefinition(10).position, XYZ(0.2, 0, 0));
    EXPECT_EQ(master.GetAllElements().size(), 4u);
}

TEST(MasterMeshMirror, TranslateNodesRebuildsEveryElementOnTheMovedNodes)
{
    MasterMesh& master = MasterWithCubeNodes();
    const int quad = AddMasterElement(7, QUAD_4NODE, {1, 2, 3, 4});
    const int line = AddMasterElement(1, LINE_2NODE, {5, 1}, 3);
    const std::vector<MeshTransaction> transactions = ExpectPreviewMatchesRun([&](bool isPreview) {
        return master.TranslateNodes({1, 2, 3, 4}, {1, 0, 0}, solverTypes, isPreview);
    });
    // Affected elements go by ascending ID: the quad's component names the
    // removal. The components' new IDs follow the rebuild's component order.
    ASSERT_EQ(transactions.size(), 3u);
    EXPECT_EQ(transactions[2].componentMeshId, 7);
    EXPECT_EQ(transactions[2].removedElementIds, (std::vector<int>{quad, line}));
    std::vector<int> newIds;
    for (std::size_t t = 0; t < 2; ++t) {
        std::vector<int> created = transactions[t].createdElements;
        ASSERT_EQ(created.size(), 5u);
        newIds.push_back(created[0]);
        created[0] = 0;
        const bool isQuad = transactions[t].componentMeshId == 7;
        const std::vector<int> expected =
            isQuad ? std::vector<int>{0, 7, 72, QUAD_4NODE, 7} : std::vector<int>{0, 1, 11, LINE_2NODE, 3};
        const std::vector<std::vector<int>> expectedNodes =
            isQuad ? std::vector<std::vector<int>>{{10, 11, 12, 13}} : std::vector<std::vector<int>>{{5, 10}};
        EXPECT_EQ(created, expected);
        EXPECT_EQ(transactions[t].createdElementNodeIds, expectedNodes);
        EXPECT_EQ(transactions[t].createdNodeIds, (std::vector<int>{1, 2, 3, 4, 5, 1}));
        // One record per replaced occurrence: node 1 is in both elements.
        EXPECT_EQ(transactions[t].createdNodeRecords,
                  (std::vector<double>{10, 1, 0, 0, 11, 2, 0, 0, 12, 2, 1, 0, 13, 1, 1, 0, 10, 1, 0, 0}));
    }
    std::sort(newIds.begin(), newIds.end());
    EXPECT_EQ(newIds, (std::vector<int>{line + 1, line + 2}));
    EXPECT_EQ(master.GetElementDefinition(quad).id, 0);
    EXPECT_EQ(master.GetElementDefinition(line).id, 0);
    EXPECT_EQ(master.GetActiveNodeIDs().size(), 13u);
    EXPECT_TRUE(master.IsNodeOrphan(1));
}

TEST(MasterMeshMirror, TranslationDropsAnElementThatCollapsesInsteadOfFailing)
{
    // A second-order triangle with a repeated node degrades to nothing: it is
    // dropped with the warnings and deleted, not refused as unrebuildable.
    MasterMesh& master = MasterWithCubeNodes();
    const int triangle = AddMasterElement(1, TRIANGLE_6NODE, {1, 2, 3, 5, 6, 6});
    LogCapture capture;
    const std::vector<MeshTransaction> transactions = master.TranslateNodes({1}, {0, 0, 1}, solverTypes, false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(capture.Messages(LogLevel::Warn),
              (std::vector<std::string>{"We are not handling element type 9 after node merging! This means we are "
                                        "simply deleting the resulting element!",
                                        "Skipping the reconstruction of original element with ID=" +
                                            std::to_string(triangle) + " because it would result in an INVALID "
                                                                       "element!"}));
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0].removedElementIds, std::vector<int>{triangle});
    EXPECT_EQ(master.GetElementDefinition(triangle).id, 0);
}

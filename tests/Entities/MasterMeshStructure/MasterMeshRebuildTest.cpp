// The edits that rebuild elements on other nodes or in another component:
// mirror, translate, merge, copy- and cut-paste, each row on the cube's nodes
// (see MasterWithCubeNodes).

#include <tuple>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "EditingMeshes.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using namespace TarnelTest;

namespace {

std::unordered_map<std::string, int> solverTypes{{"2", 42}};

// On the cube's nodes, with nodes 10 onwards at `extraNodes` and the
// elements (IDs 1 onwards, solver type 7), `edit` runs as a preview and for
// real, or only for real when it has no preview.
struct Edit : Row {
    std::vector<XYZ> extraNodes;
    std::vector<std::tuple<int, ElementShape, std::vector<int>>> elements;
    std::function<std::vector<MeshTransaction>(MasterMesh& master, bool isPreview)> edit;
    // The real run's transactions, the removed nodes and the couplings
    // (MasterMeshChecker::Describe's lines).
    std::string expected;
    // LogCapture::Lines(lowest) of both runs.
    std::vector<std::string> log;
    LogLevel lowest = LogLevel::Warn;
    bool hasPreview = true;
};

std::vector<MeshTransaction> mergeByElements(MasterMesh& master, bool isPreview)
{
    return master.MergeByElements({1}, 0.001, solverTypes, isPreview);
}

// Adds the beams 2, 3 and 4 from master node 9 to the slave nodes 5, 6 and 7
// of one coupling, kinematic (mode 8) or distributing (mode 9), to component
// 1 after its point 1 on node 8, then pastes elements into component 2 with
// the apex 9 as a free node, whose copy is node 10 and listed nowhere.
std::function<std::vector<MeshTransaction>(MasterMesh&, bool)> paste(std::unordered_set<int> elementIds, bool isCut,
                                                                     int couplingMode)
{
    return [=](MasterMesh& master, bool) {
        master.AddElements(1, {LINE_2NODE}, {}, {}, {ElementData{{9, 5, 9, 6, 9, 7}, {2, 2, 2}}}, {},
                           ElementAttributes(std::vector<double>(6, 1.0), 0.5, couplingMode, DIMENSION_1D), false);
        const MeshTransaction pasted =
            master.CopyPaste_CutPaste_ElementsAndNodes({9}, elementIds, 2, solverTypes, isCut);
        EXPECT_EQ(master.GetNodeDefinition(10).position, XYZ(0.5, 0.5, 2));
        return std::vector<MeshTransaction>{pasted};
    };
}

const std::vector<std::tuple<int, ElementShape, std::vector<int>>> kPoint{{1, POINT_1NODE, {8}}};
const std::string kNotValid = "E: Element with ID=99 is not valid! Skipping...";
const std::string kCollapsed = "W: We are not handling element type 9 after node merging! This means we are simply "
                               "deleting the resulting element!";
const std::string kSkipped = "W: Skipping the reconstruction of original element with ID=3 because it would result "
                             "in an INVALID element!";
const std::string kNotRebuilt = "W: Skipping the reconstruction of original element with ID=1 because it would result "
                                "in an INVALID element!";
const std::string kMoved = "createdNodes[1 2 3 4 5 1 1 2 3 5 6 6 ] nodeRecords[10 1 0 0 11 2 0 0 12 2 1 0 13 1 1 0 "
                           "10 1 0 0 10 1 0 0 11 2 0 0 12 2 1 0 ]\n";
const std::string kDropped = "W: Step 4: skipping element ID=1 (componentMesh=1): would degrade to INVALID shape after merge";
const std::string kMergeStep4 = "I: Step 4: 1 element(s) reconstructed, 1 element(s) degraded to INVALID (dropped), "
                                "1 component mesh(es) affected";
const std::string kMergeStep5 = "I: Step 5: 2 transaction(s) produced, 2 element(s) marked for removal from viewer";
const std::string kNoCouplings = "kinematic couplings\ndistributing couplings\n";
const std::string kCoupling9 = "  component 1 master 9 slaves 5 6 7 beams 2 3 4 weights 1 1 1 1 1 1\n";
const std::string kAddingCoupling = "I: Adding elements with kinematic/distributing coupling type of element addition.";

const Edit kEdits[] = {
    // Records carry single-precision images: node 1 lands at 2 * 0.1f, which
    // the node itself holds rounded to six decimals.
    {"MirrorSharedNodesOnceAndSkipUnknownElements", {}, {{1, TRIANGLE_3NODE, {1, 2, 3}}, {1, TRIANGLE_3NODE, {1, 3, 4}}},
     [](MasterMesh& master, bool isPreview) {
         auto mirrored = master.MirrorElements(7, {1, 99, 2}, {0.1f, 0, 0}, {1, 0, 0}, solverTypes, isPreview);
         EXPECT_EQ(mirrored.at(0).createdNodeRecords.at(1), static_cast<double>(0.2f));
         return mirrored;
     },
     "component 7 created[3 7 72 2 7 4 7 72 2 7 ] nodes[12 11 10 ] nodes[13 12 10 ] "
     "nodeRecords[10 0.2 0 0 11 -0.8 0 0 12 -0.8 1 0 13 0.2 1 0 ]\nremoved nodes\n" + kNoCouplings,
     {kNotValid, kNotValid}},
    // New IDs follow the rebuild's component order; the affected elements go
    // by ascending ID: the quad's component names the removal. One record per
    // replaced occurrence, the dropped six-node triangle's included.
    {"TranslateRebuildsEveryElementOnTheMovedNodes", {},
     {{7, QUAD_4NODE, {1, 2, 3, 4}}, {1, LINE_2NODE, {5, 1}}, {1, TRIANGLE_6NODE, {1, 2, 3, 5, 6, 6}}},
     [](MasterMesh& master, bool isPreview) {
         return master.TranslateNodes({1, 2, 3, 4}, {1, 0, 0}, solverTypes, isPreview);
     },
     "component 1 created[4 1 11 1 7 ] nodes[5 10 ] " + kMoved +
         "component 7 created[5 7 72 3 7 ] nodes[10 11 12 13 ] " + kMoved +
         "component 7 removed[1 2 3 ]\nremoved nodes\n" +
         kNoCouplings,
     {kCollapsed, kSkipped, kCollapsed, kSkipped}},
    // Node 10 lies 0.0005 above corner 3.
    {"MergeClusteringTwoAdjacentCornersOfAQuadrangle", {XYZ(1, 1, 0.0005)}, {{1, QUAD_4NODE, {1, 2, 3, 10}}},
     mergeByElements,
     "component 1 created[2 1 12 2 42 ] nodes[1 2 10 ] createdNodes[1 2 10 ]\n"
     "component 1 removed[1 ]\nremoved nodes 3\n" + kNoCouplings,
     {}},
    // Node 10 lies 0.0005 above corner 2; the triangle on 10, 3, 4 only
    // neighbours the selection. What a host shows of a merge.
    {"MergeDroppingATriangleThatLosesACorner", {XYZ(1, 0, 0.0005)},
     {{1, TRIANGLE_3NODE, {1, 2, 10}}, {2, TRIANGLE_3NODE, {10, 3, 4}}}, mergeByElements,
     "component 2 created[3 2 22 2 7 ] nodes[10 3 4 ] createdNodes[10 3 4 ]\n"
     "component 1 removed[1 2 ]\nremoved nodes 1 2\n" + kNoCouplings,
     {"I: START input: 1 element(s), tolerance=0.001000, isPreview=1", kDropped, kMergeStep4, kMergeStep5,
      "I: DONE: preview mode, no elements deleted", "I: START input: 1 element(s), tolerance=0.001000, isPreview=0",
      kDropped, kMergeStep4, kMergeStep5, "I: DONE: merge complete"},
     LogLevel::Info},
    // Node 10 coincides with corner 1 but only the neighbour, of another
    // component, uses it: the neighbour is rebuilt as it was, under a new ID.
    {"MergeNeverClustersANodeOfANeighbourOnly", {XYZ(0, 0, 0)},
     {{1, TRIANGLE_3NODE, {1, 2, 3}}, {2, TRIANGLE_3NODE, {3, 4, 10}}}, mergeByElements,
     "component 2 created[3 2 22 2 7 ] nodes[3 4 10 ] createdNodes[1 2 3 4 10 ]\n"
     "component 1 created[4 1 12 2 7 ] nodes[1 2 3 ] createdNodes[1 2 3 4 10 ]\n"
     "component 1 removed[1 2 ]\nremoved nodes\n" + kNoCouplings,
     {}},
    // Node 8 goes with the dropped triangle, as an orphan.
    {"MergeNodesIntoATarget", {XYZ(2, 0, 0)}, {{1, TRIANGLE_3NODE, {5, 6, 8}}, {2, TRIANGLE_3NODE, {6, 9, 10}}},
     [](MasterMesh& master, bool isPreview) { return master.MergeNodes({5, 6}, 7, solverTypes, isPreview); },
     "component 2 created[3 2 22 2 7 ] nodes[7 9 10 ] createdNodes[7 9 10 ]\n"
     "component 1 removed[1 2 ]\nremoved nodes 5 6 8\n" +
         kNoCouplings,
     {kNotRebuilt, kNotRebuilt}},
    {"CopyPartOfACoupling", {}, kPoint, paste({2, 3}, false, 8),
     "component 2 created[5 2 21 1 2 6 2 21 1 2 ] nodes[11 12 ] nodes[11 13 ] "
     "nodeRecords[11 0.5 0.5 2 12 0 0 1 13 1 0 1 ]\nremoved nodes\nkinematic couplings\n" + kCoupling9 +
         "distributing couplings\n",
     {kAddingCoupling, "W: Kinematic coupling with master node ID 9 is only partially selected for copy/cut-paste; "
                       "its coupling definition will not migrate."},
     LogLevel::Info, false},
    {"CutADistributingCoupling", {}, kPoint, paste({2, 3, 4}, true, 9),
     "component 2 removed[2 3 4 ] created[5 2 21 1 2 6 2 21 1 2 7 2 21 1 2 ] nodes[9 5 ] nodes[9 6 ] "
     "nodes[9 7 ] createdNodes[9 5 6 7 ]\nremoved nodes\nkinematic couplings\ndistributing couplings\n"
     "  component 2 master 9 slaves 5 6 7 beams 5 6 7 weights 0.5\n",
     {kAddingCoupling, "I: Migrated distributing coupling (master node 9) to mesh component 2 after cut-paste."},
     LogLevel::Info, false},
    // The point is pasted first, as element 5 on the copy 11 of node 8: the
    // beams are 6 to 8, from 12 (the copy of 9) to 13, 14 and 15.
    {"CopyACouplingWithAPoint", {}, kPoint, paste({1, 2, 3, 4}, false, 8),
     "component 2 created[5 2 20 15 7 6 2 21 1 2 7 2 21 1 2 8 2 21 1 2 ] nodes[11 ] nodes[12 13 ] "
     "nodes[12 14 ] nodes[12 15 ] nodeRecords[11 0 1 1 12 0.5 0.5 2 13 0 0 1 14 1 0 1 15 1 1 1 ]\n"
     "removed nodes\nkinematic couplings\n" + kCoupling9 +
         "  component 2 master 12 slaves 13 14 15 beams 6 7 8 weights 1 1 1 1 1 1\ndistributing couplings\n",
     {kAddingCoupling, "I: Duplicated kinematic coupling (master node 12) into mesh component 2 after copy-paste."},
     LogLevel::Info, false},
};

class MasterMeshRebuild : public ::testing::TestWithParam<Edit> {};

}  // namespace

TEST_P(MasterMeshRebuild, AnswersLogsAndRebuildsAsPreviewed)
{
    const Edit& row = GetParam();
    MasterMesh& master = MasterWithCubeNodes();
    std::vector<XYZ> extraNodes = row.extraNodes;
    if (!extraNodes.empty()) master.AddNodes(extraNodes, false);
    for (const auto& [component, shape, nodes] : row.elements) AddMasterElement(component, shape, nodes);
    LogCapture capture;
    const auto edit = [&](bool isPreview) { return row.edit(master, isPreview); };
    const std::vector<MeshTransaction> run = row.hasPreview ? ExpectPreviewMatchesRun(edit) : edit(false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(capture.Lines(row.lowest), row.log);
    EXPECT_EQ(DescribeTransactions(run) + MasterMeshChecker::DescribeLines(master, "removed nodes") +
                  MasterMeshChecker::DescribeLines(master, "kinematic couplings", true),
              row.expected);
    // The host is never told of a removal that did not happen.
    for (const MeshTransaction& transaction : run)
        for (int id : transaction.removedElementIds) EXPECT_EQ(master.GetElementDefinition(id).id, 0) << id;
}

INSTANTIATE_TEST_SUITE_P(Edits, MasterMeshRebuild, ::testing::ValuesIn(kEdits), RowName());

// Nodes mirrored, then each shape on its own: its image's nodes as positions
// in the source's node list, so that surfaces face the mirrored way and
// volumes stay right side out.
TEST(MasterMeshMirror, MirrorsNodesAndKeepsElementsRightSideOut)
{
    const std::vector<std::tuple<ElementShape, std::vector<int>, std::vector<int>>> shapes{
        {POINT_1NODE, {9}, {0}},
        {LINE_2NODE, {1, 2}, {1, 0}},
        {TRIANGLE_3NODE, {1, 2, 3}, {2, 1, 0}},
        {QUAD_4NODE, {1, 2, 3, 4}, {3, 2, 1, 0}},
        {TETRA_4NODE, {1, 2, 4, 5}, {0, 2, 1, 3}},
        {PYRAMID_5NODE, {5, 6, 7, 8, 9}, {0, 3, 2, 1, 4}},
        {PRISM_6NODE, {1, 2, 4, 5, 6, 8}, {0, 2, 1, 3, 5, 4}},
        {HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 3, 2, 1, 4, 7, 6, 5}}};
    MasterMesh& master = MasterWithCubeNodes();
    // Duplicates are mirrored again; the normal need not be a unit vector.
    const std::vector<Node> images = master.MirrorNodes({7, 2, 7}, {0, 0, 0}, {5, 0, 0}, solverTypes, false);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[2].id, 12);
    EXPECT_EQ(images[2].position, XYZ(-1, 1, 1));
    EXPECT_EQ(images[1].position, XYZ(-1, 0, 0));
    int firstImage = 13;
    for (const auto& [shape, nodes, order] : shapes) {
        const int source = AddMasterElement(1, shape, nodes);
        const std::vector<MeshTransaction> run = ExpectPreviewMatchesRun([&](bool isPreview) {
            return master.MirrorElements(2, {source}, {0, 0, 0}, {1, 0, 0}, solverTypes, isPreview);
        });
        // New nodes are the images of the source's nodes in order.
        MeshTransaction expected;
        expected.componentMeshId = 2;
        expected.createdElements = {source + 1, 2, 20 + GetShapeDimension(shape), shape, 7};
        expected.createdElementNodeIds.emplace_back();
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            expected.createdElementNodeIds[0].push_back(firstImage + order[k]);
            const XYZ p = master.GetNodeDefinition(nodes[k]).position;
            expected.createdNodeRecords.insert(expected.createdNodeRecords.end(),
                                               {double(firstImage) + double(k), 0.0 - p.X(), p.Y(), p.Z()});
        }
        EXPECT_EQ(DescribeTransactions(run), DescribeTransactions({expected})) << shape;
        // A rebuilt element keeps every degree of freedom and has no weight.
        const ElementAttributes image = master.GetElementDefinition(source + 1).attributes;
        EXPECT_EQ(image.degreesOfFreedom, std::vector<double>(6, 1.0)) << shape;
        EXPECT_EQ(image.doubleAttribute, -1.0) << shape;
        firstImage += static_cast<int>(nodes.size());
    }
}

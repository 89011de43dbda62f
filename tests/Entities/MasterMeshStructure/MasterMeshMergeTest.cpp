#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "EditingMeshes.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using TarnelTest::AddMasterElement;
using TarnelTest::ExpectPreviewMatchesRun;
using TarnelTest::LogCapture;
using TarnelTest::MasterWithCubeNodes;

namespace {

using Lines = std::vector<std::string>;

// "id component shape solverType: nodes" per created element.
Lines created(const std::vector<MeshTransaction>& transactions)
{
    Lines lines;
    for (const MeshTransaction& transaction : transactions) {
        for (std::size_t k = 0; k < transaction.createdElementNodeIds.size(); ++k) {
            const int* record = &transaction.createdElements[5 * k];
            std::string line = std::to_string(record[0]) + " " + std::to_string(record[1]) + " " +
                               std::to_string(record[3]) + " " + std::to_string(record[4]) + ":";
            for (int node : transaction.createdElementNodeIds[k]) line += " " + std::to_string(node);
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::uint64_t> sorted(std::vector<std::uint64_t> ids)
{
    std::sort(ids.begin(), ids.end());
    return ids;
}

struct Placed {
    int component;
    ElementShape shape;
    std::vector<int> nodes;
};

using Edit = std::function<std::vector<MeshTransaction>(MasterMesh&, std::unordered_map<std::string, int>&, bool)>;

Edit byElements(std::vector<int> selection)
{
    return [selection](MasterMesh& master, std::unordered_map<std::string, int>& types, bool isPreview) {
        return master.MergeByElements(selection, 0.001, types, isPreview);
    };
}

// The cube nodes (drawn in EditingMeshes.h), node 10 onwards at `extraNodes`,
// the elements (IDs 1 onwards, solver type 7), and the merge.
struct MergeCase {
    const char* name;
    std::vector<XYZ> extraNodes;
    std::vector<Placed> elements;
    Edit edit;
    Lines expectedCreated;
    std::vector<int> expectedRemoved;
    Lines expectedWarnings;  // each logged by the preview and by the run
    std::vector<std::uint64_t> expectedDeletedNodes;
};

void PrintTo(const MergeCase& merge, std::ostream* out)
{
    *out << merge.name;
}

MasterMesh& build(const MergeCase& merge)
{
    MasterMesh& master = MasterWithCubeNodes();
    std::vector<XYZ> positions = merge.extraNodes;
    if (!positions.empty()) master.AddNodes(positions, false);
    for (const Placed& element : merge.elements) AddMasterElement(element.component, element.shape, element.nodes);
    return master;
}

const char* const kDropped = "Step 4: skipping element ID=1 (componentMesh=1): would degrade to INVALID shape after merge";

const MergeCase kMergeCases[] = {
    // Node 10 lies 0.0005 above corner 3.
    {"QuadrangleWithTwoAdjacentCornersClusteredBecomesATriangle", {XYZ(1, 1, 0.0005)},
     {{1, QUAD_4NODE, {1, 2, 3, 10}}}, byElements({1}), {"2 1 2 42: 1 2 10"}, {1}, {}, {3}},
    // Node 10 lies 0.0005 above corner 2; the triangle on 10, 3, 4 only
    // neighbours the selection.
    {"TriangleLosingACornerIsDroppedAndStillDeleted", {XYZ(1, 0, 0.0005)},
     {{1, TRIANGLE_3NODE, {1, 2, 10}}, {2, TRIANGLE_3NODE, {10, 3, 4}}}, byElements({1}), {"3 2 2 7: 10 3 4"}, {1, 2},
     {kDropped}, {1, 2}},
    {"NeighbourWithoutMovedNodesIsRebuiltUnderANewId", {},
     {{1, TRIANGLE_3NODE, {1, 2, 3}}, {2, TRIANGLE_3NODE, {1, 3, 4}}}, byElements({1}),
     {"3 2 2 7: 1 3 4", "4 1 2 7: 1 2 3"}, {1, 2}, {}, {}},
    // Node 10 coincides with corner 1 but only the neighbour uses it.
    {"NodeOfANeighbourOnlyIsNeverClustered", {XYZ(0, 0, 0)},
     {{1, TRIANGLE_3NODE, {1, 2, 3}}, {1, TRIANGLE_3NODE, {3, 4, 10}}}, byElements({1}),
     {"3 1 2 7: 1 2 3", "4 1 2 7: 3 4 10"}, {1, 2}, {}, {}},
    // Node 8 goes with the dropped triangle, as an orphan.
    {"MergeNodesIntoATarget", {XYZ(2, 0, 0)}, {{1, TRIANGLE_3NODE, {5, 6, 8}}, {2, TRIANGLE_3NODE, {6, 9, 10}}},
     [](MasterMesh& master, std::unordered_map<std::string, int>& types, bool isPreview) {
         return master.MergeNodes({5, 6}, 7, types, isPreview);
     },
     {"3 2 2 7: 7 9 10"}, {1, 2},
     {"Skipping the reconstruction of original element with ID=1 because it would result in an INVALID element!"},
     {5, 6, 8}},
};

class Merge : public ::testing::TestWithParam<MergeCase> {};

}  // namespace

TEST_P(Merge, RebuildsTheElementsUsingMergedNodes)
{
    const MergeCase& merge = GetParam();
    MasterMesh& master = build(merge);
    std::unordered_map<std::string, int> solverTypes{{"2", 42}};
    LogCapture capture;
    const std::vector<MeshTransaction> run =
        ExpectPreviewMatchesRun([&](bool isPreview) { return merge.edit(master, solverTypes, isPreview); });
    ASSERT_FALSE(run.empty());
    EXPECT_EQ(created(run), merge.expectedCreated);
    EXPECT_EQ(run.back().removedElementIds, merge.expectedRemoved);
    Lines warnings = merge.expectedWarnings;
    warnings.insert(warnings.end(), merge.expectedWarnings.begin(), merge.expectedWarnings.end());
    EXPECT_EQ(capture.Messages(LogLevel::Warn), warnings);
    EXPECT_EQ(sorted(master.GetDeletedNodeIDs()), merge.expectedDeletedNodes);
    for (int id : merge.expectedRemoved) EXPECT_EQ(master.GetElementDefinition(id).id, 0);
}

INSTANTIATE_TEST_SUITE_P(MasterMeshMerge, Merge, ::testing::ValuesIn(kMergeCases),
                         [](const ::testing::TestParamInfo<MergeCase>& info) { return info.param.name; });

TEST(MasterMeshMerge, MergeByElementsLogsEachStep)
{
    MasterMesh& master = build(kMergeCases[1]);
    std::unordered_map<std::string, int> solverTypes;
    const std::string location = "Tarnel::MasterMesh::MergeByElements";
    for (bool isPreview : {true, false}) {
        LogCapture capture;
        master.MergeByElements({1}, 0.001, solverTypes, isPreview);
        EXPECT_MASTER_MESH_CONSISTENT();
        Lines logged;
        for (const LogRecord& record : capture.Records()) {
            EXPECT_EQ(record.location, location);
            logged.push_back(std::string(GetLogLevelName(record.level)) + " " + record.message);
        }
        Lines expected{
            std::string("Info START input: 1 element(s), tolerance=0.001000, isPreview=") + (isPreview ? "1" : "0"),
            "Debug Step 1: collected 3 node reference(s) (with duplicates), 2 affected element(s) (selected + "
            "neighbours), 2 removable element(s)",
            "Debug Step 2: SpatialClustering produced 1 cluster(s), 1 cluster(s) with >1 node (actual merge pair(s))",
            "Debug Step 3: merging slave(s) [2 ] -> master 10",
            "Debug Step 3: total slave nodes identified: 1",
            std::string("Warn ") + kDropped,
            "Debug Step 4: elem ID=2 shape 2 -> 2 nodes: [10 3 4 ]",
            "Info Step 4: 1 element(s) reconstructed, 1 element(s) degraded to INVALID (dropped), 1 component mesh(es) "
            "affected",
            "Debug Step 5: componentMesh=2: adding 1 new element(s)",
            "Info Step 5: 2 transaction(s) produced, 2 element(s) marked for removal from viewer"};
        if (isPreview) {
            expected.push_back("Info DONE: preview mode, no elements deleted");
        } else {
            expected.push_back("Debug Step 6: deleting 2 original element(s) from engine");
            expected.push_back("Info DONE: merge complete");
        }
        EXPECT_EQ(logged, expected);
    }
}

#include <set>
#include <sstream>
#include <tuple>

#include <gtest/gtest.h>

#include "EditingMeshes.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using namespace TarnelTest;

namespace {

using Lines = std::vector<std::string>;

// "id component shape solverType: nodes" per created element.
Lines created(const std::vector<MeshTransaction>& transactions)
{
    Lines lines;
    for (const MeshTransaction& t : transactions)
        for (std::size_t k = 0; k < t.createdElementNodeIds.size(); ++k) {
            const int* record = &t.createdElements[5 * k];
            std::ostringstream line;
            line << record[0] << ' ' << record[1] << ' ' << record[3] << ' ' << record[4] << ':';
            for (int node : t.createdElementNodeIds[k]) line << ' ' << node;
            lines.push_back(line.str());
        }
    return lines;
}

// The cube nodes (drawn in EditingMeshes.h), node 10 onwards at `extraNodes`,
// the elements (component, shape, nodes; IDs 1 onwards, solver type 7), and the merge: of the selected
// nodes into `target`, or of the selected elements' nodes when it is 0.
struct MergeCase {
    const char* name;
    std::vector<XYZ> extraNodes;
    std::vector<std::tuple<int, ElementShape, std::vector<int>>> elements;
    std::vector<int> selection;
    int target;
    Lines expectedCreated;
    std::vector<int> expectedRemoved;
    Lines expectedWarnings;  // each logged by the preview and by the run
    std::set<std::uint64_t> expectedDeletedNodes;
};

void PrintTo(const MergeCase& merge, std::ostream* out) { *out << merge.name; }

MasterMesh& build(const MergeCase& merge)
{
    MasterMesh& master = MasterWithCubeNodes();
    std::vector<XYZ> positions = merge.extraNodes;
    if (!positions.empty()) master.AddNodes(positions, false);
    for (const auto& [component, shape, nodes] : merge.elements) AddMasterElement(component, shape, nodes);
    return master;
}

const char* const kDropped = "Step 4: skipping element ID=1 (componentMesh=1): would degrade to INVALID shape after merge";

const MergeCase kMergeCases[] = {
    // Node 10 lies 0.0005 above corner 3.
    {"QuadrangleWithTwoAdjacentCornersClusteredBecomesATriangle", {XYZ(1, 1, 0.0005)},
     {{1, QUAD_4NODE, {1, 2, 3, 10}}}, {1}, 0, {"2 1 2 42: 1 2 10"}, {1}, {}, {3}},
    // Node 10 lies 0.0005 above corner 2; the triangle on 10, 3, 4 only
    // neighbours the selection.
    {"TriangleLosingACornerIsDroppedAndStillDeleted", {XYZ(1, 0, 0.0005)},
     {{1, TRIANGLE_3NODE, {1, 2, 10}}, {2, TRIANGLE_3NODE, {10, 3, 4}}}, {1}, 0, {"3 2 2 7: 10 3 4"}, {1, 2},
     {kDropped}, {1, 2}},
    // Node 10 coincides with corner 1 but only the neighbour, of another
    // component, uses it: the neighbour is rebuilt as it was, under a new ID.
    {"NodeOfANeighbourOnlyIsNeverClustered", {XYZ(0, 0, 0)},
     {{1, TRIANGLE_3NODE, {1, 2, 3}}, {2, TRIANGLE_3NODE, {3, 4, 10}}}, {1}, 0,
     {"3 2 2 7: 3 4 10", "4 1 2 7: 1 2 3"}, {1, 2}, {}, {}},
    // Node 8 goes with the dropped triangle, as an orphan.
    {"MergeNodesIntoATarget", {XYZ(2, 0, 0)}, {{1, TRIANGLE_3NODE, {5, 6, 8}}, {2, TRIANGLE_3NODE, {6, 9, 10}}},
     {5, 6}, 7, {"3 2 2 7: 7 9 10"}, {1, 2},
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
        ExpectPreviewMatchesRun([&](bool isPreview) {
        if (merge.target == 0) return master.MergeByElements(merge.selection, 0.001, solverTypes, isPreview);
        const std::unordered_set<int> nodes(merge.selection.begin(), merge.selection.end());
        return master.MergeNodes(nodes, merge.target, solverTypes, isPreview);
    });
    ASSERT_FALSE(run.empty());
    EXPECT_EQ(created(run), merge.expectedCreated);
    EXPECT_EQ(run.back().removedElementIds, merge.expectedRemoved);
    Lines warnings = merge.expectedWarnings;
    warnings.insert(warnings.end(), merge.expectedWarnings.begin(), merge.expectedWarnings.end());
    EXPECT_EQ(capture.Messages(LogLevel::Warn), warnings);
    const std::vector<std::uint64_t> deleted = master.GetDeletedNodeIDs();
    EXPECT_EQ(std::set<std::uint64_t>(deleted.begin(), deleted.end()), merge.expectedDeletedNodes);
    for (int id : merge.expectedRemoved) EXPECT_EQ(master.GetElementDefinition(id).id, 0);
}

INSTANTIATE_TEST_SUITE_P(MasterMeshMerge, Merge, ::testing::ValuesIn(kMergeCases),
                         [](const ::testing::TestParamInfo<MergeCase>& info) { return info.param.name; });

// What a host shows of a merge: every record but the debugging steps.
TEST(MasterMeshMerge, MergeByElementsLogsItsProgress)
{
    MasterMesh& master = build(kMergeCases[1]);
    std::unordered_map<std::string, int> solverTypes;
    for (bool isPreview : {true, false}) {
        LogCapture capture;
        master.MergeByElements({1}, 0.001, solverTypes, isPreview);
        EXPECT_MASTER_MESH_CONSISTENT();
        Lines logged;
        for (const LogRecord& record : capture.Records())
            if (record.level != LogLevel::Debug) logged.push_back(record.location + " " + record.message);
        const std::string at = "Tarnel::MasterMesh::MergeByElements ";
        EXPECT_EQ(logged, (Lines{at + "START input: 1 element(s), tolerance=0.001000, isPreview=" + (isPreview ? "1" : "0"),
                                 at + kDropped,
                                 at + "Step 4: 1 element(s) reconstructed, 1 element(s) degraded to INVALID (dropped), "
                                      "1 component mesh(es) affected",
                                 at + "Step 5: 2 transaction(s) produced, 2 element(s) marked for removal from viewer",
                                 at + (isPreview ? "DONE: preview mode, no elements deleted" : "DONE: merge complete")}));
    }
}

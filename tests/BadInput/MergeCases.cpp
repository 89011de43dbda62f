// Node merges that must change nothing: a target that is no node of the mesh,
// and elements of a shape a merge cannot rebuild.

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"

using namespace Tarnel;

namespace TarnelTest {
namespace {

MasterMesh& master()
{
    return MasterMesh::getInstance();
}

std::unordered_map<std::string, int> solverTypes;

std::string mergeNodes(std::unordered_set<int> nodeIds, int target)
{
    return std::to_string(master().MergeNodes(std::move(nodeIds), target, solverTypes, false).size()) + " transaction(s)";
}

void deleteNewNode(const TempDirectory&)
{
    master().AddNode(XYZ(5, 5, 0), false);  // node 5
    std::vector<Element> affected;
    std::unordered_set<int> orphans;
    master().DeleteNodes({5}, affected, orphans, false);
}

// A 6-node triangle (element 6) on nodes 1 to 4 and the new nodes 5 and 6,
// and an unused node 7.
void addSecondOrderTriangle(const TempDirectory&)
{
    std::vector<XYZ> positions{XYZ(5, 5, 0), XYZ(6, 6, 0), XYZ(7, 7, 0)};
    master().AddNodes(positions, false);
    master().AddElements(2, {TRIANGLE_6NODE}, {}, {}, {ElementData{{1, 2, 3, 4, 5, 6}, {2}}}, {}, ElementAttributes(),
                         false);
}

const BadInputCase kMergeCases[] = {
    {"MergeIntoAnUnknownNode", [](const TempDirectory&) { return mergeNodes({2}, 99); }, "0 transaction(s)",
     LogLevel::Error, "Target node with ID=99 is not an active node of the master mesh; nothing was merged."},
    {"MergeIntoADeletedNode", [](const TempDirectory&) { return mergeNodes({2}, 5); }, "0 transaction(s)",
     LogLevel::Error, "Target node with ID=5 is not an active node of the master mesh; nothing was merged.",
     deleteNewNode},
    // The point on node 4 could be rebuilt; it must not be, as the triangle cannot.
    {"MergeNodesOfASecondOrderElement", [](const TempDirectory&) { return mergeNodes({4}, 7); }, "0 transaction(s)",
     LogLevel::Error, "Error merging nodes!", addSecondOrderTriangle},
    {"MergeByElementsOfASecondOrderElement",
     [](const TempDirectory&) {
         return std::to_string(master().MergeByElements({1, 6}, 0.001, solverTypes, false).size()) + " transaction(s)";
     },
     "0 transaction(s)", LogLevel::Error, "MergeByElements failed", addSecondOrderTriangle},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Merge, BadInput, ::testing::ValuesIn(kMergeCases), BadInputName());

}  // namespace TarnelTest

// Bad IDs and bad batches handed to the master mesh's node and element
// primitives, sets and couplings.

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

std::string deleteNodes(std::unordered_set<int> ids)
{
    std::vector<Element> affected;
    std::unordered_set<int> orphans;
    return Answer(master().DeleteNodes(std::move(ids), affected, orphans, true)) + ", " +
           std::to_string(affected.size()) + " affected";
}

const BadInputCase kNodeCases[] = {
    {"DeleteNodesOfAnUnknownId", [](const TempDirectory&) { return deleteNodes({99}); }, "true, 0 affected",
     LogLevel::Error, "Node with ID = 99 is not an active node of the master mesh and cannot be deleted. Skipping..."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Nodes, BadInput, ::testing::ValuesIn(kNodeCases), BadInputName());

}  // namespace TarnelTest

// Selections a copy or cut-paste refuses before it creates anything.

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"

using namespace Tarnel;

namespace TarnelTest {
namespace {

std::string paste(const std::unordered_set<int>& nodeIds, const std::unordered_set<int>& elementIds, bool isCut)
{
    std::unordered_map<std::string, int> solverTypes;
    const MeshTransaction transaction =
        MasterMesh::getInstance().CopyPaste_CutPaste_ElementsAndNodes(nodeIds, elementIds, 2, solverTypes, isCut);
    return "component " + std::to_string(transaction.componentMeshId);
}

// A 9-node quadrangle 6 of component 1 on the nodes 1 to 4 and the new nodes 5 to 9.
void addSecondOrderQuadrangle(const TempDirectory&)
{
    std::vector<XYZ> positions{XYZ(1, 0, 0), XYZ(2, 1, 0), XYZ(1, 2, 0), XYZ(0, 1, 0), XYZ(1, 1, 0)};
    MasterMesh::getInstance().AddNodes(positions, false);
    MasterMesh::getInstance().AddElements(1, {QUAD_9NODE}, {}, {}, {ElementData{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {3}}},
                                          {}, ElementAttributes(), false);
}

const std::string kError = "CopyPaste_CutPaste Mesh Entities error";

// Each would have left node copies behind: of element 3's node 4, of the free
// node 4, of the quadrangle's nodes, or an invented node at the origin.
const BadInputCase kPasteCases[] = {
    {"CopyAnUnknownElement", [](const TempDirectory&) { return paste({}, {3, 99}, false); }, "component -1",
     LogLevel::Error, kError},
    {"CutAnUnknownElementWithAFreeNode", [](const TempDirectory&) { return paste({4}, {3, 99}, true); },
     "component -1", LogLevel::Error, kError},
    {"CopyASecondOrderQuadrangle", [](const TempDirectory&) { return paste({}, {3, 6}, false); }, "component -1",
     LogLevel::Error, kError, addSecondOrderQuadrangle},
    {"CopyAnUnknownFreeNode", [](const TempDirectory&) { return paste({99}, {3}, false); }, "component -1",
     LogLevel::Error, kError},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Paste, BadInput, ::testing::ValuesIn(kPasteCases), BadInputName());

}  // namespace TarnelTest

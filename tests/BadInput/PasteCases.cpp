// Selections a copy or cut-paste must refuse before it creates anything.

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
    return "component " + std::to_string(transaction.componentMeshId) + ", " +
           std::to_string(transaction.createdElements.size() / 5) + " element(s)";
}

// A 9-node quadrangle 6 of component 1 on the nodes 1 to 4 and the new nodes
// 5 to 9.
void addSecondOrderQuadrangle(const TempDirectory&)
{
    std::vector<XYZ> positions{XYZ(1, 0, 0), XYZ(2, 1, 0), XYZ(1, 2, 0), XYZ(0, 1, 0), XYZ(1, 1, 0)};
    MasterMesh::getInstance().AddNodes(positions, false);
    MasterMesh::getInstance().AddElements(1, {QUAD_9NODE}, {}, {}, {ElementData{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {3}}},
                                          {}, ElementAttributes(), false);
}

const std::string kRefused = "component -1, 0 element(s)";
const std::string kPasteError = "CopyPaste_CutPaste Mesh Entities error";

const BadInputCase kPasteCases[] = {
    {"CopyAnUnknownElement", [](const TempDirectory&) { return paste({}, {3, 99}, false); }, kRefused,
     LogLevel::Error, kPasteError},
    {"CutAnUnknownElementWithAFreeNode", [](const TempDirectory&) { return paste({4}, {3, 99}, true); }, kRefused,
     LogLevel::Error, kPasteError},
    {"CopyASecondOrderQuadrangle", [](const TempDirectory&) { return paste({}, {3, 6}, false); }, kRefused,
     LogLevel::Error, kPasteError, addSecondOrderQuadrangle},
    {"CopyAnUnknownFreeNode", [](const TempDirectory&) { return paste({99}, {3}, false); }, kRefused,
     LogLevel::Error, kPasteError},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Paste, BadInput, ::testing::ValuesIn(kPasteCases), BadInputName());

}  // namespace TarnelTest

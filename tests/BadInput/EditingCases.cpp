// Edits that must change nothing: mirror planes, translations, merge targets
// and paste selections the operations refuse, and element shapes none of
// them can rebuild.

#include <gtest/gtest.h>

#include "BadInput.h"

using namespace Tarnel;

namespace TarnelTest {
namespace {

// The solver types the edits are handed: they may add to them; no case
// relies on what they hold.
std::unordered_map<std::string, int> solverTypes;

// "<size> <unit>": how many nodes or transactions an edit answered.
template <class Container>
std::string count(const Container& answered, const std::string& unit)
{
    return std::to_string(answered.size()) + " " + unit;
}

// Element 6 of component 2: a 6-node triangle on nodes 1 to 4 and the new
// nodes 5 and 6, a shape no edit can rebuild; and the unused node 7.
void addSecondOrderTriangle(const TempDirectory&)
{
    std::vector<XYZ> positions{XYZ(5, 5, 0), XYZ(6, 6, 0), XYZ(7, 7, 0)};
    Master().AddNodes(positions, false);
    Master().AddElements(2, {TRIANGLE_6NODE}, {}, {}, {ElementData{{1, 2, 3, 4, 5, 6}, {2}}}, {}, ElementAttributes(),
                         false);
}

std::string mirrorNodes(std::vector<float> point, std::vector<float> normal)
{
    return WithLoggedExceptions(
        [&] { return count(Master().MirrorNodes({1, 2}, point, normal, solverTypes, false), "nodes"); });
}

std::string mirrorElements(std::vector<int> ids, std::vector<float> normal)
{
    return WithLoggedExceptions([&] {
        return count(Master().MirrorElements(1, ids, {0, 0, 0}, normal, solverTypes, false), "transactions");
    });
}

std::string translateNode1(std::vector<float> translation)
{
    return WithLoggedExceptions(
        [&] { return count(Master().TranslateNodes({1}, translation, solverTypes, false), "transactions"); });
}

std::string mergeNodes(std::unordered_set<int> nodeIds, int target)
{
    return count(Master().MergeNodes(std::move(nodeIds), target, solverTypes, false), "transaction(s)");
}

std::string paste(const std::unordered_set<int>& nodeIds, const std::unordered_set<int>& elementIds, bool isCut)
{
    const MeshTransaction pasted =
        Master().CopyPaste_CutPaste_ElementsAndNodes(nodeIds, elementIds, 2, solverTypes, isCut);
    return "component " + std::to_string(pasted.componentMeshId);
}

const std::string kMirrorFailed = "; Error mirroring nodes! (";
const std::string kTranslateFailed = "0 transactions; Error merging nodes! (TranslateNodes: ";
const std::string kPointSize = "MirrorNodes: planePoint must contain exactly 3 values.";
const std::string kNormalSize = "MirrorNodes: planeNormal must contain exactly 3 values.";
const std::string kZeroNormal = "MirrorNodes: plane normal must be non-zero.";
const std::string kTranslationSize = "translation must contain 3 values.";
const std::string kNotActive = " is not an active node of the master mesh; nothing was merged.";
const std::string kPasteError = "CopyPaste_CutPaste Mesh Entities error";

// The refused pastes would have left node copies behind: of element 3's node
// 4, of the free node 4, of the triangle's nodes, or an invented node at the
// origin. The point on node 4 could be rebuilt by a merge; it must not be, as
// the triangle cannot.
const BadInputCase kEditingCases[] = {
    {"MirrorNodesAcrossATwoValuePlanePointAndNormal",
     [](const TempDirectory&) { return mirrorNodes({0, 0}, {0, 1}); }, "0 nodes" + kMirrorFailed + kPointSize + ")",
     LogLevel::Error, kPointSize},
    {"MirrorElementsAcrossAFourValueNormal", [](const TempDirectory&) { return mirrorElements({3}, {0, 0, 1, 0}); },
     "0 transactions" + kMirrorFailed + kNormalSize + ")", LogLevel::Error, kNormalSize},
    {"MirrorNodesAcrossANearlyZeroNormal", [](const TempDirectory&) { return mirrorNodes({0, 0, 0}, {0, 0, 1e-13f}); },
     "0 nodes" + kMirrorFailed + kZeroNormal + ")", LogLevel::Error, kZeroNormal},
    {"MirrorASecondOrderTriangle", [](const TempDirectory&) { return mirrorElements({3, 6}, {1, 0, 0}); },
     "0 transactions" + kMirrorFailed + "MirrorElements: Invalid element shape.)", LogLevel::Error,
     "Error mirroring nodes!", addSecondOrderTriangle},
    {"TranslateANodeOfASecondOrderTriangle", [](const TempDirectory&) { return translateNode1({1, 0, 0}); },
     kTranslateFailed + "Invalid element shape.)", LogLevel::Error, "Error merging nodes!", addSecondOrderTriangle},
    {"TranslateByTwoValues", [](const TempDirectory&) { return translateNode1({1, 0}); },
     kTranslateFailed + kTranslationSize + ")", LogLevel::Error, "TranslateNodes: " + kTranslationSize},
    // A node that existed once is no target either.
    {"MergeIntoADeletedNode", [](const TempDirectory&) { return mergeNodes({2}, 5); }, "0 transaction(s)",
     LogLevel::Error, "Target node with ID=5" + kNotActive, AddAndDeleteNode5},
    {"MergeNodesOfASecondOrderElement", [](const TempDirectory&) { return mergeNodes({4}, 7); }, "0 transaction(s)",
     LogLevel::Error, "Error merging nodes!", addSecondOrderTriangle},
    {"MergeByElementsOfASecondOrderElement",
     [](const TempDirectory&) {
         return count(Master().MergeByElements({1, 6}, 0.001, solverTypes, false), "transaction(s)");
     },
     "0 transaction(s)", LogLevel::Error, "MergeByElements failed", addSecondOrderTriangle},
    {"CutAnUnknownElementWithAFreeNode", [](const TempDirectory&) { return paste({4}, {3, 99}, true); },
     "component -1", LogLevel::Error, kPasteError},
    {"CopyASecondOrderTriangle", [](const TempDirectory&) { return paste({}, {3, 6}, false); }, "component -1",
     LogLevel::Error, kPasteError, addSecondOrderTriangle},
    {"CopyAnUnknownFreeNode", [](const TempDirectory&) { return paste({99}, {3}, false); }, "component -1",
     LogLevel::Error, kPasteError},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Editing, BadInput, ::testing::ValuesIn(kEditingCases), RowName());

}  // namespace TarnelTest

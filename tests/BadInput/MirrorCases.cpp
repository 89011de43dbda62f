// Planes, translations and element shapes that mirror and translate refuse.

#include <functional>

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

// What `call` answered, followed by every record logged with an exception
// (message and exception text): the operations swallow what they refuse.
std::string withLoggedExceptions(const std::function<std::string()>& call)
{
    std::string logged;
    Log::Sink previous;
    previous = Log::SetSink([&](const LogRecord& record) {
        if (record.hasException) logged += "; " + record.message + " (" + record.exceptionText + ")";
        if (previous) previous(record);
    });
    const std::string answer = call();
    Log::SetSink(previous);
    return answer + logged;
}

std::string mirrorNodes(std::vector<float> point, std::vector<float> normal)
{
    return withLoggedExceptions([&] {
        return std::to_string(master().MirrorNodes({1, 2}, point, normal, solverTypes, false).size()) + " nodes";
    });
}

std::string mirrorElements(std::vector<int> ids, std::vector<float> point, std::vector<float> normal)
{
    return withLoggedExceptions([&] {
        return std::to_string(master().MirrorElements(1, ids, point, normal, solverTypes, false).size()) +
               " transactions";
    });
}

std::string translateNodes(std::vector<int> ids, std::vector<float> translation)
{
    return withLoggedExceptions([&] {
        return std::to_string(master().TranslateNodes(ids, translation, solverTypes, false).size()) +
               " transactions";
    });
}

// Element 6: a 6-node triangle on nodes 1, 2, 3 and the new nodes 5, 6, 7.
void addSecondOrderTriangle(const TempDirectory&)
{
    std::vector<XYZ> midNodes{XYZ(0.5, 0, 0), XYZ(0.5, 0.5, 0), XYZ(0, 0.5, 0)};
    master().AddNodes(midNodes, false);
    master().AddElements(1, {TRIANGLE_6NODE}, {}, {}, {ElementData{{1, 2, 3, 5, 6, 7}, {2}}}, {}, ElementAttributes(),
                         false);
}

const std::string kMirrorFailed = "; Error mirroring nodes! (";
const std::string kTranslateFailed = "; Error merging nodes! (";
const std::string kPointSize = "MirrorNodes: planePoint must contain exactly 3 values.";
const std::string kNormalSize = "MirrorNodes: planeNormal must contain exactly 3 values.";
const std::string kZeroNormal = "MirrorNodes: plane normal must be non-zero.";

const BadInputCase kMirrorCases[] = {
    {"MirrorNodesAcrossATwoValuePlanePointAndNormal",
     [](const TempDirectory&) { return mirrorNodes({0, 0}, {0, 1}); }, "0 nodes" + kMirrorFailed + kPointSize + ")",
     LogLevel::Error, kPointSize},
    {"MirrorElementsAcrossAFourValueNormal",
     [](const TempDirectory&) { return mirrorElements({3}, {0, 0, 0}, {0, 0, 1, 0}); },
     "0 transactions" + kMirrorFailed + kNormalSize + ")", LogLevel::Error, kNormalSize},
    {"MirrorNodesAcrossANearlyZeroNormal", [](const TempDirectory&) { return mirrorNodes({0, 0, 0}, {0, 0, 1e-13f}); },
     "0 nodes" + kMirrorFailed + kZeroNormal + ")", LogLevel::Error, kZeroNormal},
    {"MirrorElementsAcrossAZeroNormal",
     [](const TempDirectory&) { return mirrorElements({3}, {0, 0, 0}, {0, 0, 0}); },
     "0 transactions" + kMirrorFailed + kZeroNormal + ")", LogLevel::Error, kZeroNormal},
    {"MirrorASecondOrderTriangle",
     [](const TempDirectory&) { return mirrorElements({3, 6}, {0, 0, 0}, {1, 0, 0}); },
     "0 transactions" + kMirrorFailed + "MirrorElements: Invalid element shape.)", LogLevel::Error,
     "Error mirroring nodes!", addSecondOrderTriangle},
    {"TranslateANodeOfASecondOrderTriangle", [](const TempDirectory&) { return translateNodes({1}, {1, 0, 0}); },
     "0 transactions" + kTranslateFailed + "TranslateNodes: Invalid element shape.)", LogLevel::Error,
     "Error merging nodes!", addSecondOrderTriangle},
    {"TranslateByTwoValues", [](const TempDirectory&) { return translateNodes({1}, {1, 0}); },
     "0 transactions" + kTranslateFailed + "TranslateNodes: translation must contain 3 values.)", LogLevel::Error,
     "TranslateNodes: translation must contain 3 values."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Mirror, BadInput, ::testing::ValuesIn(kMirrorCases), BadInputName());

}  // namespace TarnelTest

// Bad input that reaches gmsh through the adapter: node and element tags
// outside 1 to 2147483647, which gmsh 4.8 would index its caches with.

#include <climits>
#include <functional>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Log.h"

using namespace Tarnel;

namespace TarnelTest {
namespace {

MasterMesh& master()
{
    return MasterMesh::getInstance();
}

// The answer of `feed`, followed by the text of the exception that it logged
// with its error, so that a row asserts the adapter's message exactly.
std::string withLoggedException(const std::function<std::string()>& feed)
{
    std::string exceptionText;
    Log::Sink previous;
    previous = Log::SetSink([&](const LogRecord& record) {
        if (record.hasException) exceptionText = record.exceptionText;
        if (previous) previous(record);
    });
    const std::string answer = feed();
    Log::SetSink(previous);
    return answer + " | " + exceptionText;
}

std::string describe(const Node& node)
{
    return node.isValid ? "node " + std::to_string(node.id) : "invalid node";
}

std::string describe(const Element& element)
{
    return "element " + std::to_string(element.id) + " shape " + std::to_string(element.shape);
}

const BadInputCase kTagCases[] = {
    {"NodeOfNegativeId",
     [](const TempDirectory&) { return withLoggedException([] { return describe(master().GetNodeDefinition(-1)); }); },
     "invalid node | Node tag -1 is out of range (1 to 2147483647)", LogLevel::Error,
     "Failed to retrieve node position for ID = -1"},
    {"NodeOfIdZero",
     [](const TempDirectory&) { return withLoggedException([] { return describe(master().GetNodeDefinition(0)); }); },
     "invalid node | Node tag 0 is out of range (1 to 2147483647)", LogLevel::Error,
     "Failed to retrieve node position for ID = 0"},
    // The lookup of a plain mesh, which asks gmsh (the master mesh's own
    // answers from its element table).
    {"PlainMeshElementOfSmallestInt",
     [](const TempDirectory&) {
         return withLoggedException([] { return describe(master().Mesh::GetElementDefinition(INT_MIN)); });
     },
     "element 0 shape 0 | Element tag -2147483648 is out of range (1 to 2147483647)", LogLevel::Error,
     "Failed to retrieve element definition for ID = -2147483648"},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Tags, BadInput, ::testing::ValuesIn(kTagCases), BadInputName());

}  // namespace TarnelTest

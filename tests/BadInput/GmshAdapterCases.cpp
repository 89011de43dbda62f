// Bad input that reaches gmsh through the adapter: node and element tags
// outside 1 to 2147483647, which gmsh 4.8 would index its caches with, in
// calls and in ".msh" files.

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <unordered_set>
#include <vector>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Entities/Mesh.h"
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

// The answer with the export directory written "<dir>", so that a row can
// state it.
std::string inDirectory(std::string answer, const TempDirectory& directory)
{
    for (std::size_t at = answer.find(directory.Path()); at != std::string::npos; at = answer.find(directory.Path()))
        answer.replace(at, directory.Path().size(), "<dir>");
    return answer;
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

// ---------------------------------------------------------------- files

// Four nodes and the triangles (1, 2, 3) and (2, 4, 3), with tags to spoil.
struct Triangles {
    std::vector<std::int64_t> nodeTags{1, 2, 3, 4};
    std::vector<std::int64_t> elementTags{1, 2};
    std::vector<std::int64_t> elementNodes{1, 2, 3, 2, 4, 3};
};

std::string numbers(const std::vector<std::int64_t>& values, std::size_t first, std::size_t count)
{
    std::string text;
    for (std::size_t i = first; i < first + count; ++i) text += std::to_string(values[i]) + " ";
    return text;
}

const char* const kCoordinates[] = {"0 0 0", "1 0 0", "0 1 0", "1 1 0"};

std::string msh41Ascii(const Triangles& mesh)
{
    std::string text = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n$Nodes\n1 4 1 4\n2 1 0 4\n";
    for (std::int64_t tag : mesh.nodeTags) text += std::to_string(tag) + "\n";
    for (const char* coordinates : kCoordinates) text += std::string(coordinates) + "\n";
    text += "$EndNodes\n$Elements\n1 2 1 2\n2 1 2 2\n";
    for (std::size_t k = 0; k < 2; ++k)
        text += std::to_string(mesh.elementTags[k]) + " " + numbers(mesh.elementNodes, 3 * k, 3) + "\n";
    return text + "$EndElements\n";
}

std::string msh22Ascii(const Triangles& mesh)
{
    std::string text = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Nodes\n4\n";
    for (std::size_t i = 0; i < 4; ++i) text += std::to_string(mesh.nodeTags[i]) + " " + kCoordinates[i] + "\n";
    text += "$EndNodes\n$Elements\n2\n";
    for (std::size_t k = 0; k < 2; ++k)
        text += std::to_string(mesh.elementTags[k]) + " 2 2 0 1 " + numbers(mesh.elementNodes, 3 * k, 3) + "\n";
    return text + "$EndElements\n";
}

// Binary files as gmsh 4.8 writes them (little endian): the format line, the
// int 1 that tells the byte order, then the sections.
class Bytes {
public:
    Bytes& text(const std::string& value)
    {
        content += value;
        return *this;
    }
    Bytes& int32(std::int32_t value) { return raw(value); }
    Bytes& size(std::uint64_t value) { return raw(value); }
    Bytes& real(double value) { return raw(value); }
    const std::string& str() const { return content; }

private:
    template <class Value>
    Bytes& raw(Value value)
    {
        char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        content.append(bytes, sizeof value);
        return *this;
    }

    std::string content;
};

const double kPoints[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};

// MSH 4.1: size_t counts and tags, int entity headers, double coordinates.
std::string msh41Binary(const Triangles& mesh)
{
    Bytes bytes;
    bytes.text("$MeshFormat\n4.1 1 8\n").int32(1).text("\n$EndMeshFormat\n$Nodes\n");
    bytes.size(1).size(4).size(1).size(4).int32(2).int32(1).int32(0).size(4);
    for (std::int64_t tag : mesh.nodeTags) bytes.size(static_cast<std::uint64_t>(tag));
    for (const auto& point : kPoints) bytes.real(point[0]).real(point[1]).real(point[2]);
    bytes.text("\n$EndNodes\n$Elements\n").size(1).size(2).size(1).size(2).int32(2).int32(1).int32(2).size(2);
    for (std::size_t k = 0; k < 2; ++k) {
        bytes.size(static_cast<std::uint64_t>(mesh.elementTags[k]));
        for (std::size_t n = 3 * k; n < 3 * k + 3; ++n) bytes.size(static_cast<std::uint64_t>(mesh.elementNodes[n]));
    }
    return bytes.text("\n$EndElements\n").str();
}

// MSH 2.2: counts as text lines, int tags, element blocks of "type count
// tagCount" followed by each element's tag, tags (physical, elementary) and
// nodes.
std::string msh22Binary(const Triangles& mesh)
{
    Bytes bytes;
    bytes.text("$MeshFormat\n2.2 1 8\n").int32(1).text("\n$EndMeshFormat\n$Nodes\n4\n");
    for (std::size_t i = 0; i < 4; ++i)
        bytes.int32(static_cast<std::int32_t>(mesh.nodeTags[i])).real(kPoints[i][0]).real(kPoints[i][1]).real(kPoints[i][2]);
    bytes.text("\n$EndNodes\n$Elements\n2\n").int32(2).int32(2).int32(2);
    for (std::size_t k = 0; k < 2; ++k) {
        bytes.int32(static_cast<std::int32_t>(mesh.elementTags[k])).int32(0).int32(1);
        for (std::size_t n = 3 * k; n < 3 * k + 3; ++n) bytes.int32(static_cast<std::int32_t>(mesh.elementNodes[n]));
    }
    return bytes.text("\n$EndElements\n").str();
}

Triangles withNodeTag(std::int64_t tag)
{
    Triangles mesh;
    mesh.nodeTags[0] = tag;
    return mesh;
}

Triangles withElementTag(std::int64_t tag)
{
    Triangles mesh;
    mesh.elementTags[1] = tag;
    return mesh;
}

Triangles withNodeOfElement(std::int64_t tag)
{
    Triangles mesh;
    mesh.elementNodes[5] = tag;
    return mesh;
}

// Loads the file into a mesh of gmsh's unnamed first model, which exists.
std::function<std::string(const TempDirectory&)> load(const std::string& content)
{
    return [content](const TempDirectory& directory) {
        WriteFile(directory.File("bad.msh"), content);
        Mesh mesh;
        mesh.SetFileName("bad");
        return inDirectory(
            withLoggedException([&] { return Answer(mesh.LoadMesh(directory.Path(), MeshFileFormat::MSH)); }),
            directory);
    };
}

std::string refusal(const std::string& reason)
{
    return "false | Unable to read mesh file '<dir>/bad.msh': " + reason;
}

const std::int64_t k2To31 = std::int64_t(1) << 31;
// 2^32 + 1, which 32 bits make 1.
const std::int64_t kWrapsToOne = (std::int64_t(1) << 32) + 1;

const BadInputCase kFileCases[] = {
    {"Msh41AsciiNegativeNodeTag", load(msh41Ascii(withNodeTag(-1))),
     refusal("node tag -1 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh41AsciiElementTagThatWraps", load(msh41Ascii(withElementTag(kWrapsToOne))),
     refusal("element tag 4294967297 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh41BinaryElementTag2To31", load(msh41Binary(withElementTag(k2To31))),
     refusal("element tag 2147483648 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh41BinaryNegativeNodeOfElement", load(msh41Binary(withNodeOfElement(-2000000000))),
     refusal("node tag -2000000000 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh41BinaryElementTagTwice", load(msh41Binary(withElementTag(1))),
     refusal("element tag 1 is used more than once"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh22AsciiElementTag2To31", load(msh22Ascii(withElementTag(k2To31))),
     refusal("element tag 2147483648 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh22AsciiNodeOfElementThatWraps", load(msh22Ascii(withNodeOfElement(kWrapsToOne))),
     refusal("node tag 4294967297 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh22AsciiElementTagTwice", load(msh22Ascii(withElementTag(1))),
     refusal("element tag 1 is used more than once"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh22BinaryNegativeElementTag", load(msh22Binary(withElementTag(INT_MIN))),
     refusal("element tag -2147483648 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
    {"Msh22BinaryNodeTagZero", load(msh22Binary(withNodeTag(0))),
     refusal("node tag 0 is out of range (1 to 2147483647)"), LogLevel::Error, "Failed to load mesh!"},
};

// ---------------------------------------------------------------- exports

// Exports the master mesh to Abaqus input while it holds a 14-node pyramid
// (on the master mesh's nodes, in component 2), which is deleted again
// afterwards.
std::string exportWith14NodePyramid(const TempDirectory& directory)
{
    const std::vector<int> nodes = {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2};
    const MeshTransaction added =
        master().AddElements(2, {PYRAMID_14NODE}, {}, {}, {ElementData{nodes, {1}}}, {},
                             ElementAttributes({1, 1, 1, 0, 0, 0}, 0.0, 0, NOT_SPECIFIED), false);
    std::string answer =
        withLoggedException([] { return Answer(master().ExportMeshFile(MeshFileFormat::INP, -1)); });
    answer += FileExists(directory.File("DefaultMasterMesh.inp")) ? ", file written" : ", no file";
    std::unordered_set<int> orphans;
    master().DeleteElements({added.createdElements.at(0)}, orphans, false);
    return inDirectory(answer, directory);
}

const BadInputCase kExportCases[] = {
    {"AbaqusExportOf14NodePyramid", exportWith14NodePyramid,
     "false | Unable to write Abaqus input file '<dir>/DefaultMasterMesh.inp': Abaqus has no 14-node pyramid "
     "(element 6), no file",
     LogLevel::Error, "Failed to export mesh asset file."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Tags, BadInput, ::testing::ValuesIn(kTagCases), BadInputName());
INSTANTIATE_TEST_SUITE_P(Exports, BadInput, ::testing::ValuesIn(kExportCases), BadInputName());
INSTANTIATE_TEST_SUITE_P(MshFiles, BadInput, ::testing::ValuesIn(kFileCases), BadInputName());

}  // namespace TarnelTest

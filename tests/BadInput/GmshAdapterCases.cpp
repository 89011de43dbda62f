// Bad input that reaches gmsh through the adapter: node and element tags
// outside 1 to 2147483647, which gmsh 4.8 would index its caches with, in
// calls and in ".msh" files.

#include <climits>
#include <cstdint>
#include <functional>
#include <initializer_list>
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

// Four nodes and the triangles (1, 2, 3) and (2, 4, 3), with tags to spoil;
// MSH 4.1 headers give the largest element tag. A row lists the tags up to
// the one it spoils.
struct Triangles {
    std::vector<std::int64_t> nodeTags{1, 2, 3, 4};
    std::vector<std::int64_t> elementTags{1, 2};
    std::vector<std::int64_t> elementNodes{1, 2, 3, 2, 4, 3};
    std::int64_t largestElementTag = 2;
};

const double kPoints[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
const char* const kCoordinates[] = {"0 0 0\n", "1 0 0\n", "0 1 0\n", "1 1 0\n"};

std::string text(std::int64_t value)
{
    return std::to_string(value) + " ";
}

std::string msh41Ascii(const Triangles& mesh)
{
    std::string file = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n$Nodes\n1 4 1 4\n2 1 0 4\n";
    for (std::int64_t tag : mesh.nodeTags) file += text(tag) + "\n";
    for (const char* coordinates : kCoordinates) file += coordinates;
    file += "$EndNodes\n$Elements\n1 2 1 " + text(mesh.largestElementTag) + "\n2 1 2 2\n";
    for (std::size_t k = 0; k < 2; ++k) {
        file += text(mesh.elementTags[k]);
        for (std::size_t n = 3 * k; n < 3 * k + 3; ++n) file += text(mesh.elementNodes[n]);
        file += "\n";
    }
    return file + "$EndElements\n";
}

std::string msh22Ascii(const Triangles& mesh)
{
    std::string file = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Nodes\n4\n";
    for (std::size_t i = 0; i < 4; ++i)
        file += text(mesh.nodeTags[i]) + kCoordinates[i];
    file += "$EndNodes\n$Elements\n2\n";
    for (std::size_t k = 0; k < 2; ++k) {
        file += text(mesh.elementTags[k]) + "2 2 0 1 ";
        for (std::size_t n = 3 * k; n < 3 * k + 3; ++n) file += text(mesh.elementNodes[n]);
        file += "\n";
    }
    return file + "$EndElements\n";
}

// Binary files as gmsh 4.8 writes them (little endian): the format line, the
// int 1 that tells the byte order, then the sections.
template <class Value>
void put(std::string& file, std::initializer_list<Value> values)
{
    for (Value value : values) file.append(reinterpret_cast<const char*>(&value), sizeof value);
}

using Size = std::uint64_t;

// MSH 4.1: size_t counts and tags, int entity headers, double coordinates.
std::string msh41Binary(const Triangles& mesh)
{
    std::string file = "$MeshFormat\n4.1 1 8\n";
    put<std::int32_t>(file, {1});
    file += "\n$EndMeshFormat\n$Nodes\n";
    put<Size>(file, {1, 4, 1, 4});
    put<std::int32_t>(file, {2, 1, 0});
    put<Size>(file, {4});
    for (std::int64_t tag : mesh.nodeTags) put<Size>(file, {Size(tag)});
    for (const auto& point : kPoints) put<double>(file, {point[0], point[1], point[2]});
    file += "\n$EndNodes\n$Elements\n";
    put<Size>(file, {1, 2, 1, Size(mesh.largestElementTag)});
    put<std::int32_t>(file, {2, 1, 2});
    put<Size>(file, {2});
    for (std::size_t k = 0; k < 2; ++k)
        put<Size>(file, {Size(mesh.elementTags[k]), Size(mesh.elementNodes[3 * k]), Size(mesh.elementNodes[3 * k + 1]),
                         Size(mesh.elementNodes[3 * k + 2])});
    return file + "\n$EndElements\n";
}

// MSH 2.2: counts as text lines, int tags, element blocks of "type count
// tagCount" followed by each element's tag, tags (physical, elementary) and
// nodes.
std::string msh22Binary(const Triangles& mesh)
{
    std::string file = "$MeshFormat\n2.2 1 8\n";
    put<std::int32_t>(file, {1});
    file += "\n$EndMeshFormat\n$Nodes\n4\n";
    for (std::size_t i = 0; i < 4; ++i) {
        put<std::int32_t>(file, {std::int32_t(mesh.nodeTags[i])});
        put<double>(file, {kPoints[i][0], kPoints[i][1], kPoints[i][2]});
    }
    file += "\n$EndNodes\n$Elements\n2\n";
    put<std::int32_t>(file, {2, 2, 2});
    for (std::size_t k = 0; k < 2; ++k)
        put<std::int32_t>(file, {std::int32_t(mesh.elementTags[k]), 0, 1, std::int32_t(mesh.elementNodes[3 * k]),
                                 std::int32_t(mesh.elementNodes[3 * k + 1]), std::int32_t(mesh.elementNodes[3 * k + 2])});
    return file + "\n$EndElements\n";
}

// Loads the file into a mesh of gmsh's unnamed first model, which exists.
std::function<std::string(const TempDirectory&)> load(const std::string& content,
                                                      MeshFileFormat format = MeshFileFormat::MSH)
{
    return [content, format](const TempDirectory& directory) {
        WriteFile(directory.File("bad" + GetMeshFileExtension(format)), content);
        Mesh mesh;
        mesh.SetFileName("bad");
        return withLoggedException([&] { return Answer(mesh.LoadMesh(directory.Path(), format)); });
    };
}

BadInputCase mshCase(const std::string& name, const std::string& content, const std::string& reason)
{
    return {name, load(content), "false | Unable to read mesh file '{dir}/bad.msh': " + reason, LogLevel::Error,
            "Failed to load mesh!"};
}

const std::int64_t k2To31 = std::int64_t(1) << 31;
// 2^32 + 1, which 32 bits make 1.
const std::int64_t kWrapsToOne = (std::int64_t(1) << 32) + 1;
const std::vector<std::int64_t> kNodeTags{1, 2, 3, 4};

const BadInputCase kFileCases[] = {
    mshCase("Msh41AsciiNegativeNodeTag", msh41Ascii({{-1, 2, 3, 4}}), "node tag -1 is out of range (1 to 2147483647)"),
    mshCase("Msh41AsciiElementTagThatWraps", msh41Ascii({kNodeTags, {1, kWrapsToOne}}),
            "element tag 4294967297 is out of range (1 to 2147483647)"),
    mshCase("Msh41AsciiLargestElementTagOfHeader", msh41Ascii({kNodeTags, {1, 2}, {1, 2, 3, 2, 4, 3}, k2To31}),
            "element tag 2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh41BinaryElementTag2To31", msh41Binary({kNodeTags, {1, k2To31}}),
            "element tag 2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh41BinaryNegativeNodeOfElement", msh41Binary({kNodeTags, {1, 2}, {1, 2, 3, 2, 4, -2000000000}}),
            "node tag -2000000000 is out of range (1 to 2147483647)"),
    mshCase("Msh22AsciiElementTag2To31", msh22Ascii({kNodeTags, {1, k2To31}}),
            "element tag 2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh22AsciiElementTagTwice", msh22Ascii({kNodeTags, {1, 1}}), "element tag 1 is used more than once"),
    mshCase("Msh22BinaryNegativeElementTag", msh22Binary({kNodeTags, {1, INT_MIN}}),
            "element tag -2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh22BinaryNodeTagZero", msh22Binary({{0, 2, 3, 4}}), "node tag 0 is out of range (1 to 2147483647)"),
    {"MedTextFile", load("not a mesh", MeshFileFormat::MED),
     "false | Unable to read MED file '{dir}/bad.med': it is not a MED file", LogLevel::Error, "Failed to load mesh!"},
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
    return answer;
}

const BadInputCase kExportCases[] = {
    {"AbaqusExportOf14NodePyramid", exportWith14NodePyramid,
     "false | Unable to write Abaqus input file '{dir}/DefaultMasterMesh.inp': Abaqus has no 14-node pyramid "
     "(element 6), no file",
     LogLevel::Error, "Failed to export mesh asset file."},
    {"ExportOfNoFormat",
     [](const TempDirectory&) {
         return withLoggedException([] { return Answer(master().ExportMeshFile(MeshFileFormat::NONE, -1)); });
     },
     "false | Unsupported mesh file format extension!", LogLevel::Error, "Failed to export mesh asset file."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Tags, BadInput, ::testing::ValuesIn(kTagCases), BadInputName());
INSTANTIATE_TEST_SUITE_P(Exports, BadInput, ::testing::ValuesIn(kExportCases), BadInputName());
INSTANTIATE_TEST_SUITE_P(MshFiles, BadInput, ::testing::ValuesIn(kFileCases), BadInputName());

}  // namespace TarnelTest

// Bad input that reaches gmsh through the adapter: node and element tags
// outside 1 to 2147483647, which gmsh 4.8 would index its caches with, in
// ".msh" files, and exports gmsh cannot write.

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <unordered_set>
#include <vector>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Entities/Mesh.h"

using namespace Tarnel;

namespace TarnelTest {
namespace {

// Four nodes and the triangles (1, 2, 3) and (2, 4, 3), with tags to spoil;
// MSH 4.1 headers give the largest element tag. A row lists the tags up to
// the one it spoils.
struct Triangles {
    std::vector<std::int64_t> nodeTags{1, 2, 3, 4};
    std::vector<std::int64_t> elementTags{1, 2};
    std::vector<std::int64_t> elementNodes{1, 2, 3, 2, 4, 3};
    std::int64_t largestElementTag = 2;
};

const std::int64_t kPoints[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};

// A file in text, or in binary as gmsh 4.8 writes it (little endian, the int
// 1 that tells the byte order after the format line, a line feed after the
// data of a section): the same numbers, in binary each of the type gmsh
// reads there, in text one line per call.
class MshFile {
public:
    MshFile(const std::string& version, bool binary)
        : binary(binary), content("$MeshFormat\n" + version + (binary ? " 1 8\n" : " 0 8\n"))
    {
        if (binary) put<std::int32_t>({1});
    }

    template <class Value>
    MshFile& put(std::initializer_list<std::int64_t> numbers)
    {
        for (std::int64_t number : numbers) {
            const Value value = static_cast<Value>(number);
            if (binary) content.append(reinterpret_cast<const char*>(&value), sizeof value);
            if (!binary) content += std::to_string(number) + " ";
        }
        if (!binary) content += "\n";
        return *this;
    }

    MshFile& section(const std::string& lines)
    {
        content += (binary ? "\n" : "") + lines;
        return *this;
    }

    bool binary;
    std::string content;
};

using Size = std::uint64_t;

// MSH 4.1: size_t counts and tags, int entity headers, double coordinates.
std::string msh41(bool binary, const Triangles& mesh)
{
    MshFile file("4.1", binary);
    file.section("$EndMeshFormat\n$Nodes\n").put<Size>({1, 4, 1, 4}).put<std::int32_t>({2, 1, 0}).put<Size>({4});
    for (std::int64_t tag : mesh.nodeTags) file.put<Size>({tag});
    for (const auto& point : kPoints) file.put<double>({point[0], point[1], point[2]});
    file.section("$EndNodes\n$Elements\n").put<Size>({1, 2, 1, mesh.largestElementTag});
    file.put<std::int32_t>({2, 1, 2}).put<Size>({2});
    for (std::size_t k = 0; k < 2; ++k)
        file.put<Size>({mesh.elementTags[k], mesh.elementNodes[3 * k], mesh.elementNodes[3 * k + 1], mesh.elementNodes[3 * k + 2]});
    return file.section("$EndElements\n").content;
}

// MSH 2.2: counts as text lines, int tags; an element is its tag, type, tag
// count, tags (physical, elementary) and nodes, where binary gives the type
// and tag count once for a block of elements.
std::string msh22(bool binary, const Triangles& mesh)
{
    MshFile file("2.2", binary);
    file.section("$EndMeshFormat\n$Nodes\n4\n");
    for (std::size_t i = 0; i < 4; ++i)
        file.put<std::int32_t>({mesh.nodeTags[i]}).put<double>({kPoints[i][0], kPoints[i][1], kPoints[i][2]});
    file.section("$EndNodes\n$Elements\n2\n");
    if (binary) file.put<std::int32_t>({2, 2, 2});
    for (std::size_t k = 0; k < 2; ++k) {
        file.put<std::int32_t>({mesh.elementTags[k]});
        if (!binary) file.put<std::int32_t>({2, 2});
        file.put<std::int32_t>({0, 1, mesh.elementNodes[3 * k], mesh.elementNodes[3 * k + 1], mesh.elementNodes[3 * k + 2]});
    }
    return file.section("$EndElements\n").content;
}

// Loads the file into a mesh of gmsh's unnamed first model, which exists.
BadInputCase mshCase(const std::string& name, const std::string& content, const std::string& reason)
{
    const auto load = [content](const TempDirectory& directory) {
        WriteFile(directory.File("bad.msh"), content);
        Mesh mesh;
        mesh.SetFileName("bad");
        return WithLoggedExceptions([&] { return Answer(mesh.LoadMesh(directory.Path(), MeshFileFormat::MSH)); });
    };
    return {name, load, "false; Failed to load mesh! (Unable to read mesh file '{dir}/bad.msh': " + reason + ")",
            LogLevel::Error, "Failed to load mesh!"};
}

// Exports the master mesh to Abaqus input while it holds a 14-node pyramid
// (on the master mesh's nodes, in component 2), which is deleted again
// afterwards.
std::string exportWith14NodePyramid(const TempDirectory& directory)
{
    const std::vector<int> nodes = {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2};
    const MeshTransaction added =
        Master().AddElements(2, {PYRAMID_14NODE}, {}, {}, {ElementData{nodes, {1}}}, {},
                             ElementAttributes({1, 1, 1, 0, 0, 0}, 0.0, 0, NOT_SPECIFIED), false);
    std::string answer =
        WithLoggedExceptions([] { return Answer(Master().ExportMeshFile(MeshFileFormat::INP, -1)); });
    answer += FileExists(directory.File("DefaultMasterMesh.inp")) ? ", file written" : ", no file";
    std::unordered_set<int> orphans;
    Master().DeleteElements({added.createdElements.at(0)}, orphans, false);
    return answer;
}

const std::int64_t k2To31 = std::int64_t(1) << 31;
// 2^32 + 1, which 32 bits make 1.
const std::int64_t kWrapsToOne = (std::int64_t(1) << 32) + 1;
const std::vector<std::int64_t> kNodeTags{1, 2, 3, 4};
const bool kText = false, kBinary = true;

const BadInputCase kCases[] = {
    mshCase("Msh41AsciiNegativeNodeTag", msh41(kText, {{-1, 2, 3, 4}}), "node tag -1 is out of range (1 to 2147483647)"),
    mshCase("Msh41AsciiElementTagThatWraps", msh41(kText, {kNodeTags, {1, kWrapsToOne}}),
            "element tag 4294967297 is out of range (1 to 2147483647)"),
    mshCase("Msh41AsciiLargestElementTagOfHeader", msh41(kText, {kNodeTags, {1, 2}, {1, 2, 3, 2, 4, 3}, k2To31}),
            "element tag 2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh41BinaryElementTag2To31", msh41(kBinary, {kNodeTags, {1, k2To31}}),
            "element tag 2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh41BinaryNegativeNodeOfElement", msh41(kBinary, {kNodeTags, {1, 2}, {1, 2, 3, 2, 4, -2000000000}}),
            "node tag -2000000000 is out of range (1 to 2147483647)"),
    mshCase("Msh22AsciiElementTag2To31", msh22(kText, {kNodeTags, {1, k2To31}}),
            "element tag 2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh22AsciiElementTagTwice", msh22(kText, {kNodeTags, {1, 1}}), "element tag 1 is used more than once"),
    mshCase("Msh22BinaryNegativeElementTag", msh22(kBinary, {kNodeTags, {1, INT_MIN}}),
            "element tag -2147483648 is out of range (1 to 2147483647)"),
    mshCase("Msh22BinaryNodeTagZero", msh22(kBinary, {{0, 2, 3, 4}}), "node tag 0 is out of range (1 to 2147483647)"),
    {"AbaqusExportOf14NodePyramid", exportWith14NodePyramid,
     "false; Failed to export mesh asset file. (Unable to write Abaqus input file '{dir}/DefaultMasterMesh.inp': "
     "Abaqus has no 14-node pyramid (element 6)), no file",
     LogLevel::Error, "Failed to export mesh asset file."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(GmshAdapter, BadInput, ::testing::ValuesIn(kCases), RowName());

}  // namespace TarnelTest

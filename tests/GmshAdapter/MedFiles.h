#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

// MED files read and written with the MED file library directly, as another
// program sees and makes them.
namespace TarnelTest {

// One mesh of a MED file. Connectivity entry p refers to nodes[p - 1];
// numbers and families are left out of a file when empty, and numbers are
// not read back.
struct MedFileMesh {
    struct Cells {
        std::size_t nodesPerElement = 0;
        std::vector<int> connectivity;
        std::vector<int> numbers;
        std::vector<int> families;
    };

    std::string name;
    std::vector<std::array<double, 3>> nodes;
    std::vector<int> nodeNumbers;
    std::vector<int> nodeFamilies;
    // By MED geometry type (MED_TETRA4, ...).
    std::map<int, Cells> cells;
    // The groups of each family number.
    std::map<int, std::vector<std::string>> familyGroups;
    // The number of meshes of the file read.
    int meshCount = 0;

    // The node positions of element k of a geometry type.
    std::vector<std::array<double, 3>> ElementNodes(int geometryType, std::size_t k) const;
};

// The first mesh of a MED file.
MedFileMesh ReadMedFile(const std::string& path);

// Writes the meshes as a MED 3 file.
void WriteMedFile(const std::string& path, const std::vector<MedFileMesh>& meshes);

// The mesh "bracket" of another MED writer, followed in its file by a second
// mesh that readers skip: a unit cube (MED_HEXA8) with a pyramid on its top
// (MED_PYRA5) and a tetrahedron against its side x = 1 (MED_TETRA4), two
// triangles on its bottom, two unnumbered lines along its bottom edges and
// one point, each in MED's node order (bases walked with their normal
// pointing out of the element). Node numbers are 101 + 3 * (position - 1).
void WriteBracket(const std::string& path);

}  // namespace TarnelTest

#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

// MED files read and written with the MED file library directly, as another
// program sees and makes them.
namespace TarnelTest {

// The first mesh of a MED file as the MED library gives it.
struct MedFileContent {
    // The elements of one MED geometry type.
    struct Cells {
        std::size_t nodesPerElement = 0;
        // Node positions (from 1) of each element in turn, in MED's order.
        std::vector<int> connectivity;
        std::vector<int> numbers;
        std::vector<int> families;
    };

    std::string meshName;
    int meshCount = 0;
    // By position: connectivity entry p is nodes[p - 1].
    std::vector<std::array<double, 3>> nodes;
    std::vector<int> nodeNumbers;
    std::vector<int> nodeFamilies;
    // By MED geometry type (MED_TETRA4, ...).
    std::map<int, Cells> cells;
    std::map<int, std::vector<std::string>> familyGroups;

    // The node positions of element k of a geometry type.
    std::vector<std::array<double, 3>> ElementNodes(int geometryType, std::size_t k) const;
};

MedFileContent ReadMedFile(const std::string& path);

// The mesh "bracket" of another MED writer: a unit cube (MED_HEXA8) with a
// pyramid on its top (MED_PYRA5) and a tetrahedron against its side x = 1
// (MED_TETRA4), two triangles on its bottom (MED_TRIA3), two unnumbered
// lines along its bottom edges (MED_SEG2) and one point (MED_POINT1), each
// in MED's node order. Node numbers are 101 + 3 * (position - 1); element
// numbers 7001 (hexahedron), 7002 (pyramid), 7003 (tetrahedron), 501 and 502
// (triangles), 9 (point). Families: nodes 101 and 104 in family 4 ("Anchor"),
// the point in -11 ("Anchor"), hexahedron and pyramid in -2 ("Solid"), the
// tetrahedron in -5 ("Solid", "Tip"), the triangles in -8 ("Floor"), the
// lines in 0. The coordinates go to MED one axis after the other (MED's
// no-interlace mode).
void WriteOtherWritersMedFile(const std::string& path);

// A MED file of one mesh per name, each holding one element of the given
// geometry type and as many nodes as it needs, numbered `nodeNumbers` when
// given.
void WriteMedFileOfOneElement(const std::string& path, int geometryType, int nodesPerElement,
                              const std::vector<std::string>& meshNames = {"odd"},
                              const std::vector<int>& nodeNumbers = {});

}  // namespace TarnelTest

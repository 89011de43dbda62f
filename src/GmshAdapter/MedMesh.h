#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// MED files (".med") for a linked gmsh built without MED support, in two
// halves that meet in a MedMesh: the MED side (MedFile.cpp) moves it between
// memory and the file through the MED file library, and alone knows MED's
// numbering, element types and node orders; the gmsh side (MedModel.cpp)
// moves it between memory and a gmsh model. Shared by the adapter's
// translation units only.
namespace Tarnel::GmshAdapter::med {

// One mesh of a MED file in gmsh's terms: node and element tags, gmsh element
// types and gmsh's node order. Families are MED's: a number per node and per
// element naming the groups it belongs to; 0 names none, node families are
// positive and element families negative.
struct MedMesh {
    // All elements of one gmsh element type.
    struct ElementBlock {
        int elementType = 0;
        std::vector<std::size_t> elementTags;
        // The node tags of each element in turn.
        std::vector<std::size_t> nodeTags;
        std::vector<int> families;
    };

    std::string name;
    std::vector<std::size_t> nodeTags;
    // x, y and z of each node in turn.
    std::vector<double> coordinates;
    std::vector<int> nodeFamilies;
    // In ascending element type.
    std::vector<ElementBlock> elementBlocks;
    std::map<int, std::vector<std::string>> familyGroups;
};

// Whether the path ends in ".med", in any letter case.
bool isMedFileName(const std::string& fileName);

// The file name without its directory and its last extension, as gmsh names
// the model of a file it opens.
std::string baseName(const std::string& fileName);

// The first mesh of the file. Fails (through `fail`) for a missing, damaged
// or foreign file and for element types that are not shapes of this system.
MedMesh readMedFile(const std::string& fileName);

// Writes the mesh as the file's only mesh, replacing the file. Nothing is
// left behind when it fails.
void writeMedFile(const std::string& fileName, const MedMesh& mesh);

// The current model as `write` saves it, following "Mesh.SaveAll".
MedMesh currentModelAsMedMesh(const std::string& fileName);

// Puts the mesh into a model named after the file and makes it current, as
// gmsh's own open does.
void openAsModel(const MedMesh& mesh, const std::string& fileName);

}  // namespace Tarnel::GmshAdapter::med

#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The library's one door to gmsh. It offers the gmsh 4.11 application calls
// that the library uses, with their 4.11 signatures and behaviour, whatever
// gmsh release is linked; no other file of the library includes gmsh's
// headers or knows which release is underneath.
//
// Every call reports failure the same way: a std::runtime_error carrying
// gmsh's last logged error, or "Could not get last error" when none can be
// read.
//
// Where the linked gmsh lacks something of 4.11, the adapter closes the gap:
// - calls it lacks are built on gmsh's own model classes, as 4.11 builds them;
// - options it does not know are skipped (one Debug line per option name);
// - meshing algorithms it lacks or that crash it are replaced by the nearest
//   algorithm it has (one Warn line per algorithm);
// - file formats it cannot read or write completely are completed here, and
//   MED files (".med") are read and written with the MED file library when
//   it was built without it.
namespace Tarnel::GmshAdapter {

using vectorpair = std::vector<std::pair<int, int>>;

// The gmsh release underneath, e.g. "4.8.4".
std::string linkedVersion();

void initialize(int argc = 0, char** argv = nullptr, bool readConfigFiles = true, bool run = false);
int isInitialized();
void finalize();
void open(const std::string& fileName);
void write(const std::string& fileName);

namespace option {
void setNumber(const std::string& name, double value);
void getNumber(const std::string& name, double& value);
void setString(const std::string& name, const std::string& value);
void getString(const std::string& name, std::string& value);
}  // namespace option

namespace logger {
void getLastError(std::string& error);
}  // namespace logger

namespace model {
void add(const std::string& name);
void remove();
void list(std::vector<std::string>& names);
void getCurrent(std::string& name);
void setCurrent(const std::string& name);
void getFileName(std::string& fileName);
void setFileName(const std::string& fileName);
// Renames the current model. Not a gmsh call: gmsh names a model it reads
// from a file after the file, whatever models of that name exist already.
void rename(const std::string& name);
void getEntities(vectorpair& dimTags, int dim = -1);
void removeEntities(const vectorpair& dimTags, bool recursive = false);
void getBoundingBox(int dim, int tag, double& xmin, double& ymin, double& zmin, double& xmax, double& ymax,
                    double& zmax);
int addDiscreteEntity(int dim, int tag = -1, const std::vector<int>& boundary = std::vector<int>());
int isInside(int dim, int tag, const std::vector<double>& coord, bool parametric = false);

void getPhysicalGroups(vectorpair& dimTags, int dim = -1);
void getEntitiesForPhysicalGroup(int dim, int tag, std::vector<int>& tags);
int addPhysicalGroup(int dim, const std::vector<int>& tags, int tag = -1, const std::string& name = "");
void setPhysicalName(int dim, int tag, const std::string& name);
void getPhysicalName(int dim, int tag, std::string& name);

namespace mesh {
void generate(int dim = 3);
void getNodes(std::vector<std::size_t>& nodeTags, std::vector<double>& coord, std::vector<double>& parametricCoord,
              int dim = -1, int tag = -1, bool includeBoundary = false, bool returnParametricCoord = true);
void getNode(std::size_t nodeTag, std::vector<double>& coord, std::vector<double>& parametricCoord, int& dim,
             int& tag);
void addNodes(int dim, int tag, const std::vector<std::size_t>& nodeTags, const std::vector<double>& coord,
              const std::vector<double>& parametricCoord = std::vector<double>());
void getMaxNodeTag(std::size_t& maxTag);

void getElements(std::vector<int>& elementTypes, std::vector<std::vector<std::size_t>>& elementTags,
                 std::vector<std::vector<std::size_t>>& nodeTags, int dim = -1, int tag = -1);
void getElement(std::size_t elementTag, int& elementType, std::vector<std::size_t>& nodeTags, int& dim, int& tag);
void getElementsByType(int elementType, std::vector<std::size_t>& elementTags, std::vector<std::size_t>& nodeTags,
                       int tag = -1, std::size_t task = 0, std::size_t numTasks = 1);
void getElementsByCoordinates(double x, double y, double z, std::vector<std::size_t>& elementTags, int dim = -1,
                              bool strict = false);
void addElements(int dim, int tag, const std::vector<int>& elementTypes,
                 const std::vector<std::vector<std::size_t>>& elementTags,
                 const std::vector<std::vector<std::size_t>>& nodeTags);
void addElementsByType(int tag, int elementType, const std::vector<std::size_t>& elementTags,
                       const std::vector<std::size_t>& nodeTags);
void getMaxElementTag(std::size_t& maxTag);
void getElementQualities(const std::vector<std::size_t>& elementTags, std::vector<double>& elementsQuality,
                         const std::string& qualityName = "minSICN", std::size_t task = 0, std::size_t numTasks = 1);
void setVisibility(const std::vector<std::size_t>& elementTags, int value);

void setTransfiniteCurve(int tag, int numNodes, const std::string& meshType = "Progression", double coef = 1.);
void setTransfiniteSurface(int tag, const std::string& arrangement = "Left",
                           const std::vector<int>& cornerTags = std::vector<int>());
void setRecombine(int dim, int tag, double angle = 45.);
// gmsh 4.8 merges over the whole model only: a non-empty `dimTags` fails
// there with "removeDuplicateNodes on selected entities needs gmsh 4.11".
void removeDuplicateNodes(const vectorpair& dimTags = vectorpair());
}  // namespace mesh

namespace occ {
void importShapes(const std::string& fileName, vectorpair& outDimTags, bool highestDimOnly = true,
                  const std::string& format = "");
void synchronize();
void remove(const vectorpair& dimTags, bool recursive = false);
}  // namespace occ

namespace geo {
int addSurfaceLoop(const std::vector<int>& surfaceTags, int tag = -1, bool sewing = false);
int addVolume(const std::vector<int>& shellTags, int tag = -1);
void synchronize();
}  // namespace geo
}  // namespace model

namespace plugin {
void setNumber(const std::string& name, const std::string& option, double value);
int run(const std::string& name);
}  // namespace plugin

// ---------------------------------------------------------------- model copies

// The mesh of one model held in memory, so that it can be carried across a
// finalisation of gmsh without a file. It holds what the library's records
// refer to: every entity by dimension and tag, the nodes (tags and
// coordinates) and elements (tags, types and node lists) classified on each,
// the physical groups with their tags, names and entities, and the largest
// node and element tags gmsh hands out from. Not copied: geometry (entity
// boundaries, CAD shapes), parametric node coordinates, options.
//
// Invariants: entities are in gmsh's order (by dimension, then tag), so that
// restoring them in order never refers to an entity not yet made; within an
// entity, elementTags[k] and elementNodeTags[k] belong to elementTypes[k] and
// every type appears once; coordinates hold three values per node tag.
struct ModelCopy {
    struct Entity {
        int dim = 0;
        int tag = 0;
        std::vector<std::size_t> nodeTags;
        std::vector<double> coordinates;
        std::vector<int> elementTypes;
        std::vector<std::vector<std::size_t>> elementTags;
        std::vector<std::vector<std::size_t>> elementNodeTags;
    };
    struct PhysicalGroup {
        int dim = 0;
        int tag = 0;
        std::string name;
        std::vector<int> entityTags;
    };

    std::string name;
    std::vector<Entity> entities;
    std::vector<PhysicalGroup> physicalGroups;
    std::size_t maxNodeTag = 0;
    std::size_t maxElementTag = 0;

    std::size_t nodeCount() const;
    std::size_t elementCount() const;
};

bool operator==(const ModelCopy::Entity& a, const ModelCopy::Entity& b);
bool operator==(const ModelCopy::PhysicalGroup& a, const ModelCopy::PhysicalGroup& b);
// Equal when both hold the same mesh in the same order, coordinates bit for bit.
bool operator==(const ModelCopy& a, const ModelCopy& b);
inline bool operator!=(const ModelCopy& a, const ModelCopy& b) { return !(a == b); }

// Copies the model of that name; it is current afterwards.
ModelCopy copyModel(const std::string& name);
// Adds a model of the copy's name holding the copied mesh and makes it
// current. It fails when the session already holds a model of that name.
void restoreModel(const ModelCopy& copy);

}  // namespace Tarnel::GmshAdapter

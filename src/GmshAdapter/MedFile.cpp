// The MED side of MED files: a MedMesh to and from the file, through the MED
// file library. Everything MED-specific is here: numbering by position,
// geometry types, node orders, families.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include <med.h>

#include "GmshAdapter/GmshAdapterInternal.h"
#include "GmshAdapter/MedMesh.h"
#include "Internal/LogMacros.h"

namespace Tarnel::GmshAdapter::med {

namespace {

const std::string kLogSource = "GmshAdapter/MedFile";

constexpr int kPyramid14 = 14;
constexpr char kFamilyZeroName[] = "FAMILLE_ZERO";

// ---------------------------------------------------------------- shapes

// A shape of the system as a MED geometry type.
struct MedShape {
    int gmshType;
    med_geometry_type medType;
    const char* medName;
    // Entry i: where in gmsh's node list MED's node i stands.
    std::vector<int> gmshNodeOfMedNode;
};

// Both libraries number points, lines and faces alike. For volumes, MED
// walks the first face (the base of tetrahedra, pyramids and prisms, the
// bottom of hexahedra) so that its normal points out of the element, gmsh so
// that it points in: the base is walked the other way round, and with it the
// top of prisms and hexahedra. MED then numbers the nodes on edges in its
// edge order (the edges of the base, those of the top, then those joining
// them or running to the apex), the nodes on faces in its face order (base,
// the side faces from the first base edge on, top) and the node inside last.
// gmsh's positions are those of its reference elements.
const std::vector<MedShape>& medShapes()
{
    static const std::vector<MedShape> shapes = {
        {15, MED_POINT1, "MED_POINT1", {0}},
        {1, MED_SEG2, "MED_SEG2", {0, 1}},
        {8, MED_SEG3, "MED_SEG3", {0, 1, 2}},
        {2, MED_TRIA3, "MED_TRIA3", {0, 1, 2}},
        {9, MED_TRIA6, "MED_TRIA6", {0, 1, 2, 3, 4, 5}},
        {3, MED_QUAD4, "MED_QUAD4", {0, 1, 2, 3}},
        {16, MED_QUAD8, "MED_QUAD8", {0, 1, 2, 3, 4, 5, 6, 7}},
        {10, MED_QUAD9, "MED_QUAD9", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {4, MED_TETRA4, "MED_TETRA4", {0, 2, 1, 3}},
        {11, MED_TETRA10, "MED_TETRA10", {0, 2, 1, 3, 6, 5, 4, 7, 8, 9}},
        {5, MED_HEXA8, "MED_HEXA8", {0, 3, 2, 1, 4, 7, 6, 5}},
        {17, MED_HEXA20, "MED_HEXA20", {0, 3, 2, 1, 4, 7, 6, 5, 9, 13, 11, 8, 17, 19, 18, 16, 10, 15, 14, 12}},
        {12,
         MED_HEXA27,
         "MED_HEXA27",
         {0, 3, 2, 1, 4, 7, 6, 5, 9, 13, 11, 8, 17, 19, 18, 16, 10, 15, 14, 12, 20, 22, 24, 23, 21, 25, 26}},
        {6, MED_PENTA6, "MED_PENTA6", {0, 2, 1, 3, 5, 4}},
        {18, MED_PENTA15, "MED_PENTA15", {0, 2, 1, 3, 5, 4, 7, 9, 6, 13, 14, 12, 8, 11, 10}},
        {13, MED_PENTA18, "MED_PENTA18", {0, 2, 1, 3, 5, 4, 7, 9, 6, 13, 14, 12, 8, 11, 10, 16, 17, 15}},
        {7, MED_PYRA5, "MED_PYRA5", {0, 3, 2, 1, 4}},
    };
    return shapes;
}

const MedShape* shapeOfGmshType(int gmshType)
{
    for (const MedShape& shape : medShapes())
        if (shape.gmshType == gmshType) return &shape;
    return nullptr;
}

const MedShape* shapeOfMedType(med_geometry_type medType)
{
    for (const MedShape& shape : medShapes())
        if (shape.medType == medType) return &shape;
    return nullptr;
}

// ---------------------------------------------------------------- MED calls

// The MED file library reports its errors on the standard error stream and
// has no switch to stop it; a library must not write to its host's terminal,
// so the stream points to the null device for the length of each MED call.
class StandardErrorSilenced {
public:
    StandardErrorSilenced() : lock(mutex())
    {
        std::fflush(stderr);
        saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
        if (null >= 0) ::close(null);
    }
    ~StandardErrorSilenced()
    {
        std::fflush(stderr);
        if (saved < 0) return;
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    StandardErrorSilenced(const StandardErrorSilenced&) = delete;
    StandardErrorSilenced& operator=(const StandardErrorSilenced&) = delete;

private:
    static std::mutex& mutex()
    {
        static std::mutex instance;
        return instance;
    }

    std::lock_guard<std::mutex> lock;
    int saved = -1;
};

template <class Function>
auto quietly(Function&& function) -> decltype(function())
{
    StandardErrorSilenced silenced;
    return std::forward<Function>(function)();
}

// An open MED file, closed when the object goes.
class MedFileHandle {
public:
    MedFileHandle(const std::string& fileName, med_access_mode mode)
        : id(quietly([&] { return MEDfileOpen(fileName.c_str(), mode); }))
    {
    }
    ~MedFileHandle() { close(); }
    MedFileHandle(const MedFileHandle&) = delete;
    MedFileHandle& operator=(const MedFileHandle&) = delete;

    bool isOpen() const { return id >= 0; }
    med_idt get() const { return id; }

    // Whether the file was closed cleanly, everything written to it flushed.
    bool close()
    {
        if (id < 0) return true;
        const med_err result = quietly([&] { return MEDfileClose(id); });
        id = -1;
        return result >= 0;
    }

private:
    med_idt id;
};

// A name of MED's fixed-size text fields, without the padding.
std::string trimmedName(const char* text, std::size_t size)
{
    std::string name(text, strnlen(text, size));
    const std::size_t end = name.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : name.substr(0, end + 1);
}

// ---------------------------------------------------------------- reading

class MedReader {
public:
    // An HDF5 file that MED cannot open: cut short, or of a MED version
    // (before 2.2, after the linked library's) that it cannot read.
    static constexpr const char* kDamagedOrUnknown = "it is damaged or not a MED file of a version this library reads";

    explicit MedReader(const std::string& fileName) : fileName(fileName) {}

    MedMesh read()
    {
        checkIsMedFile();
        MedFileHandle file(fileName, MED_ACC_RDONLY);
        if (!file.isOpen()) failReading(kDamagedOrUnknown);
        fid = file.get();
        MedMesh mesh;
        readMeshInfo(mesh);
        readNodes(mesh);
        readElements(mesh);
        readFamilies(mesh);
        return mesh;
    }

private:
    [[noreturn]] void failReading(const std::string& reason) const
    {
        fail("Unable to read MED file '" + fileName + "': " + reason);
    }

    // A MED call's result, when it did not fail.
    template <class Result>
    Result checked(Result result, const std::string& what) const
    {
        if (result < 0) failReading("it is damaged (reading " + what + " failed)");
        return result;
    }

    std::string meshText() const { return "mesh '" + meshName + "'"; }

    void checkIsMedFile() const
    {
        med_bool isHdf = MED_FALSE;
        med_bool isMed = MED_FALSE;
        const med_err result = quietly([&] { return MEDfileCompatibility(fileName.c_str(), &isHdf, &isMed); });
        if (result < 0 || isHdf != MED_TRUE) failReading("it is not a MED file");
        if (isMed != MED_TRUE) failReading(kDamagedOrUnknown);
    }

    void readMeshInfo(MedMesh& mesh)
    {
        const med_int meshCount = checked(quietly([&] { return MEDnMesh(fid); }), "its meshes");
        if (meshCount == 0) failReading("it holds no mesh");
        const med_int axisCount = checked(quietly([&] { return MEDmeshnAxis(fid, 1); }), "the first mesh");
        char name[MED_NAME_SIZE + 1] = {};
        char description[MED_COMMENT_SIZE + 1] = {};
        char timeUnit[MED_SNAME_SIZE + 1] = {};
        std::vector<char> axisNames(static_cast<std::size_t>(axisCount) * MED_SNAME_SIZE + 1, '\0');
        std::vector<char> axisUnits(axisNames.size(), '\0');
        med_int meshDimension = 0;
        med_int stepCount = 0;
        med_mesh_type meshType = MED_UNDEF_MESH_TYPE;
        med_sorting_type sorting = MED_SORT_UNDEF;
        med_axis_type axisType = MED_UNDEF_AXIS_TYPE;
        checked(quietly([&] {
                    return MEDmeshInfo(fid, 1, name, &spaceDimension, &meshDimension, &meshType, description,
                                       timeUnit, &sorting, &stepCount, &axisType, axisNames.data(),
                                       axisUnits.data());
                }),
                "the first mesh");
        // Used as it stands: the MED calls that follow look the mesh up by it.
        meshName = name;
        mesh.name = meshName;
        if (meshType != MED_UNSTRUCTURED_MESH)
            failReading(meshText() + " is a structured mesh; only unstructured meshes are read");
        if (axisType != MED_CARTESIAN) failReading(meshText() + " has no Cartesian coordinates");
        if (spaceDimension < 1 || spaceDimension > 3)
            failReading(meshText() + " has " + std::to_string(spaceDimension) + " coordinates per node");
        if (meshCount > 1)
            TARNEL_LOG_WARN("MED file '" + fileName + "' holds " + std::to_string(meshCount) +
                                " meshes; only the first, '" + meshName + "', is read.",
                            "Tarnel::GmshAdapter::open");
        if (stepCount > 0) {
            med_float time = 0.0;
            checked(quietly([&] { return MEDmeshComputationStepInfo(fid, name, 1, &step, &iteration, &time); }),
                    "the computation steps of " + meshText());
        }
    }

    med_int entityCount(med_entity_type entity, med_geometry_type geometry, med_data_type data,
                        med_connectivity_mode mode, const std::string& what) const
    {
        med_bool changed = MED_FALSE;
        med_bool transformed = MED_FALSE;
        return checked(quietly([&] {
                           return MEDmeshnEntity(fid, meshName.c_str(), step, iteration, entity, geometry, data, mode,
                                                 &changed, &transformed);
                       }),
                       what);
    }

    // The optional numbers of the entities; empty when the file has none.
    std::vector<med_int> numbers(med_entity_type entity, med_geometry_type geometry, med_int count,
                                 const std::string& what) const
    {
        const med_connectivity_mode mode = entity == MED_NODE ? MED_NO_CMODE : MED_NODAL;
        if (count == 0 || entityCount(entity, geometry, MED_NUMBER, mode, what) == 0) return {};
        std::vector<med_int> values(static_cast<std::size_t>(count));
        checked(quietly([&] {
                    return MEDmeshEntityNumberRd(fid, meshName.c_str(), step, iteration, entity, geometry,
                                                 values.data());
                }),
                what);
        return values;
    }

    // The family numbers of the entities; all 0 when the file has none.
    std::vector<int> families(med_entity_type entity, med_geometry_type geometry, med_int count,
                              const std::string& what) const
    {
        std::vector<med_int> values(static_cast<std::size_t>(count), 0);
        const med_connectivity_mode mode = entity == MED_NODE ? MED_NO_CMODE : MED_NODAL;
        if (count > 0 && entityCount(entity, geometry, MED_FAMILY_NUMBER, mode, what) > 0)
            checked(quietly([&] {
                        return MEDmeshEntityFamilyNumberRd(fid, meshName.c_str(), step, iteration, entity, geometry,
                                                           values.data());
                    }),
                    what);
        return std::vector<int>(values.begin(), values.end());
    }

    void readNodes(MedMesh& mesh)
    {
        const med_int count = entityCount(MED_NODE, MED_NONE, MED_COORDINATE, MED_NO_CMODE, "the nodes");
        const std::size_t size = static_cast<std::size_t>(count);
        std::vector<med_float> read(size * static_cast<std::size_t>(spaceDimension));
        if (count > 0)
            checked(quietly([&] {
                        return MEDmeshNodeCoordinateRd(fid, meshName.c_str(), step, iteration, MED_FULL_INTERLACE,
                                                       read.data());
                    }),
                    "the node coordinates");
        // gmsh places every node in three dimensions.
        mesh.coordinates.assign(3 * size, 0.0);
        const std::size_t dimension = static_cast<std::size_t>(spaceDimension);
        for (std::size_t i = 0; i < size; ++i)
            for (std::size_t d = 0; d < dimension; ++d) mesh.coordinates[3 * i + d] = read[dimension * i + d];

        const std::vector<med_int> nodeNumbers = numbers(MED_NODE, MED_NONE, count, "the node numbers");
        mesh.nodeTags.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            mesh.nodeTags[i] = nodeNumbers.empty() ? i + 1 : positiveNumber(nodeNumbers[i], "node");
        checkUnique(mesh.nodeTags, "node");
        mesh.nodeFamilies = families(MED_NODE, MED_NONE, count, "the node families");
    }

    std::size_t positiveNumber(med_int number, const char* kind) const
    {
        if (number <= 0) failReading(std::string(kind) + " number " + std::to_string(number) + " is not positive");
        return static_cast<std::size_t>(number);
    }

    void checkUnique(const std::vector<std::size_t>& tags, const char* kind) const
    {
        std::unordered_set<std::size_t> seen;
        seen.reserve(tags.size());
        for (std::size_t tag : tags)
            if (!seen.insert(tag).second)
                failReading(std::string(kind) + " number " + std::to_string(tag) + " is used more than once");
    }

    void readElements(MedMesh& mesh)
    {
        checkNoSeparateFacesOrEdges();
        const med_int typeCount =
            entityCount(MED_CELL, MED_GEO_ALL, MED_CONNECTIVITY, MED_NODAL, "the element types");
        for (med_int t = 1; t <= typeCount; ++t) {
            char typeName[MED_NAME_SIZE + 1] = {};
            med_geometry_type medType = MED_NO_GEOTYPE;
            checked(quietly([&] {
                        return MEDmeshEntityInfo(fid, meshName.c_str(), step, iteration, MED_CELL, static_cast<int>(t),
                                                 typeName, &medType);
                    }),
                    "the element types");
            const MedShape* shape = shapeOfMedType(medType);
            if (shape == nullptr)
                failReading(meshText() + " holds " + medTypeName(medType, typeName) +
                            " elements, which are not an element shape of this system");
            readElementBlock(mesh, *shape);
        }
        std::sort(mesh.elementBlocks.begin(), mesh.elementBlocks.end(),
                  [](const MedMesh::ElementBlock& a, const MedMesh::ElementBlock& b) {
                      return a.elementType < b.elementType;
                  });
        numberUnnumberedElements(mesh);
    }

    // MED's name of a geometry type; the library itself knows only short
    // ones ("TR7").
    static std::string medTypeName(med_geometry_type medType, const char* shortName)
    {
        static const std::map<med_geometry_type, const char*> others = {
            {MED_SEG4, "MED_SEG4"},       {MED_TRIA7, "MED_TRIA7"},       {MED_OCTA12, "MED_OCTA12"},
            {MED_PYRA13, "MED_PYRA13"},   {MED_POLYGON, "MED_POLYGON"},   {MED_POLYGON2, "MED_POLYGON2"},
            {MED_POLYHEDRON, "MED_POLYHEDRON"}};
        const auto found = others.find(medType);
        if (found != others.end()) return found->second;
        return "MED geometry type " + std::to_string(medType) + " (" + trimmedName(shortName, MED_NAME_SIZE) + ")";
    }

    // Faces and edges kept as entities of their own belong to descending
    // connectivity, which gmsh has no counterpart for.
    void checkNoSeparateFacesOrEdges() const
    {
        for (med_entity_type entity : {MED_DESCENDING_FACE, MED_DESCENDING_EDGE})
            if (entityCount(entity, MED_GEO_ALL, MED_CONNECTIVITY, MED_NODAL, "the element types") > 0)
                failReading(meshText() + " holds faces or edges as entities of their own; only cells are read");
    }

    // Reads the elements of one type; tag 0 for elements the file does not
    // number.
    void readElementBlock(MedMesh& mesh, const MedShape& shape)
    {
        const std::string what = std::string("the ") + shape.medName + " elements";
        const med_int count = entityCount(MED_CELL, shape.medType, MED_CONNECTIVITY, MED_NODAL, what);
        if (count == 0)
            failReading(meshText() + " gives its " + shape.medName +
                        " elements by descending connectivity; only nodal connectivity is read");
        const std::size_t size = static_cast<std::size_t>(count);
        const std::size_t nodesPerElement = shape.gmshNodeOfMedNode.size();
        std::vector<med_int> connectivity(size * nodesPerElement);
        checked(quietly([&] {
                    return MEDmeshElementConnectivityRd(fid, meshName.c_str(), step, iteration, MED_CELL,
                                                        shape.medType, MED_NODAL, MED_FULL_INTERLACE,
                                                        connectivity.data());
                }),
                what);

        MedMesh::ElementBlock block;
        block.elementType = shape.gmshType;
        block.nodeTags.resize(connectivity.size());
        for (std::size_t k = 0; k < size; ++k) {
            for (std::size_t i = 0; i < nodesPerElement; ++i) {
                const med_int position = connectivity[k * nodesPerElement + i];
                if (position < 1 || static_cast<std::size_t>(position) > mesh.nodeTags.size())
                    failReading(std::string("a ") + shape.medName + " element refers to node " +
                                std::to_string(position) + " of " + std::to_string(mesh.nodeTags.size()));
                const std::size_t gmshPosition = static_cast<std::size_t>(shape.gmshNodeOfMedNode[i]);
                block.nodeTags[k * nodesPerElement + gmshPosition] =
                    mesh.nodeTags[static_cast<std::size_t>(position) - 1];
            }
        }
        const std::vector<med_int> elementNumbers = numbers(MED_CELL, shape.medType, count, what);
        for (med_int number : elementNumbers) block.elementTags.push_back(positiveNumber(number, "element"));
        block.families = families(MED_CELL, shape.medType, count, what);
        if (elementNumbers.empty()) block.elementTags.assign(size, 0);
        mesh.elementBlocks.push_back(std::move(block));
    }

    // Elements the file does not number are numbered after the largest
    // number it gives, in gmsh's type order, as gmsh numbers added elements.
    void numberUnnumberedElements(MedMesh& mesh) const
    {
        std::size_t largest = 0;
        for (const MedMesh::ElementBlock& block : mesh.elementBlocks)
            for (std::size_t tag : block.elementTags) largest = std::max(largest, tag);
        std::vector<std::size_t> all;
        for (MedMesh::ElementBlock& block : mesh.elementBlocks) {
            for (std::size_t& tag : block.elementTags) {
                if (tag != 0) continue;
                // gmsh's tags, as the library's IDs, end where MED's numbers do.
                if (largest >= static_cast<std::size_t>(std::numeric_limits<med_int>::max()))
                    failReading("an element without a number would be numbered beyond " +
                                std::to_string(std::numeric_limits<med_int>::max()));
                tag = ++largest;
            }
            all.insert(all.end(), block.elementTags.begin(), block.elementTags.end());
        }
        checkUnique(all, "element");
    }

    void readFamilies(MedMesh& mesh) const
    {
        const med_int familyCount = checked(quietly([&] { return MEDnFamily(fid, meshName.c_str()); }), "the families");
        for (med_int f = 1; f <= familyCount; ++f) {
            const int index = static_cast<int>(f);
            const med_int groupCount =
                checked(quietly([&] { return MEDnFamilyGroup(fid, meshName.c_str(), index); }), "the families");
            char familyName[MED_NAME_SIZE + 1] = {};
            std::vector<char> groupNames(static_cast<std::size_t>(groupCount) * MED_LNAME_SIZE + 1, '\0');
            med_int number = 0;
            checked(quietly([&] {
                        return MEDfamilyInfo(fid, meshName.c_str(), index, familyName, &number, groupNames.data());
                    }),
                    "the families");
            std::vector<std::string>& groups = mesh.familyGroups[static_cast<int>(number)];
            for (med_int g = 0; g < groupCount; ++g) {
                const std::string group =
                    trimmedName(groupNames.data() + static_cast<std::size_t>(g) * MED_LNAME_SIZE, MED_LNAME_SIZE);
                if (!group.empty()) groups.push_back(group);
            }
        }
    }

    std::string fileName;
    med_idt fid = -1;
    std::string meshName;
    med_int spaceDimension = 0;
    med_int step = MED_NO_DT;
    med_int iteration = MED_NO_IT;
};

// ---------------------------------------------------------------- writing

// A MedMesh in MED's terms: positions for node references, MED's types and
// node orders. Built whole before the file is touched, so that a mesh MED
// cannot hold fails without leaving a file behind.
class MedWriter {
public:
    MedWriter(const std::string& fileName, const MedMesh& mesh) : fileName(fileName), mesh(mesh) {}

    void write()
    {
        prepare();
        MedFileHandle file(fileName, MED_ACC_CREAT);
        if (!file.isOpen()) failWriting("the file cannot be created");
        fid = file.get();
        try {
            writeMesh();
        } catch (...) {
            file.close();
            std::remove(fileName.c_str());
            throw;
        }
        if (!file.close()) {
            std::remove(fileName.c_str());
            failWriting("the file cannot be completed");
        }
    }

private:
    struct Block {
        const MedShape* shape = nullptr;
        std::vector<med_int> connectivity;
        std::vector<med_int> numbers;
        std::vector<med_int> families;
    };

    [[noreturn]] void failWriting(const std::string& reason) const
    {
        fail("Unable to write MED file '" + fileName + "': " + reason);
    }

    void checked(med_err result, const std::string& what) const
    {
        if (result < 0) failWriting("the MED library could not write " + what);
    }

    med_int number(std::size_t tag, const char* kind) const
    {
        if (tag == 0 || tag > static_cast<std::size_t>(std::numeric_limits<med_int>::max()))
            failWriting(std::string(kind) + " tag " + std::to_string(tag) + " is not a MED number (1 to " +
                        std::to_string(std::numeric_limits<med_int>::max()) + ")");
        return static_cast<med_int>(tag);
    }

    void prepare()
    {
        if (mesh.name.empty() || mesh.name.size() > MED_NAME_SIZE)
            failWriting("the mesh name '" + mesh.name + "' is not 1 to " + std::to_string(MED_NAME_SIZE) +
                        " characters long");
        for (const auto& family : mesh.familyGroups)
            for (const std::string& group : family.second)
                if (group.empty() || group.size() > MED_LNAME_SIZE)
                    failWriting("the group name '" + group + "' is not 1 to " + std::to_string(MED_LNAME_SIZE) +
                                " characters long");
        positionOfTag.reserve(mesh.nodeTags.size());
        for (std::size_t i = 0; i < mesh.nodeTags.size(); ++i) {
            nodeNumbers.push_back(number(mesh.nodeTags[i], "node"));
            positionOfTag.emplace(mesh.nodeTags[i], static_cast<med_int>(i + 1));
        }
        for (const MedMesh::ElementBlock& block : mesh.elementBlocks)
            if (!block.elementTags.empty()) blocks.push_back(prepareBlock(block));
    }

    Block prepareBlock(const MedMesh::ElementBlock& source) const
    {
        Block block;
        block.shape = shapeOfGmshType(source.elementType);
        if (source.elementType == kPyramid14)
            failWriting("MED has no 14-node pyramid (element " + std::to_string(source.elementTags.front()) + ")");
        if (block.shape == nullptr)
            failWriting("gmsh element type " + std::to_string(source.elementType) + " (element " +
                        std::to_string(source.elementTags.front()) + ") is not an element shape of this system");
        const std::vector<int>& order = block.shape->gmshNodeOfMedNode;
        const std::size_t nodesPerElement = order.size();
        block.connectivity.resize(source.nodeTags.size());
        for (std::size_t k = 0; k < source.elementTags.size(); ++k) {
            block.numbers.push_back(number(source.elementTags[k], "element"));
            for (std::size_t i = 0; i < nodesPerElement; ++i) {
                const std::size_t tag = source.nodeTags[k * nodesPerElement + static_cast<std::size_t>(order[i])];
                const auto position = positionOfTag.find(tag);
                if (position == positionOfTag.end())
                    failWriting("element " + std::to_string(source.elementTags[k]) + " uses node " + std::to_string(tag) +
                                ", which is not written");
                block.connectivity[k * nodesPerElement + i] = position->second;
            }
        }
        block.families.assign(source.families.begin(), source.families.end());
        return block;
    }

    void writeMesh() const
    {
        const std::string axisNames = paddedNames({"X", "Y", "Z"}, MED_SNAME_SIZE);
        const std::string axisUnits = paddedNames({"", "", ""}, MED_SNAME_SIZE);
        const char* name = mesh.name.c_str();
        checked(quietly([&] {
                    return MEDmeshCr(fid, name, 3, 3, MED_UNSTRUCTURED_MESH, "", "", MED_SORT_DTIT, MED_CARTESIAN,
                                     axisNames.c_str(), axisUnits.c_str());
                }),
                "the mesh");
        writeFamilies();
        writeNodes();
        for (const Block& block : blocks) writeBlock(block);
    }

    // MED's fixed-width name lists: each name padded with blanks to `width`.
    static std::string paddedNames(const std::vector<std::string>& names, std::size_t width)
    {
        std::string text;
        for (const std::string& name : names) text += name + std::string(width - name.size(), ' ');
        return text;
    }

    void writeFamilies() const
    {
        // MED expects family 0, the family of entities in no group, to exist.
        checked(quietly([&] { return MEDfamilyCr(fid, mesh.name.c_str(), kFamilyZeroName, 0, 0, MED_NO_GROUP); }),
                "family 0");
        for (const auto& family : mesh.familyGroups) {
            if (family.first == 0) continue;
            const std::string familyName = "FAMILY_" + std::to_string(family.first);
            const std::string groups = paddedNames(family.second, MED_LNAME_SIZE);
            const med_int groupCount = static_cast<med_int>(family.second.size());
            checked(quietly([&] {
                        return MEDfamilyCr(fid, mesh.name.c_str(), familyName.c_str(), family.first, groupCount,
                                           groups.c_str());
                    }),
                    "family " + std::to_string(family.first));
        }
    }

    void writeNodes() const
    {
        const med_int count = static_cast<med_int>(nodeNumbers.size());
        if (count == 0) return;
        const std::vector<med_int> families(mesh.nodeFamilies.begin(), mesh.nodeFamilies.end());
        checked(quietly([&] {
                    return MEDmeshNodeCoordinateWr(fid, mesh.name.c_str(), MED_NO_DT, MED_NO_IT, 0.0,
                                                   MED_FULL_INTERLACE, count, mesh.coordinates.data());
                }),
                "the node coordinates");
        writeNumbersAndFamilies(MED_NODE, MED_NONE, nodeNumbers, families, "the nodes");
    }

    void writeBlock(const Block& block) const
    {
        const med_int count = static_cast<med_int>(block.numbers.size());
        if (count == 0) return;
        const std::string what = std::string("the ") + block.shape->medName + " elements";
        checked(quietly([&] {
                    return MEDmeshElementConnectivityWr(fid, mesh.name.c_str(), MED_NO_DT, MED_NO_IT, 0.0, MED_CELL,
                                                        block.shape->medType, MED_NODAL, MED_FULL_INTERLACE, count,
                                                        block.connectivity.data());
                }),
                what);
        writeNumbersAndFamilies(MED_CELL, block.shape->medType, block.numbers, block.families, what);
    }

    void writeNumbersAndFamilies(med_entity_type entity, med_geometry_type geometry,
                                 const std::vector<med_int>& numbers, const std::vector<med_int>& families,
                                 const std::string& what) const
    {
        const med_int count = static_cast<med_int>(numbers.size());
        const char* name = mesh.name.c_str();
        checked(quietly([&] {
                    return MEDmeshEntityNumberWr(fid, name, MED_NO_DT, MED_NO_IT, entity, geometry, count,
                                                 numbers.data());
                }),
                "the numbers of " + what);
        checked(quietly([&] {
                    return MEDmeshEntityFamilyNumberWr(fid, name, MED_NO_DT, MED_NO_IT, entity, geometry, count,
                                                       families.data());
                }),
                "the families of " + what);
    }

    std::string fileName;
    const MedMesh& mesh;
    med_idt fid = -1;
    std::vector<med_int> nodeNumbers;
    std::unordered_map<std::size_t, med_int> positionOfTag;
    std::vector<Block> blocks;
};

}  // namespace

bool isMedFileName(const std::string& fileName)
{
    const std::string extension = ".med";
    if (fileName.size() < extension.size()) return false;
    return std::equal(extension.begin(), extension.end(), fileName.end() - static_cast<std::ptrdiff_t>(extension.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

std::string baseName(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

MedMesh readMedFile(const std::string& fileName)
{
    return MedReader(fileName).read();
}

void writeMedFile(const std::string& fileName, const MedMesh& mesh)
{
    MedWriter(fileName, mesh).write();
}

}  // namespace Tarnel::GmshAdapter::med

#include "GmshAdapter/GmshAdapter.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>

#include <gmsh.h>

#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRep_Tool.hxx>
#include <TopoDS_Edge.hxx>

#include <Context.h>
#include <ElementType.h>
#include <GEdge.h>
#include <GFace.h>
#include <GModel.h>
#include <GRegion.h>
#include <GmshConfig.h>
#include <GmshGlobal.h>
#include <GmshMessage.h>
#include <GmshConfig.h>
#include <GmshVersion.h>
#include <MEdge.h>
#include <MElement.h>
#include <MVertex.h>

#include "GmshAdapter/AbaqusPyramids.h"
#include "GmshAdapter/GmshAdapterInternal.h"
#include "GmshAdapter/GmshAdapterTesting.h"
#include "GmshAdapter/MedMesh.h"
#include "Internal/LogMacros.h"

namespace Tarnel::GmshAdapter {

namespace {

const std::string kLogSource = "GmshAdapter/GmshAdapter";

// Version gaps of the linked gmsh, decided once here.
constexpr bool kLinkedIsOlderThan411 =
    GMSH_MAJOR_VERSION < 4 || (GMSH_MAJOR_VERSION == 4 && GMSH_MINOR_VERSION < 11);
// 4.8 segfaults when meshing with "Mesh.Algorithm" 8 and has no algorithm 11
// (it silently falls back to MeshAdapt).
constexpr bool kHasWorkingFrontalQuads = !kLinkedIsOlderThan411;
constexpr bool kHasQuasiStructuredQuads = !kLinkedIsOlderThan411;

#if defined(HAVE_NETGEN)
constexpr bool kHasFrontal3D = true;
#else
// The Frontal 3D algorithm is netgen's; a gmsh built without it meshes
// nothing in the volume and reports "No elements in volume".
constexpr bool kHasFrontal3D = false;
#endif

constexpr int kFrontal3D = 4;
constexpr int kHxt3D = 10;

// gmsh reads and writes MED files itself only when built with the MED file
// library; Debian's is not.
#ifdef HAVE_MED
constexpr bool kLinkedHasMed = true;
#else
constexpr bool kLinkedHasMed = false;
#endif

constexpr int kFrontalDelaunay = 6;
constexpr int kFrontalDelaunayQuads = 8;
constexpr int kQuasiStructuredQuads = 11;
constexpr int kBlossom = 1;
constexpr int kBlossomFullQuad = 3;

// Options that 4.11 has and older releases reject.
const std::set<std::string>& optionsMissingBefore411()
{
    static const std::set<std::string> names = {
        "Mesh.RecombineMinimumQuality",   "Mesh.RecombineNodeRepositioning",
        "Mesh.QuadqsSizemapMethod",       "Mesh.QuadqsTopologyOptimizationMethods",
        "Mesh.QuadqsRemeshingBoldness",   "Mesh.QuadqsScalingOnTriangulation"};
    return names;
}

// Whether this process finalised gmsh and has not initialised it again; gmsh
// cannot be asked in that state without it printing an error.
bool finalizedByAdapter = false;

std::mutex onceMutex;
std::set<std::string> reportedOnce;

// True the first time `key` is seen in this process.
bool firstTime(const std::string& key)
{
    std::lock_guard<std::mutex> lock(onceMutex);
    return reportedOnce.insert(key).second;
}

bool adapterHandlesFile(const std::string& fileName)
{
    return !kLinkedHasMed && med::isMedFileName(fileName);
}

GModel* currentModel()
{
    return GModel::current();
}

std::string formatTag(std::size_t tag)
{
    return std::to_string(tag);
}

}  // namespace

std::runtime_error lastErrorAsException()
{
    std::string error;
    try {
        ::gmsh::logger::getLastError(error);
    } catch (...) {
        error.clear();
    }
    if (error.empty()) error = "Could not get last error";
    return std::runtime_error(error);
}

void fail(const std::string& message)
{
    // Recorded as gmsh's own last error, so that the failure reads the same
    // whether gmsh or the adapter detected it.
    const int previousAbort = CTX::instance()->abortOnError;
    CTX::instance()->abortOnError = 0;
    Msg::Error("%s", message.c_str());
    CTX::instance()->abortOnError = previousAbort;
    throw lastErrorAsException();
}

std::string linkedVersion()
{
    return GMSH_VERSION;
}

// ---------------------------------------------------------------- session

void initialize(int argc, char** argv, bool readConfigFiles, bool run)
{
    call([&] {
        ::gmsh::initialize(argc, argv, readConfigFiles);
        finalizedByAdapter = false;
        if (run) GmshBatch();
    });
}

int isInitialized()
{
    if (finalizedByAdapter) return 0;
    // gmsh records its launch date when it is first initialised; before that,
    // any call would run its error reporting on uninitialised state.
    if (Msg::GetLaunchDate().empty()) return 0;
    // Initialised once; a 4.8 gmsh finalised by the host refuses calls.
    double verbosity = std::numeric_limits<double>::quiet_NaN();
    try {
        ::gmsh::option::getNumber("General.Verbosity", verbosity);
    } catch (...) {
        return 0;
    }
    return std::isnan(verbosity) ? 0 : 1;
}

void finalize()
{
    call([] {
        ::gmsh::finalize();
        finalizedByAdapter = true;
    });
}

void open(const std::string& fileName)
{
    call([&] {
        // 4.8 ignores a file it cannot open; 4.11 reports it.
        std::error_code error;
        if (!std::filesystem::is_regular_file(fileName, error)) fail("Unable to open file '" + fileName + "'");
        if (adapterHandlesFile(fileName))
            med::openAsModel(med::readMedFile(fileName), fileName);
        else
            ::gmsh::open(fileName);
    });
}

namespace {

bool hasExtension(const std::string& fileName, const std::string& extension)
{
    if (fileName.size() < extension.size()) return false;
    std::string tail = fileName.substr(fileName.size() - extension.size());
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == extension;
}

}  // namespace

void write(const std::string& fileName)
{
    call([&] {
        if (adapterHandlesFile(fileName)) {
            med::writeMedFile(fileName, med::currentModelAsMedMesh(fileName));
            return;
        }
        if (!hasExtension(fileName, ".inp")) {
            ::gmsh::write(fileName);
            return;
        }
        const PyramidsNamedForAbaqus pyramids;
        ::gmsh::write(fileName);
    });
}

// ---------------------------------------------------------------- options

namespace option {

void setNumber(const std::string& name, double value)
{
    if (kLinkedIsOlderThan411 && optionsMissingBefore411().count(name) != 0) {
        if (firstTime("option:" + name))
            TARNEL_LOG_DEBUG("Option " + name + " does not exist in gmsh " + linkedVersion() + "; it is skipped.",
                             "Tarnel::GmshAdapter::option::setNumber");
        return;
    }
    call([&] { ::gmsh::option::setNumber(name, value); });
}

void getNumber(const std::string& name, double& value)
{
    call([&] { ::gmsh::option::getNumber(name, value); });
}

void setString(const std::string& name, const std::string& value)
{
    call([&] { ::gmsh::option::setString(name, value); });
}

void getString(const std::string& name, std::string& value)
{
    call([&] { ::gmsh::option::getString(name, value); });
}

}  // namespace option

namespace logger {

void getLastError(std::string& error)
{
    call([&] { ::gmsh::logger::getLastError(error); });
}

}  // namespace logger

// ---------------------------------------------------------------- models

namespace model {

void add(const std::string& name)
{
    call([&] { ::gmsh::model::add(name); });
}

void remove()
{
    call([] { ::gmsh::model::remove(); });
}

void list(std::vector<std::string>& names)
{
    call([&] { ::gmsh::model::list(names); });
}

void getCurrent(std::string& name)
{
    call([&] { ::gmsh::model::getCurrent(name); });
}

void setCurrent(const std::string& name)
{
    call([&] { ::gmsh::model::setCurrent(name); });
}

void getFileName(std::string& fileName)
{
    call([&] { ::gmsh::model::getFileName(fileName); });
}

void setFileName(const std::string& fileName)
{
    call([&] { ::gmsh::model::setFileName(fileName); });
}

void getEntities(vectorpair& dimTags, int dim)
{
    call([&] { ::gmsh::model::getEntities(dimTags, dim); });
}

void removeEntities(const vectorpair& dimTags, bool recursive)
{
    call([&] { ::gmsh::model::removeEntities(dimTags, recursive); });
}

void getBoundingBox(int dim, int tag, double& xmin, double& ymin, double& zmin, double& xmax, double& ymax,
                    double& zmax)
{
    call([&] { ::gmsh::model::getBoundingBox(dim, tag, xmin, ymin, zmin, xmax, ymax, zmax); });
}

int addDiscreteEntity(int dim, int tag, const std::vector<int>& boundary)
{
    return call([&] { return ::gmsh::model::addDiscreteEntity(dim, tag, boundary); });
}

namespace {

// Distance test of a point against a curve, with the curve's own tolerance
// when it is an OpenCASCADE edge and gmsh's geometry tolerance otherwise.
bool curveContainsPoint(GEdge* curve, double x, double y, double z)
{
    const double geometryTolerance = CTX::instance()->geom.tolerance;
    if (curve->getNativeType() == GEntity::OpenCascadeModel) {
        const TopoDS_Edge& edge = *static_cast<const TopoDS_Edge*>(curve->getNativePtr());
        BRepBuilderAPI_MakeVertex vertex(gp_Pnt(x, y, z));
        BRepExtrema_DistShapeShape distance(vertex.Shape(), edge);
        if (!distance.IsDone() || distance.NbSolution() == 0) return false;
        const double tolerance = std::max(geometryTolerance, BRep_Tool::Tolerance(edge));
        return distance.Value() <= tolerance;
    }
    double parameter = 0.0;
    const GPoint closest = curve->closestPoint(SPoint3(x, y, z), parameter);
    if (!closest.succeeded()) return false;
    const double dx = closest.x() - x, dy = closest.y() - y, dz = closest.z() - z;
    return std::sqrt(dx * dx + dy * dy + dz * dz) <= geometryTolerance;
}

}  // namespace

int isInside(int dim, int tag, const std::vector<double>& coord, bool parametric)
{
    return call([&] {
        if (parametric) return ::gmsh::model::isInside(dim, tag, coord);
        GEntity* entity = currentModel()->getEntityByTag(dim, tag);
        if (entity == nullptr) fail("Entity of dimension " + std::to_string(dim) + " and tag " + std::to_string(tag) +
                                    " does not exist");
        int inside = 0;
        for (std::size_t i = 0; i + 2 < coord.size(); i += 3) {
            const bool contained =
                dim == 1 ? curveContainsPoint(static_cast<GEdge*>(entity), coord[i], coord[i + 1], coord[i + 2])
                         : entity->containsPoint(SPoint3(coord[i], coord[i + 1], coord[i + 2]));
            if (contained) ++inside;
        }
        return inside;
    });
}

void getPhysicalGroups(vectorpair& dimTags, int dim)
{
    call([&] { ::gmsh::model::getPhysicalGroups(dimTags, dim); });
}

void getEntitiesForPhysicalGroup(int dim, int tag, std::vector<int>& tags)
{
    call([&] { ::gmsh::model::getEntitiesForPhysicalGroup(dim, tag, tags); });
}

int addPhysicalGroup(int dim, const std::vector<int>& tags, int tag, const std::string& name)
{
    return call([&] {
        const int group = ::gmsh::model::addPhysicalGroup(dim, tags, tag);
        if (!name.empty()) ::gmsh::model::setPhysicalName(dim, group, name);
        return group;
    });
}

void setPhysicalName(int dim, int tag, const std::string& name)
{
    call([&] { ::gmsh::model::setPhysicalName(dim, tag, name); });
}

void getPhysicalName(int dim, int tag, std::string& name)
{
    call([&] { ::gmsh::model::getPhysicalName(dim, tag, name); });
}

// ---------------------------------------------------------------- meshes

namespace mesh {

namespace {

// Restores a number option when the scope ends, also after a failure.
class OptionRestorer {
public:
    explicit OptionRestorer(const char* name) : name(name) { ::gmsh::option::getNumber(name, value); }
    ~OptionRestorer()
    {
        try {
            ::gmsh::option::setNumber(name, value);
        } catch (...) {
        }
    }
    OptionRestorer(const OptionRestorer&) = delete;
    OptionRestorer& operator=(const OptionRestorer&) = delete;

private:
    const char* name;
    double value = 0.0;
};

void generateWithFrontalDelaunayForQuads(int dim)
{
    if (firstTime("algorithm:8"))
        TARNEL_LOG_WARN("gmsh " + linkedVersion() +
                            " crashes with Frontal-Delaunay for quads (Mesh.Algorithm 8); meshing with "
                            "Frontal-Delaunay (Mesh.Algorithm 6) instead.",
                        "Tarnel::GmshAdapter::model::mesh::generate");
    OptionRestorer algorithm("Mesh.Algorithm");
    ::gmsh::option::setNumber("Mesh.Algorithm", kFrontalDelaunay);
    ::gmsh::model::mesh::generate(dim);
}

// Frontal-Delaunay with recombination into quadrangles only; `fullQuad`
// subdivides so that no triangle is left, which fails on curves whose mesh
// cannot be split in two (transfinite curves with too few nodes).
void generateRecombinedFrontalDelaunay(int dim, bool fullQuad)
{
    OptionRestorer algorithm("Mesh.Algorithm");
    OptionRestorer recombineAll("Mesh.RecombineAll");
    OptionRestorer recombination("Mesh.RecombinationAlgorithm");
    ::gmsh::option::setNumber("Mesh.Algorithm", kFrontalDelaunay);
    ::gmsh::option::setNumber("Mesh.RecombineAll", 1);
    ::gmsh::option::setNumber("Mesh.RecombinationAlgorithm", fullQuad ? kBlossomFullQuad : kBlossom);
    ::gmsh::model::mesh::generate(dim);
}

// Errors are recorded, not thrown, while this runs (see generate).
void generateWithQuasiStructuredQuads(int dim)
{
    if (firstTime("algorithm:11"))
        TARNEL_LOG_WARN("gmsh " + linkedVersion() +
                            " has no quasi-structured quadrangle meshing (Mesh.Algorithm 11); meshing with "
                            "Frontal-Delaunay (Mesh.Algorithm 6) and blossom full-quad recombination instead.",
                        "Tarnel::GmshAdapter::model::mesh::generate");
    const int errorsBefore = Msg::GetErrorCount();
    generateRecombinedFrontalDelaunay(dim, true);
    if (Msg::GetErrorCount() == errorsBefore) return;

    std::string fullQuadError;
    ::gmsh::logger::getLastError(fullQuadError);
    TARNEL_LOG_WARN("Full-quad recombination failed (" + fullQuadError +
                        "); meshing with quad-dominant blossom recombination instead.",
                    "Tarnel::GmshAdapter::model::mesh::generate");
    ::gmsh::model::mesh::clear();
    Msg::ResetErrorCounter();
    generateRecombinedFrontalDelaunay(dim, false);
}

MElement* elementByTag(std::size_t tag)
{
    if (tag > static_cast<std::size_t>(std::numeric_limits<int>::max())) return nullptr;
    return currentModel()->getMeshElementByTag(static_cast<int>(tag));
}

double elementQuality(MElement* element, const std::string& qualityName)
{
    if (qualityName == "minSJ") return element->minScaledJacobian();
    if (qualityName == "minSICN") return element->minSICNShapeMeasure();
    if (qualityName == "minSIGE") return element->minSIGEShapeMeasure();
    if (qualityName == "gamma") return element->gammaShapeMeasure();
    if (qualityName == "innerRadius") return element->getInnerRadius();
    if (qualityName == "outerRadius") return element->getOuterRadius();
    if (qualityName == "minIsotropy") return element->minIsotropyMeasure();
    if (qualityName == "angleShape") return element->angleShapeMeasure();
    if (qualityName == "minEdge") return element->minEdge();
    if (qualityName == "maxEdge") return element->maxEdge();
    if (qualityName == "volume") return element->getVolume();
    fail("Unknown quality name '" + qualityName + "'");
}

// The entities of a dimension (all dimensions for -1), or the one entity of
// that dimension and tag, in gmsh's order.
std::vector<GEntity*> entitiesOf(int dim, int tag)
{
    std::vector<GEntity*> entities;
    if (tag < 0) {
        currentModel()->getEntities(entities, dim);
        return entities;
    }
    GEntity* entity = currentModel()->getEntityByTag(dim, tag);
    if (entity == nullptr)
        fail("Entity of dimension " + std::to_string(dim) + " and tag " + std::to_string(tag) + " does not exist");
    entities.push_back(entity);
    return entities;
}

void appendElement(MElement* element, std::vector<std::size_t>& elementTags, std::vector<std::size_t>& nodeTags)
{
    elementTags.push_back(element->getNum());
    for (std::size_t k = 0; k < element->getNumVertices(); ++k) nodeTags.push_back(element->getVertex(k)->getNum());
}

// The entity holding an element: 4.8 keeps no element-to-entity index, so the
// entities of the element's dimension are searched.
void findElementEntity(MElement* element, int& dim, int& tag)
{
    dim = element->getDim();
    tag = -1;
    std::vector<GEntity*> entities;
    currentModel()->getEntities(entities, dim);
    for (GEntity* entity : entities) {
        for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
            if (entity->getMeshElement(i) == element) {
                tag = entity->tag();
                return;
            }
        }
    }
}

}  // namespace

namespace {

// gmsh meshes curves and surfaces in OpenMP parallel regions, and an error
// raised there as an exception cannot leave the region: the process would be
// terminated. So meshing runs with errors recorded instead of thrown, and a
// run that recorded any fails afterwards with gmsh's last error.
class ErrorsRecordedNotThrown {
public:
    ErrorsRecordedNotThrown() : previousAbort(CTX::instance()->abortOnError)
    {
        CTX::instance()->abortOnError = 0;
        Msg::ResetErrorCounter();
    }
    ~ErrorsRecordedNotThrown() { CTX::instance()->abortOnError = previousAbort; }
    ErrorsRecordedNotThrown(const ErrorsRecordedNotThrown&) = delete;
    ErrorsRecordedNotThrown& operator=(const ErrorsRecordedNotThrown&) = delete;

    bool ErrorsOccurred() const { return Msg::GetErrorCount() > 0; }

private:
    int previousAbort;
};

// The surface algorithms this gmsh has, for meshing up to `dim`.
void generateWithAvailableSurfaceAlgorithms(int dim)
{
    double algorithm = 0.0;
    ::gmsh::option::getNumber("Mesh.Algorithm", algorithm);
    if (dim >= 2 && !kHasWorkingFrontalQuads && algorithm == kFrontalDelaunayQuads)
        generateWithFrontalDelaunayForQuads(dim);
    else if (dim >= 2 && !kHasQuasiStructuredQuads && algorithm == kQuasiStructuredQuads)
        generateWithQuasiStructuredQuads(dim);
    else
        ::gmsh::model::mesh::generate(dim);
}

// Whether every edge of every volume's boundary mesh is shared by exactly two
// boundary elements of that volume.
bool volumeBoundariesClosed()
{
    GModel* model = currentModel();
    for (auto region = model->firstRegion(); region != model->lastRegion(); ++region) {
        std::map<std::pair<MVertex*, MVertex*>, int> edgeUses;
        for (GFace* face : (*region)->faces()) {
            for (std::size_t i = 0; i < face->getNumMeshElements(); ++i) {
                MElement* element = face->getMeshElement(i);
                for (int e = 0; e < element->getNumEdges(); ++e) {
                    const MEdge edge = element->getEdge(e);
                    ++edgeUses[{edge.getMinVertex(), edge.getMaxVertex()}];
                }
            }
        }
        for (const auto& uses : edgeUses)
            if (uses.second != 2) return false;
    }
    return true;
}

// gmsh 4.8's HXT reads beyond its buffers on a volume whose boundary is not
// closed (memory corruption, then a crash), so it only ever sees closed
// boundaries. The surfaces are meshed first for the check; meshing up to 3
// afterwards leaves them as they are.
void generateVolumes()
{
    double algorithm3D = 0.0;
    ::gmsh::option::getNumber("Mesh.Algorithm3D", algorithm3D);
    const bool frontalMissing = !kHasFrontal3D && algorithm3D == kFrontal3D;
    if (!frontalMissing && algorithm3D != kHxt3D) {
        generateWithAvailableSurfaceAlgorithms(3);
        return;
    }
    generateWithAvailableSurfaceAlgorithms(2);
    const bool closed = volumeBoundariesClosed();
    if (algorithm3D == kHxt3D && !closed) fail("HXT cannot mesh a volume whose boundary mesh is not closed");

    std::optional<OptionRestorer> volumeAlgorithm;
    if (frontalMissing && closed) {
        if (firstTime("algorithm3D:4"))
            TARNEL_LOG_WARN("gmsh " + linkedVersion() +
                                " is built without the Frontal 3D algorithm (Mesh.Algorithm3D 4); meshing volumes "
                                "with HXT (Mesh.Algorithm3D 10) instead.",
                            "Tarnel::GmshAdapter::model::mesh::generate");
        volumeAlgorithm.emplace("Mesh.Algorithm3D");
        ::gmsh::option::setNumber("Mesh.Algorithm3D", kHxt3D);
    }
    ::gmsh::model::mesh::generate(3);
}

void generateWithAvailableAlgorithms(int dim)
{
    if (dim == 3)
        generateVolumes();
    else
        generateWithAvailableSurfaceAlgorithms(dim);
}

}  // namespace

namespace {

std::function<void(int)>& beforeGenerate()
{
    static std::function<void(int)> hook;
    return hook;
}

}  // namespace

void generate(int dim)
{
    call([&] {
        if (beforeGenerate()) beforeGenerate()(dim);
        ErrorsRecordedNotThrown errors;
        generateWithAvailableAlgorithms(dim);
        if (errors.ErrorsOccurred()) throw lastErrorAsException();
    });
}

void getNodes(std::vector<std::size_t>& nodeTags, std::vector<double>& coord, std::vector<double>& parametricCoord,
              int dim, int tag, bool includeBoundary, bool returnParametricCoord)
{
    call([&] {
        ::gmsh::model::mesh::getNodes(nodeTags, coord, parametricCoord, dim, tag, includeBoundary,
                                      returnParametricCoord);
    });
}

void getNode(std::size_t nodeTag, std::vector<double>& coord, std::vector<double>& parametricCoord, int& dim,
             int& tag)
{
    call([&] {
        ::gmsh::model::mesh::getNode(nodeTag, coord, parametricCoord);
        dim = -1;
        tag = -1;
        if (nodeTag > static_cast<std::size_t>(std::numeric_limits<int>::max())) return;
        MVertex* vertex = currentModel()->getMeshVertexByTag(static_cast<int>(nodeTag));
        if (vertex != nullptr && vertex->onWhat() != nullptr) {
            dim = vertex->onWhat()->dim();
            tag = vertex->onWhat()->tag();
        }
    });
}

void addNodes(int dim, int tag, const std::vector<std::size_t>& nodeTags, const std::vector<double>& coord,
              const std::vector<double>& parametricCoord)
{
    call([&] { ::gmsh::model::mesh::addNodes(dim, tag, nodeTags, coord, parametricCoord); });
}

void getMaxNodeTag(std::size_t& maxTag)
{
    call([&] { maxTag = currentModel()->getMaxVertexNumber(); });
}

// gmsh lists an entity's elements under one type per family (its first
// element's), so a second-order triangle that shares a surface with
// first-order ones is left out of getElements and getElementsByType though
// the model holds it. The master mesh keeps every element of a dimension on
// one entity, so the lists are built here from every element's own type.
void getElements(std::vector<int>& elementTypes, std::vector<std::vector<std::size_t>>& elementTags,
                 std::vector<std::vector<std::size_t>>& nodeTags, int dim, int tag)
{
    call([&] {
        elementTypes.clear();
        elementTags.clear();
        nodeTags.clear();
        const std::vector<GEntity*> entities = entitiesOf(dim, tag);
        std::map<int, std::pair<std::size_t, std::size_t>> counts;  // type -> elements, nodes
        for (GEntity* entity : entities) {
            for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
                MElement* element = entity->getMeshElement(i);
                auto& count = counts[element->getTypeForMSH()];
                ++count.first;
                count.second += element->getNumVertices();
            }
        }
        std::map<int, std::size_t> slotOfType;
        for (const auto& count : counts) {
            slotOfType[count.first] = elementTypes.size();
            elementTypes.push_back(count.first);
            elementTags.emplace_back().reserve(count.second.first);
            nodeTags.emplace_back().reserve(count.second.second);
        }
        for (GEntity* entity : entities) {
            for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
                MElement* element = entity->getMeshElement(i);
                const std::size_t slot = slotOfType[element->getTypeForMSH()];
                appendElement(element, elementTags[slot], nodeTags[slot]);
            }
        }
    });
}

void getElement(std::size_t elementTag, int& elementType, std::vector<std::size_t>& nodeTags, int& dim, int& tag)
{
    call([&] {
        ::gmsh::model::mesh::getElement(elementTag, elementType, nodeTags);
        MElement* element = elementByTag(elementTag);
        if (element == nullptr) fail("Unknown element " + formatTag(elementTag));
        findElementEntity(element, dim, tag);
    });
}

void getElementsByType(int elementType, std::vector<std::size_t>& elementTags, std::vector<std::size_t>& nodeTags,
                       int tag, std::size_t task, std::size_t numTasks)
{
    call([&] {
        if (numTasks > 1) {
            ::gmsh::model::mesh::getElementsByType(elementType, elementTags, nodeTags, tag, task, numTasks);
            return;
        }
        elementTags.clear();
        nodeTags.clear();
        for (GEntity* entity : entitiesOf(ElementType::getDimension(elementType), tag)) {
            for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
                MElement* element = entity->getMeshElement(i);
                if (element->getTypeForMSH() == elementType) appendElement(element, elementTags, nodeTags);
            }
        }
    });
}

void getElementsByCoordinates(double x, double y, double z, std::vector<std::size_t>& elementTags, int dim,
                              bool strict)
{
    call([&] { ::gmsh::model::mesh::getElementsByCoordinates(x, y, z, elementTags, dim, strict); });
}

void addElements(int dim, int tag, const std::vector<int>& elementTypes,
                 const std::vector<std::vector<std::size_t>>& elementTags,
                 const std::vector<std::vector<std::size_t>>& nodeTags)
{
    call([&] { ::gmsh::model::mesh::addElements(dim, tag, elementTypes, elementTags, nodeTags); });
}

void addElementsByType(int tag, int elementType, const std::vector<std::size_t>& elementTags,
                       const std::vector<std::size_t>& nodeTags)
{
    call([&] { ::gmsh::model::mesh::addElementsByType(tag, elementType, elementTags, nodeTags); });
}

void getMaxElementTag(std::size_t& maxTag)
{
    call([&] { maxTag = currentModel()->getMaxElementNumber(); });
}

void getElementQualities(const std::vector<std::size_t>& elementTags, std::vector<double>& elementsQuality,
                         const std::string& qualityName, std::size_t task, std::size_t numTasks)
{
    call([&] {
        if (numTasks == 0) fail("Number of tasks should be > 0");
        const std::size_t begin = (task * elementTags.size()) / numTasks;
        const std::size_t end = ((task + 1) * elementTags.size()) / numTasks;
        if (numTasks > 1) {
            if (elementsQuality.size() < elementTags.size())
                fail("Qualities should be preallocated if numTasks > 1");
        } else {
            elementsQuality.assign(elementTags.size(), 0.0);
        }
        for (std::size_t k = begin; k < end; ++k) {
            MElement* element = elementByTag(elementTags[k]);
            if (element == nullptr) fail("Unknown element " + formatTag(elementTags[k]));
            elementsQuality[k] = elementQuality(element, qualityName);
        }
    });
}

void setVisibility(const std::vector<std::size_t>& elementTags, int value)
{
    call([&] {
        for (std::size_t tag : elementTags) {
            MElement* element = elementByTag(tag);
            if (element == nullptr) fail("Unknown element " + formatTag(tag));
            element->setVisibility(static_cast<char>(value));
        }
    });
}

void setTransfiniteCurve(int tag, int numNodes, const std::string& meshType, double coef)
{
    call([&] { ::gmsh::model::mesh::setTransfiniteCurve(tag, numNodes, meshType, coef); });
}

void setTransfiniteSurface(int tag, const std::string& arrangement, const std::vector<int>& cornerTags)
{
    call([&] { ::gmsh::model::mesh::setTransfiniteSurface(tag, arrangement, cornerTags); });
}

void setRecombine(int dim, int tag, double angle)
{
    call([&] {
        ::gmsh::model::mesh::setRecombine(dim, tag);
        if (dim != 2) return;
        GFace* face = currentModel()->getFaceByTag(tag);
        if (face != nullptr) face->meshAttributes.recombineAngle = angle;
    });
}

}  // namespace mesh

// ---------------------------------------------------------------- kernels

namespace occ {

void importShapes(const std::string& fileName, vectorpair& outDimTags, bool highestDimOnly, const std::string& format)
{
    call([&] { ::gmsh::model::occ::importShapes(fileName, outDimTags, highestDimOnly, format); });
}

void synchronize()
{
    call([] { ::gmsh::model::occ::synchronize(); });
}

void remove(const vectorpair& dimTags, bool recursive)
{
    call([&] { ::gmsh::model::occ::remove(dimTags, recursive); });
}

}  // namespace occ

namespace geo {

int addSurfaceLoop(const std::vector<int>& surfaceTags, int tag, bool sewing)
{
    return call([&] {
        if (sewing) fail("Sewing of surface loops is not available in gmsh " + linkedVersion());
        return ::gmsh::model::geo::addSurfaceLoop(surfaceTags, tag);
    });
}

int addVolume(const std::vector<int>& shellTags, int tag)
{
    return call([&] { return ::gmsh::model::geo::addVolume(shellTags, tag); });
}

void synchronize()
{
    call([] { ::gmsh::model::geo::synchronize(); });
}

}  // namespace geo

}  // namespace model

// ---------------------------------------------------------------- plugins

namespace plugin {

void setNumber(const std::string& name, const std::string& option, double value)
{
    call([&] { ::gmsh::plugin::setNumber(name, option, value); });
}

int run(const std::string& name)
{
    // 4.11 returns the tag of the view the plugin created; 4.8 returns nothing
    // and the plugins the library runs create no view.
    return call([&] {
        ::gmsh::plugin::run(name);
        return -1;
    });
}

}  // namespace plugin

namespace testing {

void SetBeforeGenerate(std::function<void(int dim)> hook)
{
    model::mesh::beforeGenerate() = std::move(hook);
}

}  // namespace testing

}  // namespace Tarnel::GmshAdapter

// Mesh generation, with substitutes for the algorithms that the linked gmsh
// lacks or that crash it.

#include <functional>
#include <map>
#include <optional>

#include <gmsh.h>

#include <Context.h>
#include <GFace.h>
#include <GModel.h>
#include <GRegion.h>
#include <GmshConfig.h>
#include <GmshMessage.h>
#include <MEdge.h>
#include <MElement.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"
#include "GmshAdapter/GmshAdapterTesting.h"
#include "Internal/LogMacros.h"

namespace Tarnel::GmshAdapter {

namespace {

const std::string kLogSource = "GmshAdapter/MeshGeneration";

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

constexpr int kFrontalDelaunay = 6;
constexpr int kFrontalDelaunayQuads = 8;
constexpr int kQuasiStructuredQuads = 11;
constexpr int kBlossom = 1;
constexpr int kBlossomFullQuad = 3;

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
    GModel* model = GModel::current();
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

std::function<void(int)>& beforeGenerate()
{
    static std::function<void(int)> hook;
    return hook;
}

}  // namespace

void model::mesh::generate(int dim)
{
    call([&] {
        if (beforeGenerate()) beforeGenerate()(dim);
        ErrorsRecordedNotThrown errors;
        generateWithAvailableAlgorithms(dim);
        if (errors.ErrorsOccurred()) throw lastErrorAsException();
    });
}

namespace testing {

void SetBeforeGenerate(std::function<void(int dim)> hook)
{
    beforeGenerate() = std::move(hook);
}

}  // namespace testing

}  // namespace Tarnel::GmshAdapter

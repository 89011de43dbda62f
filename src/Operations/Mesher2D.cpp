#include "Operations/Mesher2D.h"

#include <cmath>
#include <string>
#include <vector>

#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"
#include "Operations/MeshingLimits.h"
#include "Operations/ShapeTransfer.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Operations/Mesher2D";
const char* const kMeshLocation = "Tarnel::Mesher2D::ComputeMesh";

double asOption(int value)
{
    return static_cast<double>(value);
}

template <class Enumeration>
double asOption(Enumeration value)
{
    return static_cast<double>(static_cast<int>(value));
}

// gmsh receives the sizes as the host's float-based settings would give them.
double singlePrecision(double value)
{
    return static_cast<double>(static_cast<float>(value));
}

void setSizeOrderAlgorithmAndRecombination(const Mesh2DSettings& settings, double algorithm)
{
    GmshAdapter::option::setNumber("Mesh.MeshSizeMin", singlePrecision(settings.GetElementSize() * 0.8));
    GmshAdapter::option::setNumber("Mesh.MeshSizeMax", singlePrecision(settings.GetElementSize() * 1.2));
    GmshAdapter::option::setNumber("Mesh.ElementOrder", asOption(settings.GetElementOrder()));
    GmshAdapter::option::setNumber("Mesh.Algorithm", algorithm);
    GmshAdapter::option::setNumber("Mesh.RecombineAll", asOption(settings.GetRecombineAll()));
    GmshAdapter::option::setNumber("Mesh.RecombinationAlgorithm", asOption(settings.GetRecombinationAlgorithm()));
    GmshAdapter::option::setNumber("Mesh.RecombineMinimumQuality", settings.GetRecombineMinimumQuality());
    GmshAdapter::option::setNumber("Mesh.RecombineNodeRepositioning",
                                   asOption(settings.GetRecombineNodePositioning()));
    GmshAdapter::option::setNumber("Mesh.RecombineOptimizeTopology",
                                   asOption(settings.GetRecombineOptimizeTopology()));
}

// The values the 3D mesher restores after a failed run.
void setSessionDefaults()
{
    GmshAdapter::option::setNumber("Mesh.CharacteristicLengthMax", 1e22);
    GmshAdapter::option::setNumber("Mesh.CharacteristicLengthMin", 0);
    GmshAdapter::option::setNumber("Mesh.Optimize", 1);
    GmshAdapter::option::setNumber("Mesh.ToleranceInitialDelaunay", 1e-12);
    GmshAdapter::option::setNumber("Mesh.Algorithm3D", 1);
}

void setQualityAndQuadOptions()
{
    GmshAdapter::option::setNumber("Mesh.QualityType", 2);
    GmshAdapter::option::setNumber("Mesh.AnisoMax", 10);
    GmshAdapter::option::setNumber("Mesh.FlexibleTransfinite", 0);
    GmshAdapter::option::setNumber("Mesh.Smoothing", 3);
    GmshAdapter::option::setNumber("Mesh.QuadqsSizemapMethod", 3);
    GmshAdapter::option::setNumber("Mesh.QuadqsTopologyOptimizationMethods", 0);
    GmshAdapter::option::setNumber("Mesh.QuadqsRemeshingBoldness", 0.75);
    GmshAdapter::option::setNumber("Mesh.QuadqsScalingOnTriangulation", 1);
    GmshAdapter::option::setNumber("Mesh.MeshSizeFromPoints", 0);
}

// Every curve that holds all three points of a seed gets the seed's node
// count; the curves are listed afresh for every seed, and a later seed on the
// same curve replaces an earlier one.
void applyEdgeSeeds(const std::vector<EdgeSeedingParameters>& seeds)
{
    for (const EdgeSeedingParameters& seed : seeds) {
        GmshAdapter::vectorpair curves;
        GmshAdapter::model::getEntities(curves, 1);
        const std::vector<double> points = {seed.firstPoint.X(),  seed.firstPoint.Y(),  seed.firstPoint.Z(),
                                            seed.secondPoint.X(), seed.secondPoint.Y(), seed.secondPoint.Z(),
                                            seed.thirdPoint.X(),  seed.thirdPoint.Y(),  seed.thirdPoint.Z()};
        for (const auto& curve : curves) {
            if (GmshAdapter::model::isInside(1, curve.second, points, false) != 3) continue;
            GmshAdapter::model::mesh::setTransfiniteCurve(curve.second, seed.nodeCount, "Progression", 1.0);
            TARNEL_LOG_INFO("Seeded curve with tag " + std::to_string(curve.second) + " using " +
                                std::to_string(seed.nodeCount) + " nodes.",
                            kMeshLocation);
        }
    }
}

void makeSurfacesTransfiniteQuadrangles()
{
    GmshAdapter::vectorpair surfaces;
    GmshAdapter::model::getEntities(surfaces, 2);
    for (const auto& surface : surfaces) {
        GmshAdapter::model::mesh::setTransfiniteSurface(surface.second, "Left", {});
        GmshAdapter::model::mesh::setRecombine(2, surface.second, 45);
    }
}

// Why the request is refused before gmsh sees it; "" when it may go ahead. A
// negative size reaches gmsh, which refuses it with its own message.
std::string refusalOf(const TopoDS_Shape& shape, const Mesh2DSettings& settings)
{
    const double size = settings.GetElementSize();
    const bool leftToGmsh = size < 0.0 && std::isfinite(size);
    std::string refusal = leftToGmsh ? "" : MeshingLimits::SizeRefusal(size);
    if (refusal.empty() && !leftToGmsh)
        refusal = MeshingLimits::FaceCountRefusal(shape, size, singlePrecision(size * 0.8),
                                                  settings.GetMaximumElementCount());
    if (refusal.empty()) refusal = ShapeTransferRefusal();
    return refusal;
}

std::size_t countElements()
{
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags;
    std::vector<std::vector<std::size_t>> nodeTags;
    GmshAdapter::model::mesh::getElements(types, elementTags, nodeTags, -1, -1);
    std::size_t count = 0;
    for (const auto& tags : elementTags) count += tags.size();
    return count;
}

}  // namespace

Mesher2D::Mesher2D(Mesh& mesh, TopoDS_Shape& shape) : shape(shape), mesh(mesh)
{
    if (shape.IsNull()) {
        TARNEL_LOG_ERROR("Provided a null face for meshing!", "Tarnel::Mesher2D::Mesher2D");
        isValid = false;
    }
}

Mesh Mesher2D::GetAssociatedMesh() const
{
    return mesh;
}

// Nothing has reached gmsh yet, so there is no session to recover.
MeshingResult Mesher2D::_refused(const std::string& refusal, const char* location)
{
    TARNEL_LOG_ERROR(refusal, location);
    mesh.SetErrorMessage(refusal);
    return MeshingResult::Failed;
}

MeshingResult Mesher2D::_failed(const std::exception& exception, const char* location)
{
    TARNEL_LOG_EXCEPTION("Failed to create 2D mesh!", exception, location);
    mesh.SetErrorMessage(exception.what());
    MeshEngineWrapper::getInstance().ResetGmshSession();
    return MeshingResult::Failed;
}

MeshingResult Mesher2D::ComputeMesh(Mesh2DSettings settings)
{
    if (!isValid) {
        TARNEL_LOG_ERROR("ComputeMesh called on invalid Mesher2D instance.", kMeshLocation);
        return MeshingResult::Failed;
    }
    const std::vector<EdgeSeedingParameters> seeds = settings.GetEdgeSeedingParameters();
    TARNEL_LOG_INFO("ComputeMesh starting | elementSize=" + std::to_string(settings.GetElementSize()) +
                        " elementOrder=" + std::to_string(static_cast<int>(settings.GetElementOrder())) +
                        " algorithm=" + std::to_string(static_cast<int>(settings.GetMeshAlgorithmChoice())) +
                        " recombineAll=" + std::to_string(static_cast<int>(settings.GetRecombineAll())) +
                        " edgeSeeds=" + std::to_string(seeds.size()),
                    kMeshLocation);
    const std::string refusal = refusalOf(shape, settings);
    if (!refusal.empty()) return _refused(refusal, kMeshLocation);
    try {
        MeshEngineWrapper::getInstance().ActivateMesh(mesh);
        setSessionDefaults();
        TransferShapeToGmsh(shape, ShapeTransferVariant::Face);
        GmshAdapter::model::occ::synchronize();

        const bool seededQuads =
            settings.GetMeshAlgorithmChoice() == Mesh2DAlgorithmChoice::QuasiStructuredQuad && !seeds.empty();
        const double algorithm =
            seededQuads ? asOption(Mesh2DAlgorithmChoice::FrontalDelaunayQuads) : asOption(settings.GetMeshAlgorithmChoice());
        setSizeOrderAlgorithmAndRecombination(settings, algorithm);
        setQualityAndQuadOptions();
        applyEdgeSeeds(seeds);
        if (seededQuads) makeSurfacesTransfiniteQuadrangles();

        TARNEL_LOG_INFO("Calling gmsh::model::mesh::generate(2)...", kMeshLocation);
        GmshAdapter::model::mesh::generate(2);
        TARNEL_LOG_INFO("ComputeMesh succeeded | generatedElements=" + std::to_string(countElements()),
                        kMeshLocation);
        mesh.SetMeshAdditionElementFilter(DIMENSION_2D);
        return MeshingResult::Success;
    } catch (const std::exception& exception) {
        return _failed(exception, kMeshLocation);
    }
}

MeshingResult Mesher2D::ComputeRemesh(Mesh2DSettings settings)
{
    if (!isValid) return MeshingResult::Failed;
    const std::string refusal = refusalOf(shape, settings);
    if (!refusal.empty()) return _refused(refusal, "Tarnel::Mesher2D::ComputeRemesh");
    try {
        MeshEngineWrapper::getInstance().ActivateMesh(mesh);
        TransferShapeToGmsh(shape, ShapeTransferVariant::Face);
        GmshAdapter::model::occ::synchronize();
        GmshAdapter::vectorpair curves;
        GmshAdapter::model::getEntities(curves, 1);
        for (const auto& curve : curves)
            GmshAdapter::model::mesh::setTransfiniteCurve(curve.second, 1, "Progression", 1.0);
        GmshAdapter::model::occ::synchronize();
        setSizeOrderAlgorithmAndRecombination(settings, asOption(settings.GetMeshAlgorithmChoice()));
        GmshAdapter::model::mesh::generate(2);
        mesh.SetMeshAdditionElementFilter(DIMENSION_2D);
        return MeshingResult::Success;
    } catch (const std::exception& exception) {
        return _failed(exception, "Tarnel::Mesher2D::ComputeRemesh");
    }
}

}  // namespace Tarnel

#include "Operations/Mesher1D.h"

#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"
#include "Operations/MeshingLimits.h"
#include "Operations/ShapeTransfer.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Operations/Mesher1D";
const char* const kMeshLocation = "Tarnel::Mesher1D::ComputeMesh";

// Why the request is refused before gmsh sees it; "" when it may go ahead.
std::string refusalOf(const TopoDS_Shape& shape, const Mesh1DSettings& settings)
{
    const double size = settings.GetElementSize();
    std::string refusal = MeshingLimits::SizeRefusal(size);
    if (refusal.empty()) refusal = MeshingLimits::EdgeCountRefusal(shape, size, settings.GetMaximumElementCount());
    if (refusal.empty()) refusal = ShapeTransferRefusal();
    return refusal;
}

}  // namespace

Mesher1D::Mesher1D(Mesh& mesh, TopoDS_Shape& shape) : shape(shape), mesh(mesh)
{
    if (shape.IsNull()) {
        TARNEL_LOG_ERROR("Provided a null face for meshing!", "Tarnel::Mesher1D::Mesher1D");
        isValid = false;
    }
}

MeshingResult Mesher1D::ComputeMesh(Mesh1DSettings settings)
{
    if (!isValid) return MeshingResult::Failed;
    const std::string refusal = refusalOf(shape, settings);
    if (!refusal.empty()) {
        TARNEL_LOG_ERROR(refusal, kMeshLocation);
        mesh.SetErrorMessage(refusal);
        return MeshingResult::Failed;
    }
    try {
        MeshEngineWrapper::getInstance().ActivateMesh(mesh);
        TransferShapeToGmsh(shape, ShapeTransferVariant::Edge);
        GmshAdapter::model::occ::synchronize();
        GmshAdapter::option::setNumber("Mesh.MeshSizeMin", settings.GetElementSize());
        GmshAdapter::option::setNumber("Mesh.MeshSizeMax", settings.GetElementSize());
        GmshAdapter::model::mesh::generate(1);
        return MeshingResult::Success;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Failed to create 1D mesh!", exception, kMeshLocation);
        // Without this the host could not tell a failed edge mesh from an
        // empty one: the factory hands no result back.
        mesh.SetErrorMessage(exception.what());
        return MeshingResult::Failed;
    }
}

Mesh Mesher1D::GetAssociatedMesh() const
{
    return mesh;
}

}  // namespace Tarnel

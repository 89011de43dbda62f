#include "MeshFactory.h"

#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"
#include "Operations/Mesher1D.h"
#include "Operations/Mesher2D.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "MeshFactory";

// A null handle holds no shape: the mesher refuses it as it refuses a null
// shape.
TopoDS_Shape shapeOf(const opencascade::handle<GEOM_Object>& geometry)
{
    return geometry.IsNull() ? TopoDS_Shape() : geometry->GetValue();
}

}  // namespace

MeshFactory::MeshFactory()
{
    MeshEngineWrapper::getInstance();
}

MeshFactory::~MeshFactory() = default;

void MeshFactory::Create1DMesh(Mesh& mesh, opencascade::handle<GEOM_Object>& geometry, Mesh1DSettings settings)
{
    TopoDS_Shape shape = shapeOf(geometry);
    Mesher1D mesher(mesh, shape);
    mesher.ComputeMesh(settings);
}

void MeshFactory::Create2DMesh(Mesh& mesh, opencascade::handle<GEOM_Object>& geometry, Mesh2DSettings settings,
                               bool remesh)
{
    TopoDS_Shape shape = shapeOf(geometry);
    MeshEngineWrapper::getInstance();
    Mesher2D mesher(mesh, shape);
    const MeshingResult result = remesh ? mesher.ComputeRemesh(settings) : mesher.ComputeMesh(settings);
    if (result == MeshingResult::Failed)
        TARNEL_LOG_WARN("Returning a failed mesh result.", "Tarnel::MeshFactory::Create2DMesh");
}

void MeshFactory::SetExportDirectory(std::string directory)
{
    MeshEngineWrapper::getInstance().SetMeshExportPath(std::move(directory));
}

std::string MeshFactory::GetExportDirectory()
{
    return MeshEngineWrapper::getInstance().GetMeshExportPath();
}

}  // namespace Tarnel

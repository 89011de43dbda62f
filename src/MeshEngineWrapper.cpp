#include "MeshEngineWrapper.h"

#include <algorithm>
#include <vector>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Entities/Mesh.h"
#include "GEOMImpl_Gen.hxx"
#include "GmshAdapter/GmshAdapter.h"
#include "IOTools/FileTools.h"
#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "MeshEngineWrapper";

// Outlives the wrapper: GEOM objects made by the host may still refer to it
// while static destructors run.
GEOMImpl_Gen* processGeomEngine = nullptr;

}  // namespace

MeshEngineWrapper& MeshEngineWrapper::getInstance()
{
    static MeshEngineWrapper instance;
    return instance;
}

MeshEngineWrapper::MeshEngineWrapper()
{
    if (processGeomEngine == nullptr) processGeomEngine = new GEOMImpl_Gen();
    geomEngine = processGeomEngine;
    meshExportPath = "";

    if (!GmshAdapter::isInitialized()) {
        GmshAdapter::initialize(0, nullptr, true, false);
        GmshAdapter::option::setNumber("Mesh.SaveAll", 1);
    }
    GmshAdapter::option::setNumber("General.Verbosity", 1);
    GmshAdapter::option::setNumber("General.Terminal", 0);
    TARNEL_LOG_INFO("Turned off GMSH verbosity", "Tarnel::MeshEngineWrapper::MeshEngineWrapper");
    TARNEL_LOG_INFO("Mesh engine wrapper was initialized!", "Tarnel::MeshEngineWrapper::MeshEngineWrapper");
}

MeshEngineWrapper::~MeshEngineWrapper()
{
    try {
        if (GmshAdapter::isInitialized()) GmshAdapter::finalize();
    } catch (...) {
        // Nothing can be reported at process exit.
    }
}

void MeshEngineWrapper::SetMeshExportPath(std::string path)
{
    meshExportPath = std::move(path);
}

std::string MeshEngineWrapper::GetMeshExportPath() const
{
    return meshExportPath;
}

std::string MeshEngineWrapper::GetWorkingDirectory() const
{
    return FileTools::GetDirectoryAbove(meshExportPath);
}

void MeshEngineWrapper::ActivateMasterMesh() const
{
    const Mesh& master = MasterMesh::getInstance();
    GmshAdapter::model::setCurrent(master.modelName);
    GmshAdapter::model::setFileName(master.fileName);
}

bool MeshEngineWrapper::ActivateMesh(const Mesh& mesh) const
{
    if (!DoesMeshExist(mesh)) {
        GmshAdapter::model::add(mesh.modelName);
        TARNEL_LOG_INFO("Added new mesh called " + mesh.modelName, "Tarnel::MeshEngineWrapper::ActivateMesh");
    }
    GmshAdapter::model::setCurrent(mesh.modelName);
    GmshAdapter::model::setFileName(mesh.modelName);
    return true;
}

bool MeshEngineWrapper::IsMeshActive(const Mesh& mesh) const
{
    std::string current;
    GmshAdapter::model::getCurrent(current);
    return current == mesh.modelName;
}

bool MeshEngineWrapper::DoesMeshExist(const Mesh& mesh) const
{
    std::vector<std::string> names;
    GmshAdapter::model::list(names);
    return std::find(names.begin(), names.end(), mesh.modelName) != names.end();
}

bool MeshEngineWrapper::RemoveMesh(const Mesh& mesh) const
{
    if (!DoesMeshExist(mesh)) {
        TARNEL_LOG_WARN("Cannot remove mesh called " + mesh.fileName + " because it does not exist.",
                        "Tarnel::MeshEngineWrapper::RemoveMesh");
        return false;
    }
    ActivateMesh(mesh);
    GmshAdapter::model::remove();
    return true;
}

void MeshEngineWrapper::ResetGmshSession() const
{
    const char* const location = "Tarnel::MeshEngineWrapper::ResetGmshSession";
    TARNEL_LOG_WARN("Performing full GMSH session reset to recover from stuck CTX lock.", location);
    const std::string masterName = static_cast<const Mesh&>(MasterMesh::getInstance()).modelName;
    const std::string backupPath = meshExportPath + "/" + masterName + ".msh";

    try {
        GmshAdapter::model::setCurrent(masterName);
        GmshAdapter::write(backupPath);
        TARNEL_LOG_INFO("GMSH reset: saved master mesh to " + backupPath, location);
    } catch (const std::exception&) {
        TARNEL_LOG_WARN("GMSH reset: could not save master mesh (it may be empty). Proceeding with empty reload.",
                        location);
    }

    GmshAdapter::finalize();
    GmshAdapter::initialize(0, nullptr, true, false);
    GmshAdapter::option::setNumber("Mesh.SaveAll", 1);
    GmshAdapter::option::setNumber("General.Verbosity", 1);
    GmshAdapter::option::setNumber("General.Terminal", 0);

    try {
        GmshAdapter::open(backupPath);
        TARNEL_LOG_INFO("GMSH reset: reloaded master mesh from " + backupPath, location);
    } catch (const std::exception&) {
        GmshAdapter::model::add(masterName);
        TARNEL_LOG_WARN("GMSH reset: no backup found - created empty master mesh model.", location);
    }
    TARNEL_LOG_INFO("GMSH session reset complete.", location);
}

GEOMImpl_Gen* MeshEngineWrapper::GetGeomEngine() const
{
    return geomEngine;
}

}  // namespace Tarnel

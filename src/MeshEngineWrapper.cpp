#include "MeshEngineWrapper.h"

#include <algorithm>
#include <optional>
#include <string>
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

const char* const kResetLocation = "Tarnel::MeshEngineWrapper::ResetGmshSession";

// The master model before the reset. The library's records describe it, so
// the reset must bring back exactly this, whether or not a file can carry it.
std::optional<GmshAdapter::ModelCopy> copyInMemory(const std::string& masterName)
{
    try {
        return GmshAdapter::copyModel(masterName);
    } catch (const std::exception& exception) {
        TARNEL_LOG_ERROR(std::string("GMSH reset: could not copy master mesh to memory: ") + exception.what(),
                         kResetLocation);
        return std::nullopt;
    }
}

// Writes the backup file; "" when written, otherwise why the master mesh
// cannot come back from it (the details are logged here).
std::string saveBackup(const std::string& masterName, const std::string& backupPath)
{
    if (backupPath.empty()) return "no export directory is set";
    try {
        GmshAdapter::model::setCurrent(masterName);
        // Text files keep 16 significant digits of a coordinate; binary ones
        // keep them all, so that the reloaded model is the one saved.
        double binary = 0.0;
        GmshAdapter::option::getNumber("Mesh.Binary", binary);
        GmshAdapter::option::setNumber("Mesh.Binary", 1);
        try {
            GmshAdapter::write(backupPath);
        } catch (...) {
            GmshAdapter::option::setNumber("Mesh.Binary", binary);
            throw;
        }
        GmshAdapter::option::setNumber("Mesh.Binary", binary);
        TARNEL_LOG_INFO("GMSH reset: saved master mesh to " + backupPath, kResetLocation);
        return "";
    } catch (const std::exception& exception) {
        TARNEL_LOG_WARN("GMSH reset: could not save master mesh to " + backupPath + ": " + exception.what(),
                        kResetLocation);
        return "the backup file could not be written";
    }
}

void restartGmsh()
{
    GmshAdapter::finalize();
    GmshAdapter::initialize(0, nullptr, true, false);
    GmshAdapter::option::setNumber("Mesh.SaveAll", 1);
    GmshAdapter::option::setNumber("General.Verbosity", 1);
    GmshAdapter::option::setNumber("General.Terminal", 0);
}

// Every model of the name, also what a failed or rejected reload left behind.
void removeModelsNamed(const std::string& name)
{
    std::vector<std::string> names;
    GmshAdapter::model::list(names);
    for (const std::string& present : names) {
        if (present != name) continue;
        GmshAdapter::model::setCurrent(name);
        GmshAdapter::model::remove();
    }
}

bool readsBackExactly(const std::string& masterName, const GmshAdapter::ModelCopy& inMemory)
{
    try {
        return GmshAdapter::copyModel(masterName) == inMemory;
    } catch (const std::exception&) {
        return false;
    }
}

// Reloads the backup this reset wrote and keeps it when it is the model that
// was saved; "" when kept, otherwise why not. A file does not always carry a
// model exactly, so the reloaded model is compared with the copy in memory
// when there is one.
std::string reloadBackup(const std::string& masterName, const std::string& backupPath,
                         const std::optional<GmshAdapter::ModelCopy>& inMemory)
{
    try {
        // gmsh reads a file into the current model when it is empty: into a
        // model of the master's name, next to gmsh's own unnamed default
        // model, as at first start.
        GmshAdapter::model::add(masterName);
        GmshAdapter::open(backupPath);
    } catch (const std::exception& exception) {
        removeModelsNamed(masterName);
        TARNEL_LOG_WARN("GMSH reset: could not reload master mesh from " + backupPath + ": " + exception.what(),
                        kResetLocation);
        return "the backup file could not be reloaded";
    }
    if (inMemory && !readsBackExactly(masterName, *inMemory)) {
        removeModelsNamed(masterName);
        TARNEL_LOG_WARN("GMSH reset: master mesh reloaded from " + backupPath +
                            " differs from the one saved; the reloaded model is discarded.",
                        kResetLocation);
        return "the backup file did not read back exactly";
    }
    TARNEL_LOG_INFO("GMSH reset: reloaded master mesh from " + backupPath, kResetLocation);
    return "";
}

void startEmpty(const std::string& masterName, const std::string& why)
{
    removeModelsNamed(masterName);
    GmshAdapter::model::add(masterName);
    TARNEL_LOG_ERROR("GMSH reset: master mesh lost (" + why + "); created empty master mesh model.", kResetLocation);
}

void restoreFromMemory(const GmshAdapter::ModelCopy& inMemory, const std::string& why)
{
    try {
        GmshAdapter::restoreModel(inMemory);
        TARNEL_LOG_WARN("GMSH reset: restored master mesh from memory (" + why + ").", kResetLocation);
    } catch (const std::exception& exception) {
        startEmpty(inMemory.name, why + ", and restoring it from memory failed: " + exception.what());
    }
}

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
    TARNEL_LOG_WARN("Performing full GMSH session reset to recover from stuck CTX lock.", kResetLocation);
    const std::string masterName = static_cast<const Mesh&>(MasterMesh::getInstance()).modelName;
    const std::optional<GmshAdapter::ModelCopy> inMemory = copyInMemory(masterName);
    // Without an export directory the path would lie at the filesystem root.
    const std::string backupPath = meshExportPath.empty() ? "" : meshExportPath + "/" + masterName + ".msh";
    std::string notFromFile = saveBackup(masterName, backupPath);

    restartGmsh();

    // Only the file written just now is ever reloaded: one left by an earlier
    // reset holds an earlier master mesh.
    if (notFromFile.empty()) notFromFile = reloadBackup(masterName, backupPath, inMemory);
    if (!notFromFile.empty()) {
        if (inMemory)
            restoreFromMemory(*inMemory, notFromFile);
        else
            startEmpty(masterName, notFromFile);
    }
    TARNEL_LOG_INFO("GMSH session reset complete.", kResetLocation);
}

GEOMImpl_Gen* MeshEngineWrapper::GetGeomEngine() const
{
    return geomEngine;
}

}  // namespace Tarnel

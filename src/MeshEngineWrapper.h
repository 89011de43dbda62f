#pragma once

#include <string>

class GEOMImpl_Gen;

namespace Tarnel {

class Mesh;

// Owns the process-wide gmsh session for the whole library: initialises gmsh
// once, sets the session's options, creates the process-wide GEOM engine,
// keeps the export path, and is the only place that switches the current
// gmsh model. Not thread-safe beyond its own first construction: the host
// calls the library from one thread at a time.
class MeshEngineWrapper {
public:
    static MeshEngineWrapper& getInstance();

    MeshEngineWrapper(const MeshEngineWrapper&) = delete;
    MeshEngineWrapper& operator=(const MeshEngineWrapper&) = delete;

    // The directory to which meshes and asset files go.
    void SetMeshExportPath(std::string path);
    std::string GetMeshExportPath() const;
    // The export path without its last component.
    std::string GetWorkingDirectory() const;

    // Makes the master mesh's model current, creating the master mesh on
    // first use.
    void ActivateMasterMesh() const;
    // Makes the mesh's model current, adding an empty model of its name when
    // it does not exist. gmsh failures propagate.
    bool ActivateMesh(const Mesh& mesh) const;
    bool IsMeshActive(const Mesh& mesh) const;
    bool DoesMeshExist(const Mesh& mesh) const;
    // Removes the mesh's model; false with a warning when it does not exist.
    bool RemoveMesh(const Mesh& mesh) const;

    // Tears the gmsh session down and builds it up again, carrying the master
    // model across exactly (tags, coordinates, entities, physical groups);
    // every other model is lost. The master is saved to
    // "<export path>/<master model name>.msh" and reloaded from there when
    // that file could be written and reads back exactly; otherwise it is
    // restored from a copy taken in memory. Used after a failed meshing run.
    void ResetGmshSession() const;

    // The process-wide GEOM engine, through which a host turns an
    // OpenCASCADE shape into a GEOM object.
    GEOMImpl_Gen* GetGeomEngine() const;

private:
    MeshEngineWrapper();
    ~MeshEngineWrapper();

    GEOMImpl_Gen* geomEngine = nullptr;
    std::string meshExportPath;
};

}  // namespace Tarnel

#pragma once

#include <string>

#include "Entities/Mesh.h"
#include "GEOM_Object.hxx"
#include "Settings/Mesh1DSettings.h"
#include "Settings/Mesh2DSettings.h"

namespace Tarnel {

// Fills a host's mesh from a geometry object: line elements for an edge,
// surface elements for a face. The result is read from the mesh (its
// validity, error message and elements). Holds no state.
class MeshFactory {
public:
    MeshFactory();
    ~MeshFactory();

    void Create1DMesh(Mesh& mesh, opencascade::handle<GEOM_Object>& geometry, Mesh1DSettings settings);
    // With `remesh`, the lighter remeshing run instead of the full one.
    void Create2DMesh(Mesh& mesh, opencascade::handle<GEOM_Object>& geometry, Mesh2DSettings settings, bool remesh);

    // The directory to which meshes, asset files and the temporary STEP file
    // go (the engine wrapper's export path).
    static void SetExportDirectory(std::string directory);
    static std::string GetExportDirectory();
};

}  // namespace Tarnel

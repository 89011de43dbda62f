#pragma once

#include <TopoDS_Shape.hxx>

#include "Entities/Mesh.h"
#include "Settings/Mesh1DSettings.h"

namespace Tarnel {

// Meshes an edge with line elements into the caller's mesh. Lives for one
// call; the caller keeps the mesh and the shape alive meanwhile.
class Mesher1D {
public:
    // A null shape makes the mesher invalid (logged).
    Mesher1D(Mesh& mesh, TopoDS_Shape& shape);

    // Success, or Failed (logged, and gmsh's text stored on the mesh). A size
    // that is not a positive finite number, too many elements for the
    // settings' maximum or no export directory fail before gmsh starts.
    MeshingResult ComputeMesh(Mesh1DSettings settings);
    Mesh GetAssociatedMesh() const;

private:
    TopoDS_Shape& shape;
    bool isValid = true;
    Mesh& mesh;
};

}  // namespace Tarnel

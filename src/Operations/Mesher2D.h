#pragma once

#include <string>

#include <TopoDS_Shape.hxx>

#include "Entities/Mesh.h"
#include "Settings/Mesh2DSettings.h"

namespace Tarnel {

// Meshes a face into the caller's mesh with triangles or, with recombination,
// quadrangles, and marks the mesh so that only its 2D elements are placed.
// Lives for one call; the caller keeps the mesh and the shape alive
// meanwhile. A failed run stores gmsh's text on the mesh and resets the gmsh
// session around the master mesh; a request refused before gmsh starts (a
// size that is zero or not finite, too many elements for the settings'
// maximum, no export directory) stores the reason and leaves gmsh alone.
class Mesher2D {
public:
    // A null shape makes the mesher invalid (logged).
    Mesher2D(Mesh& mesh, TopoDS_Shape& shape);

    // The full run: fixed session and quality options, the settings' options,
    // edge seeds as transfinite curves, and transfinite quadrangles when
    // quasi-structured quadrangles are asked for with seeds.
    MeshingResult ComputeMesh(Mesh2DSettings settings);
    // A lighter run: every curve transfinite with one node, only the
    // settings' size, order, algorithm and recombination options, no seeds,
    // no logging on the way.
    MeshingResult ComputeRemesh(Mesh2DSettings settings);
    Mesh GetAssociatedMesh() const;

private:
    MeshingResult _refused(const std::string& refusal, const char* location);
    MeshingResult _failed(const std::exception& exception, const char* location);

    TopoDS_Shape& shape;
    bool isValid = true;
    Mesh& mesh;
};

}  // namespace Tarnel

#pragma once

// The enumerations of the meshing settings. Most are gmsh option values in
// disguise: a mesher passes the enumerator's number to the gmsh option named
// beside it, so the numbers are binding and must never be changed.
namespace Tarnel {

// "Mesh.ElementOrder"; 0 meshes as first order.
enum class MeshElementOrder : int { Default = 0, Linear = 1, Quadratic = 2, Cubic = 3 };

// "Mesh.Algorithm", in gmsh's numbering.
enum class Mesh2DAlgorithmChoice : int {
    MeshAdapt = 1,
    Automatic = 2,
    InitialMeshOnly = 3,
    Delaunay = 5,
    FrontalDelaunay = 6,
    BAMG = 7,
    FrontalDelaunayQuads = 8,
    PackingOfParallelograms = 9,
    QuasiStructuredQuad = 11
};

// "Mesh.RecombineAll".
enum class RecombineAll : int { Disabled = 0, Enabled = 1 };

// "Mesh.RecombinationAlgorithm".
enum class RecombinationAlgorithm : int { Simple = 0, Blossom = 1, SimpleFullQuad = 2, BlossomFullQuad = 3 };

// "Mesh.RecombineNodeRepositioning".
enum class RecombineNodePositioning : int { Off = 0, On = 1 };

// Stored and logged by the 3D mesher; no gmsh option follows from them.
enum class Mesh3DAlgorithmChoice : int { Delaunay = 1, Frontal = 4, HXT = 10 };
enum class Target3DMeshType : int { Tetrahedra = 4, Hexahedra = 5, Prisms = 6, Pyramids = 7 };

// The outcome of a 1D or 2D meshing call.
enum class MeshingResult : int { Success = 0, SuccessWithWarnings = 1, Failed = 2 };

}  // namespace Tarnel

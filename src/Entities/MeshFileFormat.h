#pragma once

#include <string>

namespace Tarnel {

// Mesh file formats; gmsh picks its reader or writer by the extension.
enum class MeshFileFormat : int { NONE = 0, MSH = 1, MED = 2, STL = 3, INP = 4 };

// ".msh", ".med", ".stl", ".inp"; throws MorvaneException "Unsupported mesh
// file format extension!" for any other value, NONE included.
std::string GetMeshFileExtension(MeshFileFormat format);

}  // namespace Tarnel

#include "Entities/MeshFileFormat.h"

#include "Diagnostics/MorvaneException.h"

namespace Tarnel {

std::string GetMeshFileExtension(MeshFileFormat format)
{
    switch (format) {
    case MeshFileFormat::MSH: return ".msh";
    case MeshFileFormat::MED: return ".med";
    case MeshFileFormat::STL: return ".stl";
    case MeshFileFormat::INP: return ".inp";
    case MeshFileFormat::NONE: break;
    }
    throw MorvaneException("Unsupported mesh file format extension!");
}

}  // namespace Tarnel

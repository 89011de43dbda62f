#include "Settings/Mesh3DSettings.h"

namespace Tarnel {

Mesh3DSettings::Mesh3DSettings(double elementSize, Target3DMeshType elementType, Mesh3DAlgorithmChoice algorithm,
                               MeshElementOrder order)
    : elementSize(elementSize), meshAlgorithmChoice(algorithm), elementType(elementType), elementOrder(order)
{
}

double Mesh3DSettings::GetElementSize() const { return elementSize; }
MeshElementOrder Mesh3DSettings::GetElementOrder() const { return elementOrder; }
Mesh3DAlgorithmChoice Mesh3DSettings::GetMeshAlgorithmChoice() const { return meshAlgorithmChoice; }
Target3DMeshType Mesh3DSettings::GetElementType() const { return elementType; }
void Mesh3DSettings::SetElementSize(double size) { elementSize = size; }
void Mesh3DSettings::SetElementOrder(MeshElementOrder order) { elementOrder = order; }
void Mesh3DSettings::SetElementType(Target3DMeshType type) { elementType = type; }

}  // namespace Tarnel

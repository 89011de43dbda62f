#pragma once

#include "Settings/MeshingEnumerations.h"

namespace Tarnel {

// How a closed shell is filled: the element size feeds
// "Mesh.CharacteristicLengthMax" when it is positive, the order
// "Mesh.ElementOrder"; type and algorithm are only logged. Note the argument
// order: the type comes before the algorithm.
class Mesh3DSettings {
public:
    Mesh3DSettings(double elementSize, Target3DMeshType elementType, Mesh3DAlgorithmChoice algorithm,
                   MeshElementOrder order);

    double GetElementSize() const;
    MeshElementOrder GetElementOrder() const;
    Mesh3DAlgorithmChoice GetMeshAlgorithmChoice() const;
    Target3DMeshType GetElementType() const;
    void SetElementSize(double size);
    void SetElementOrder(MeshElementOrder order);
    void SetElementType(Target3DMeshType type);

private:
    double elementSize;
    Mesh3DAlgorithmChoice meshAlgorithmChoice;
    Target3DMeshType elementType;
    MeshElementOrder elementOrder;
};

}  // namespace Tarnel

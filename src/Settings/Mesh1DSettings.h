#pragma once

#include <vector>

#include "Settings/EdgeSeedingParameters.h"
#include "Settings/MeshingEnumerations.h"

namespace Tarnel {

// How an edge is meshed: the element size feeds "Mesh.MeshSizeMin" and
// "Mesh.MeshSizeMax"; order and seeds are stored, not used by the 1D mesher.
class Mesh1DSettings {
public:
    Mesh1DSettings(double elementSize, MeshElementOrder order);

    double GetElementSize() const;
    MeshElementOrder GetElementOrder() const;
    std::vector<EdgeSeedingParameters> GetEdgeSeedingParameters() const;
    void SetElementSize(double size);
    void SetElementOrder(MeshElementOrder order);
    void SetEdgeSeedingParameters(std::vector<EdgeSeedingParameters> seeds);

private:
    double elementSize;
    MeshElementOrder elementOrder;
    std::vector<EdgeSeedingParameters> edgeSeedingParameters;
};

}  // namespace Tarnel

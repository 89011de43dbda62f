#pragma once

#include <cstddef>
#include <vector>

#include "Settings/EdgeSeedingParameters.h"
#include "Settings/MeshingEnumerations.h"

namespace Tarnel {

// How an edge is meshed: the element size feeds "Mesh.MeshSizeMin" and
// "Mesh.MeshSizeMax"; order and seeds are stored, not used by the 1D mesher.
class Mesh1DSettings {
public:
    // The 1D mesher refuses a request whose element count (edge length /
    // size) is above the maximum before gmsh starts: a size far too small
    // for the edge would otherwise hold the host for as long as gmsh needs
    // and all the memory it takes (ten million line elements take gmsh
    // about 2.4 GB). The same default as for faces.
    static constexpr std::size_t kDefaultMaximumElementCount = 10000000;

    Mesh1DSettings(double elementSize, MeshElementOrder order);

    double GetElementSize() const;
    MeshElementOrder GetElementOrder() const;
    std::vector<EdgeSeedingParameters> GetEdgeSeedingParameters() const;
    std::size_t GetMaximumElementCount() const;
    void SetElementSize(double size);
    void SetElementOrder(MeshElementOrder order);
    void SetEdgeSeedingParameters(std::vector<EdgeSeedingParameters> seeds);
    void SetMaximumElementCount(std::size_t count);

private:
    double elementSize;
    MeshElementOrder elementOrder;
    std::vector<EdgeSeedingParameters> edgeSeedingParameters;
    std::size_t maximumElementCount = kDefaultMaximumElementCount;
};

}  // namespace Tarnel

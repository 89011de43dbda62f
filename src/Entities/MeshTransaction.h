#pragma once

#include <vector>

namespace Tarnel {

// What one editing step created and removed, handed back to the host.
struct MeshTransaction {
    int componentMeshId = -1;
    std::vector<int> removedElementIds;
    // Carried and copied; no operation of this library fills it.
    std::vector<int> auxiliaryIds;
    // Five ints per created element, in creation order: element ID, component
    // mesh ID, ID of the component's element set that holds it, ElementShape,
    // SolverElementType.
    std::vector<int> createdElements;
    // The node list of each created element, in the order of createdElements.
    std::vector<std::vector<int>> createdElementNodeIds;
    std::vector<int> createdNodeIds;
    // Four values per created node: ID, x, y, z.
    std::vector<double> createdNodeRecords;
};

}  // namespace Tarnel

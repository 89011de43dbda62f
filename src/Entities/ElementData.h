#pragma once

#include <vector>

namespace Tarnel {

// A batch of elements of one shape: the node lists of all elements one after
// the other, and one entry per element (its solver type, in a batch given to
// MasterMesh::AddElements).
struct ElementData {
    std::vector<int> nodeIds;
    std::vector<int> elementIds;
};

}  // namespace Tarnel

#pragma once

#include <utility>
#include <vector>

namespace Tarnel {

// Where an element belongs: its component mesh, the component's element set
// that holds it, and the master mesh's named element sets that contain it.
// Valid exactly when both integers differ from -1 at construction.
struct ElementOrigin {
    int componentMeshId = -1;
    int elementSetId = -1;
    std::vector<int> namedSetIds;
    bool isValid = false;

    ElementOrigin() = default;
    ElementOrigin(int componentMeshId, int elementSetId, std::vector<int> namedSetIds = {})
        : componentMeshId(componentMeshId),
          elementSetId(elementSetId),
          namedSetIds(std::move(namedSetIds)),
          isValid(componentMeshId != -1 && elementSetId != -1)
    {
    }
};

}  // namespace Tarnel

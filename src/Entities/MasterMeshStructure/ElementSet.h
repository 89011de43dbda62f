#pragma once

#include "Entities/MasterMeshStructure/MeshReference.h"

namespace Tarnel {

// A reference to elements. Node operations are refused with a logged error
// (the plural removal simply finds nothing to remove).
class ElementSet : public MeshReference {
public:
    ElementSet();
    explicit ElementSet(int id);

    ValueRange<int> GetIDsValueRange() const override;
    void AddNodeID(int id) override;
    bool HasNodeID(int id) const override;
    void RemoveNodeID(int id) override;
};

}  // namespace Tarnel

#pragma once

#include "Entities/MasterMeshStructure/MeshReference.h"

namespace Tarnel {

// A reference to nodes. Element operations are refused with a logged error
// (the plural removal simply finds nothing to remove).
class NodeSet : public MeshReference {
public:
    NodeSet();
    explicit NodeSet(int id);

    ValueRange<int> GetIDsValueRange() const override;
    void AddElementID(int id) override;
    bool HasElementID(int id) const override;
    void RemoveElementID(int id) override;
};

}  // namespace Tarnel

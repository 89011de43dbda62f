#pragma once

#include "Entities/MasterMeshStructure/MeshReference.h"

namespace Tarnel {

// A reference to nodes and elements together.
class MixedSet : public MeshReference {
public:
    MixedSet();
    explicit MixedSet(int id);
};

}  // namespace Tarnel

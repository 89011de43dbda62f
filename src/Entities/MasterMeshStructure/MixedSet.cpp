#include "Entities/MasterMeshStructure/MixedSet.h"

namespace Tarnel {

MixedSet::MixedSet() = default;

MixedSet::MixedSet(int id) : MeshReference(id, MIXED_SET) {}

}  // namespace Tarnel

#include "Entities/MasterMeshStructure/ElementSet.h"

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/ElementSet";
const char* const kRefused = "Invalid operation for ElementSet!";

}  // namespace

ElementSet::ElementSet() = default;

ElementSet::ElementSet(int id) : MeshReference(id, ELEMENT_SET) {}

ValueRange<int> ElementSet::GetIDsValueRange() const
{
    return elementIds.empty() ? ValueRange<int>(0, 0) : ValueRange<int>(elementIds);
}

void ElementSet::AddNodeID(int)
{
    TARNEL_LOG_ERROR(kRefused, "Tarnel::ElementSet::AddNodeID");
}

bool ElementSet::HasNodeID(int) const
{
    TARNEL_LOG_ERROR(kRefused, "Tarnel::ElementSet::HasNodeID");
    return false;
}

void ElementSet::RemoveNodeID(int)
{
    TARNEL_LOG_ERROR(kRefused, "Tarnel::ElementSet::RemoveNodeID");
}

}  // namespace Tarnel

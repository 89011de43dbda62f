#include "Entities/MasterMeshStructure/NodeSet.h"

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/NodeSet";
const char* const kRefused = "Invalid operation for NodeSet!";

}  // namespace

NodeSet::NodeSet() = default;

NodeSet::NodeSet(int id) : MeshReference(id, NODE_SET) {}

ValueRange<int> NodeSet::GetIDsValueRange() const
{
    return nodeIds.empty() ? ValueRange<int>(0, 0) : ValueRange<int>(nodeIds);
}

void NodeSet::AddElementID(int)
{
    TARNEL_LOG_ERROR(kRefused, "Tarnel::NodeSet::AddElementID");
}

bool NodeSet::HasElementID(int) const
{
    TARNEL_LOG_ERROR(kRefused, "Tarnel::NodeSet::HasElementID");
    return false;
}

void NodeSet::RemoveElementID(int)
{
    TARNEL_LOG_ERROR(kRefused, "Tarnel::NodeSet::RemoveElementID");
}

}  // namespace Tarnel

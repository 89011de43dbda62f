#include "Entities/MasterMeshStructure/MeshReference.h"

#include <algorithm>
#include <utility>

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MeshReference";
const char* const kModifyLocation = "Tarnel::MeshReference::ModifyConstituentIDs";

// Accepted IDs are collected first and applied afterwards, so that every
// request is judged against the sets as they were at the call.
std::vector<int> acceptIds(const std::unordered_set<int>& requested, const std::unordered_set<int>& current,
                           bool mustBePresent, const std::string& kind, const char* rejection)
{
    std::vector<int> accepted;
    for (int id : requested) {
        const bool present = current.count(id) != 0;
        if (present == mustBePresent)
            accepted.push_back(id);
        else
            TARNEL_LOG_WARN("Warning: " + kind + " ID " + std::to_string(id) + rejection, kModifyLocation);
    }
    return accepted;
}

void widenRange(const std::unordered_set<int>& ids, bool& any, ValueRange<int>& range)
{
    if (ids.empty()) return;
    const ValueRange<int> own(ids);
    range.min = any ? std::min(range.min, own.min) : own.min;
    range.max = any ? std::max(range.max, own.max) : own.max;
    any = true;
}

}  // namespace

MeshReference::MeshReference() : Mesh(false) {}

MeshReference::MeshReference(int componentId, MeshReferenceType type)
    : Mesh(false), componentId(componentId), referenceType(type)
{
}

MeshReference::~MeshReference() = default;

int MeshReference::GetComponentId() const
{
    return componentId;
}

MeshReferenceType MeshReference::GetMeshReferenceType() const
{
    return referenceType;
}

std::unordered_set<int> MeshReference::GetNodeIds() const
{
    return nodeIds;
}

std::unordered_set<int> MeshReference::GetElementIds() const
{
    return elementIds;
}

void MeshReference::SetNodeIds(std::unordered_set<int> ids)
{
    nodeIds = std::move(ids);
}

void MeshReference::SetElementIds(std::unordered_set<int> ids)
{
    elementIds = std::move(ids);
}

std::size_t MeshReference::GetNodeCount() const
{
    return nodeIds.size();
}

std::size_t MeshReference::GetElementCount() const
{
    return elementIds.size();
}

ValueRange<int> MeshReference::GetIDsValueRange() const
{
    ValueRange<int> range(0, 0);
    bool any = false;
    widenRange(nodeIds, any, range);
    widenRange(elementIds, any, range);
    return range;
}

void MeshReference::AddNodeID(int id)
{
    nodeIds.insert(id);
}

void MeshReference::AddElementID(int id)
{
    elementIds.insert(id);
}

bool MeshReference::HasNodeID(int id) const
{
    return nodeIds.count(id) != 0;
}

bool MeshReference::HasElementID(int id) const
{
    return elementIds.count(id) != 0;
}

void MeshReference::RemoveNodeID(int id)
{
    nodeIds.erase(id);
}

void MeshReference::RemoveElementID(int id)
{
    elementIds.erase(id);
}

void MeshReference::RemoveNodeIDs(std::vector<int> ids)
{
    for (int id : ids) nodeIds.erase(id);
}

void MeshReference::RemoveElementIDs(std::vector<int> ids)
{
    for (int id : ids) elementIds.erase(id);
}

void MeshReference::ClearReferences()
{
    nodeIds.clear();
    elementIds.clear();
}

bool MeshReference::IsReferenceEmpty() const
{
    return nodeIds.empty() && elementIds.empty();
}

bool MeshReference::ModifyConstituentIDs(std::unordered_set<int>& elementIdsToAdd,
                                         std::unordered_set<int>& elementIdsToRemove,
                                         std::unordered_set<int>& nodeIdsToAdd,
                                         std::unordered_set<int>& nodeIdsToRemove)
{
    const char* const exists = " already exists in the component mesh.";
    const char* const missing = " does not exist in the component mesh.";
    const std::vector<int> elementsToAdd = acceptIds(elementIdsToAdd, elementIds, false, "Element", exists);
    const std::vector<int> elementsToRemove = acceptIds(elementIdsToRemove, elementIds, true, "Element", missing);
    const std::vector<int> nodesToAdd = acceptIds(nodeIdsToAdd, nodeIds, false, "Node", exists);
    const std::vector<int> nodesToRemove = acceptIds(nodeIdsToRemove, nodeIds, true, "Node", missing);

    elementIds.insert(elementsToAdd.begin(), elementsToAdd.end());
    for (int id : elementsToRemove) elementIds.erase(id);
    nodeIds.insert(nodesToAdd.begin(), nodesToAdd.end());
    for (int id : nodesToRemove) nodeIds.erase(id);
    return true;
}

void MeshReference::ReserveElementIds(std::size_t count)
{
    elementIds.reserve(elementIds.size() + count);
}

void MeshReference::ReserveNodeIds(std::size_t count)
{
    nodeIds.reserve(nodeIds.size() + count);
}

}  // namespace Tarnel

#pragma once

#include <cstddef>
#include <unordered_set>
#include <vector>

#include "Entities/Mesh.h"
#include "Entities/MasterMeshStructure/MeshReferenceType.h"
#include "Entities/ValueRange.h"

namespace Tarnel {

// Names a part of the master mesh by IDs: node IDs, element IDs or both. The
// nodes and elements themselves live in the master mesh; the Mesh part of a
// reference has no gmsh model and is not used by the reference operations.
//
// Invariants: `elementIds` and `nodeIds` hold each ID at most once; the type
// and the ID are fixed at construction.
class MeshReference : public Mesh {
public:
    MeshReference();
    MeshReference(int componentId, MeshReferenceType type);
    MeshReference(const MeshReference&) = default;
    MeshReference& operator=(const MeshReference&) = default;
    ~MeshReference() override;

    int GetComponentId() const;
    MeshReferenceType GetMeshReferenceType() const;

    std::unordered_set<int> GetNodeIds() const;
    std::unordered_set<int> GetElementIds() const;
    void SetNodeIds(std::unordered_set<int> ids);
    void SetElementIds(std::unordered_set<int> ids);
    std::size_t GetNodeCount() const;
    std::size_t GetElementCount() const;
    // The IDs without copying them.
    const std::unordered_set<int>& NodeIds() const { return nodeIds; }
    const std::unordered_set<int>& ElementIds() const { return elementIds; }

    // Smallest and largest of the IDs ranged over; empty sets take no part,
    // and a reference without IDs gives {0, 0}.
    virtual ValueRange<int> GetIDsValueRange() const;
    virtual void AddNodeID(int id);
    virtual void AddElementID(int id);
    virtual bool HasNodeID(int id) const;
    virtual bool HasElementID(int id) const;
    virtual void RemoveNodeID(int id);
    virtual void RemoveElementID(int id);
    virtual void RemoveNodeIDs(std::vector<int> ids);
    virtual void RemoveElementIDs(std::vector<int> ids);

    void ClearReferences();
    bool IsReferenceEmpty() const;

    // Checks every requested ID against the sets as they stand at the call,
    // warns about the IDs it rejects, then applies the accepted ones. The
    // argument sets are only read.
    bool ModifyConstituentIDs(std::unordered_set<int>& elementIdsToAdd, std::unordered_set<int>& elementIdsToRemove,
                              std::unordered_set<int>& nodeIdsToAdd, std::unordered_set<int>& nodeIdsToRemove);

    // Reserve room for `count` more IDs.
    void ReserveElementIds(std::size_t count);
    void ReserveNodeIds(std::size_t count);

protected:
    int componentId = -1;
    MeshReferenceType referenceType = UNDEFINED;
    std::unordered_set<int> elementIds;
    std::unordered_set<int> nodeIds;
};

}  // namespace Tarnel

#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "AssetFile.h"
#include "Entities/MasterMeshStructure/NodeSet.h"

namespace Tarnel {

// Which nodes of the master mesh are alive. Nodes are never deleted from the
// gmsh model; a deleted node moves from the active to the removed set. The
// repository is also the asset file "AllActiveNodes.mshp" in which the host
// reads the active nodes.
//
// Invariants: an ID is never in both sets; every active ID is a node tag of
// the master model; removed IDs are never reused.
class NodeRepository : public AssetFile {
public:
    // The asset file is directory + "/AllActiveNodes.mshp"; the directory is
    // not created here. Without a directory the file is never touched: its
    // path would name the filesystem root.
    explicit NodeRepository(const std::string& directory);

    NodeSet* GetActiveNodes();
    NodeSet* GetRemovedNodes();

    // Activates `addedIds`; moves `removedIds` to the removed set (recording
    // them as removed even when they were not active). When both sets end up
    // empty the asset file is cleared.
    void ModifyNodeIds(const std::unordered_set<int>& addedIds, const std::unordered_set<int>& removedIds);
    // Activates the IDs: ModifyNodeIds(addedIds, {}) without building a set.
    void ActivateNodeIds(const std::vector<int>& addedIds);
    // Writes the active nodes with their coordinates, read from the master
    // model; refused (logged) without a directory. gmsh failures propagate.
    void WriteOutAssetFile();
    void Clear();

private:
    NodeSet removedNodes;
    NodeSet activeNodes;
    // False when constructed without a directory.
    bool hasDirectory;
};

}  // namespace Tarnel

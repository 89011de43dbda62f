// Mirror and translate: new nodes at moved positions, the elements rebuilt
// on them.

#include "Entities/MasterMeshStructure/MasterMesh.h"

namespace Tarnel {

std::vector<Node> MasterMesh::MirrorNodes(std::vector<int>, std::vector<float>, std::vector<float>,
                                          std::unordered_map<std::string, int>&, bool)
{
    return {};
}

std::vector<MeshTransaction> MasterMesh::MirrorElements(int, std::vector<int>, std::vector<float>,
                                                        std::vector<float>, std::unordered_map<std::string, int>&,
                                                        bool)
{
    return {};
}

std::vector<MeshTransaction> MasterMesh::TranslateNodes(std::vector<int>, std::vector<float>,
                                                        std::unordered_map<std::string, int>&, bool)
{
    return {};
}

}  // namespace Tarnel

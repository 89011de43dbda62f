// Copy and cut-paste of elements into another component, with the couplings
// whose beams they are.

#include "Entities/MasterMeshStructure/MasterMesh.h"

namespace Tarnel {

MeshTransaction MasterMesh::CopyPaste_CutPaste_ElementsAndNodes(const std::unordered_set<int>&,
                                                                const std::unordered_set<int>&, int,
                                                                std::unordered_map<std::string, int>&, bool)
{
    return {};
}

MeshTransaction MasterMesh::_copyElementsTo(int, std::vector<Element>&, std::unordered_map<std::string, int>&)
{
    return {};
}

MeshTransaction MasterMesh::_moveElementsTo(int, std::vector<Element>&, std::unordered_map<std::string, int>&)
{
    return {};
}

void MasterMesh::_applyCouplingMigrations(const std::vector<CouplingMigration>&, const MeshTransaction&, std::size_t,
                                          int, bool, const std::unordered_map<int, int>&)
{
}

}  // namespace Tarnel

#include "Entities/MasterMeshStructure/NodeRepository.h"

#include <vector>

#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/NodeRepository";

}  // namespace

NodeRepository::NodeRepository(const std::string& directory)
    : AssetFile(directory + "/AllActiveNodes.mshp"), hasDirectory(!directory.empty())
{
}

NodeSet* NodeRepository::GetActiveNodes()
{
    return &activeNodes;
}

NodeSet* NodeRepository::GetRemovedNodes()
{
    return &removedNodes;
}

void NodeRepository::ModifyNodeIds(const std::unordered_set<int>& addedIds, const std::unordered_set<int>& removedIds)
{
    for (int id : addedIds) activeNodes.AddNodeID(id);
    for (int id : removedIds) {
        activeNodes.RemoveNodeID(id);
        removedNodes.AddNodeID(id);
    }
    if (activeNodes.IsReferenceEmpty() && removedNodes.IsReferenceEmpty()) Clear();
}

void NodeRepository::ActivateNodeIds(const std::vector<int>& addedIds)
{
    activeNodes.ReserveNodeIds(addedIds.size());
    for (int id : addedIds) activeNodes.AddNodeID(id);
    if (activeNodes.IsReferenceEmpty() && removedNodes.IsReferenceEmpty()) Clear();
}

void NodeRepository::WriteOutAssetFile()
{
    if (!hasDirectory) {
        TARNEL_LOG_ERROR("Export directory was not set when the master mesh was created, we are not writing out "
                         "AllActiveNodes.mshp!",
                         "Tarnel::NodeRepository::WriteOutAssetFile");
        return;
    }
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    const std::unordered_set<int> activeIds = activeNodes.GetNodeIds();

    ClearFile();
    std::fstream& file = *GetFilePtr();
    if (!file.is_open()) {
        TARNEL_LOG_ERROR("Could not open Node Repository file for writing!", "Tarnel::NodeRepository::WriteOutAssetFile");
        return;
    }

    std::vector<std::size_t> tags;
    std::vector<double> coordinates;
    std::vector<double> parametricCoordinates;
    GmshAdapter::model::mesh::getNodes(tags, coordinates, parametricCoordinates, -1, -1, false, true);
    std::vector<std::size_t> kept;
    kept.reserve(activeIds.size());
    for (std::size_t i = 0; i < tags.size(); ++i)
        if (activeIds.count(static_cast<int>(tags[i])) != 0) kept.push_back(i);

    const ValueRange<int> range = activeIds.empty() ? ValueRange<int>(0, 0) : ValueRange<int>(activeIds);
    file << "$Nodes\n";
    file << "1 " << kept.size() << " " << range.min << " " << range.max << "\n";
    file << "2 0 1 " << kept.size() << "\n";
    for (std::size_t index : kept) file << tags[index] << "\n";
    for (std::size_t index : kept)
        file << coordinates[3 * index] << " " << coordinates[3 * index + 1] << " " << coordinates[3 * index + 2]
             << "\n";
    file << "$EndNodes";
    file.flush();
}

void NodeRepository::Clear()
{
    if (hasDirectory) ClearFile();
    removedNodes = NodeSet();
    activeNodes = NodeSet();
}

}  // namespace Tarnel

// Copy and cut-paste of elements into another component, with the couplings
// whose beams they are.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>

#include "Diagnostics/MorvaneException.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";

void activateMaster()
{
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
}

// The shapes of the rebuild shape order: the only ones a paste re-creates.
bool isRebuildShape(ElementShape shape)
{
    switch (shape) {
    case POINT_1NODE:
    case LINE_2NODE:
    case TRIANGLE_3NODE:
    case QUAD_4NODE:
    case TETRA_4NODE:
    case PYRAMID_5NODE:
    case PRISM_6NODE:
    case HEXA_8NODE: return true;
    default: return false;
    }
}

// The selection is pasted in ascending ID order, so that the new IDs follow
// from the input alone and not from the history of the host's hash set.
std::vector<int> ascending(const std::unordered_set<int>& ids)
{
    std::vector<int> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// The distinct nodes of the elements in first-occurrence order: element by
// element, node by node.
std::vector<int> distinctNodesOf(const std::vector<Element>& elements)
{
    std::vector<int> nodes;
    std::unordered_set<int> seen;
    for (const Element& element : elements)
        for (int node : element.nodeIds)
            if (seen.insert(node).second) nodes.push_back(node);
    return nodes;
}

// The one transaction of a paste. An empty selection collects no batch and so
// gets no transaction from the rebuild; it answers the target component with
// nothing created.
MeshTransaction pasteTransaction(std::vector<MeshTransaction>&& added, int targetComponentMeshId,
                                 const std::vector<int>& nodeIds, const std::vector<double>& nodeRecords)
{
    if (!added.empty()) return std::move(added.front());
    MeshTransaction transaction;
    transaction.componentMeshId = targetComponentMeshId;
    transaction.createdNodeIds = nodeIds;
    transaction.createdNodeRecords = nodeRecords;
    return transaction;
}

}  // namespace

MeshTransaction MasterMesh::CopyPaste_CutPaste_ElementsAndNodes(const std::unordered_set<int>& nodeIds,
                                                                const std::unordered_set<int>& elementIds,
                                                                int targetComponentMeshId,
                                                                std::unordered_map<std::string, int>& solverTypesByShape,
                                                                bool isCut)
{
    try {
        activateMaster();
        const std::vector<int> selectedIds = ascending(elementIds);
        std::vector<Element> selection;
        selection.reserve(selectedIds.size());
        for (int id : selectedIds) selection.push_back(GetElementDefinition(id));

        // Everything is checked before the first node is copied, so that a
        // refused paste leaves the master mesh as it was. An unknown element
        // ID arrives here as an INVALID element.
        for (const Element& element : selection)
            if (!isRebuildShape(element.shape))
                throw MorvaneException(std::string(isCut ? "_moveElementsTo" : "_copyElementsTo") +
                                       ": Invalid element shape.");
        const std::unordered_set<int>& active = nodeRepository.GetActiveNodes()->NodeIds();
        const std::vector<int> freeNodes = ascending(nodeIds);
        for (int node : freeNodes)
            if (active.count(node) == 0)
                throw MorvaneException("Node with ID = " + std::to_string(node) +
                                       " is not an active node of the master mesh and cannot be copied.");

        // The copies of the free nodes are the host's to place; no
        // transaction lists them.
        if (!freeNodes.empty()) {
            std::vector<XYZ> positions;
            positions.reserve(freeNodes.size());
            for (int node : freeNodes) positions.push_back(getNodePosition(node));
            if (AddNodes(positions, false).size() != positions.size())
                throw MorvaneException(std::string("The selected nodes could not be copied."));
        }

        if (!isCut) return _copyElementsTo(targetComponentMeshId, selection, solverTypesByShape);

        MeshTransaction transaction = _moveElementsTo(targetComponentMeshId, selection, solverTypesByShape);
        std::unordered_set<int> orphans;
        // The host must not be told of a removal that did not happen.
        if (DeleteElements(elementIds, orphans, false))
            transaction.removedElementIds = selectedIds;
        else
            TARNEL_LOG_ERROR("Cut-paste could not delete the original elements; they stay next to their copies in "
                             "mesh component " +
                                 std::to_string(targetComponentMeshId) + ".",
                             "Tarnel::MasterMesh::CopyPaste_CutPaste_ElementsAndNodes");
        return transaction;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("CopyPaste_CutPaste Mesh Entities error", exception,
                             "Tarnel::MasterMesh::CopyPaste_CutPaste_ElementsAndNodes");
        return MeshTransaction();
    }
}

MeshTransaction MasterMesh::_copyElementsTo(int targetComponentMeshId, std::vector<Element>& selection,
                                            std::unordered_map<std::string, int>& solverTypesByShape)
{
    activateMaster();
    const std::vector<CouplingMigration> migrations =
        FindFullySelectedCouplings(selection, kinematicCouplings, distributingCouplings);
    const std::vector<SolverElementType> solverTypes = _rebuildSolverTypes(solverTypesByShape);

    // The i-th new node copies the i-th distinct node of the selection.
    const std::vector<int> sourceNodes = distinctNodesOf(selection);
    std::vector<XYZ> positions;
    positions.reserve(sourceNodes.size());
    for (int node : sourceNodes) {
        const XYZ position = getNodePosition(node);
        positions.push_back(position.IsValid() ? position : XYZ(0, 0, 0));
    }
    const std::vector<Node> copies = AddNodes(positions, false);
    if (copies.size() != sourceNodes.size())
        throw MorvaneException(std::string("_copyElementsTo: the nodes of the elements could not be copied."));
    std::unordered_map<int, int> copiedNodeIds;
    copiedNodeIds.reserve(copies.size());
    std::vector<double> nodeRecords;
    nodeRecords.reserve(4 * copies.size());
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const Node& copy = copies[i];
        copiedNodeIds.emplace(sourceNodes[i], static_cast<int>(copy.id));
        nodeRecords.insert(nodeRecords.end(),
                           {static_cast<double>(copy.id), copy.position.X(), copy.position.Y(), copy.position.Z()});
    }

    std::unordered_map<int, std::vector<ElementData>> batches;
    std::vector<int> copiedNodes;
    for (const Element& element : selection) {
        copiedNodes.clear();
        for (int node : element.nodeIds) copiedNodes.push_back(copiedNodeIds.at(node));
        _addElementToShapeBatch(element.shape, element.solverType, targetComponentMeshId, copiedNodes, batches,
                                "_copyElementsTo");
    }
    MeshTransaction transaction =
        pasteTransaction(_rebuildShapeBatches(batches, solverTypes, {}, nodeRecords, false), targetComponentMeshId,
                         {}, nodeRecords);
    if (!migrations.empty())
        _applyCouplingMigrations(migrations, transaction, batches[targetComponentMeshId].front().nodeIds.size(),
                                 targetComponentMeshId, false, copiedNodeIds);
    return transaction;
}

MeshTransaction MasterMesh::_moveElementsTo(int targetComponentMeshId, std::vector<Element>& selection,
                                            std::unordered_map<std::string, int>& solverTypesByShape)
{
    activateMaster();
    const std::vector<CouplingMigration> migrations =
        FindFullySelectedCouplings(selection, kinematicCouplings, distributingCouplings);
    const std::vector<SolverElementType> solverTypes = _rebuildSolverTypes(solverTypesByShape);

    std::unordered_map<int, std::vector<ElementData>> batches;
    for (const Element& element : selection)
        _addElementToShapeBatch(element.shape, element.solverType, targetComponentMeshId, element.nodeIds, batches,
                                "_moveElementsTo");
    const std::vector<int> nodeIds = distinctNodesOf(selection);
    MeshTransaction transaction = pasteTransaction(_rebuildShapeBatches(batches, solverTypes, nodeIds, {}, false),
                                                   targetComponentMeshId, nodeIds, {});
    if (!migrations.empty())
        _applyCouplingMigrations(migrations, transaction, batches[targetComponentMeshId].front().nodeIds.size(),
                                 targetComponentMeshId, true, {});
    return transaction;
}

// The new beams of a migrated coupling are found by position: AddElements
// records the pasted elements slot by slot, points first, then lines in
// selection order.
void MasterMesh::_applyCouplingMigrations(const std::vector<CouplingMigration>& migrations,
                                          const MeshTransaction& transaction, std::size_t pointElementCount,
                                          int targetComponentMeshId, bool isCut,
                                          const std::unordered_map<int, int>& copiedNodeIds)
{
    const char* const location = "Tarnel::MasterMesh::_applyCouplingMigrations";
    // Every lookup is made before the first coupling changes.
    std::vector<std::unordered_set<int>> newBeams(migrations.size());
    for (std::size_t m = 0; m < migrations.size(); ++m) {
        for (int line : migrations[m].lineIndices) {
            const std::size_t record = pointElementCount + static_cast<std::size_t>(line);
            newBeams[m].insert(transaction.createdElements.at(5 * record));
        }
    }

    for (std::size_t m = 0; m < migrations.size(); ++m) {
        const CouplingMigration& migration = migrations[m];
        int masterNode = migration.coupling.GetMasterNodeId();
        std::unordered_set<int> slaveNodes = migration.coupling.GetNodeIDs();
        if (!isCut) {
            const auto master = copiedNodeIds.find(masterNode);
            if (master == copiedNodeIds.end()) {
                TARNEL_LOG_WARN("Could not remap master node ID " + std::to_string(masterNode) +
                                    " while copy-pasting its coupling; skipping coupling duplication.",
                                location);
                continue;
            }
            masterNode = master->second;
            std::unordered_set<int> copiedSlaves;
            for (int slave : slaveNodes) {
                const auto copy = copiedNodeIds.find(slave);
                if (copy != copiedNodeIds.end()) copiedSlaves.insert(copy->second);
            }
            slaveNodes = std::move(copiedSlaves);
        }

        ElementCoupling coupling(targetComponentMeshId, masterNode);
        coupling.SetRepresentationBeamIds(newBeams[m]);
        coupling.SetSlaveNodes(slaveNodes);
        coupling.SetWeights(migration.coupling.GetWeights());

        std::vector<ElementCoupling>& couplings = migration.isKinematic ? kinematicCouplings : distributingCouplings;
        if (isCut) {
            const std::unordered_set<int> oldBeams = migration.coupling.GetRepresentationBeamIds();
            couplings.erase(std::remove_if(couplings.begin(), couplings.end(),
                                           [&oldBeams](const ElementCoupling& candidate) {
                                               return candidate.GetRepresentationBeamIds() == oldBeams;
                                           }),
                            couplings.end());
        }
        couplings.push_back(std::move(coupling));
        TARNEL_LOG_INFO(std::string(isCut ? "Migrated " : "Duplicated ") +
                            (migration.isKinematic ? "kinematic" : "distributing") + " coupling (master node " +
                            std::to_string(masterNode) + ") " + (isCut ? "to" : "into") + " mesh component " +
                            std::to_string(targetComponentMeshId) +
                            (isCut ? " after cut-paste." : " after copy-paste."),
                        location);
    }
}

}  // namespace Tarnel

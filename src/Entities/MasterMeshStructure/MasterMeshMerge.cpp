// Node merging: the elements using merged nodes are rebuilt on the surviving
// node and the old ones deleted.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"
#include "Operations/MeshHelper.h"
#include "Operations/SpatialClustering.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";
// Built once: a merge of a large selection logs a line per element.
const std::string kMergeNodesLocation = "Tarnel::MasterMesh::MergeNodes";
const std::string kMergeByElementsLocation = "Tarnel::MasterMesh::MergeByElements";

bool isValidElement(const Element& element)
{
    return element.shape != INVALID && !element.nodeIds.empty() && element.origin.elementSetId > 0;
}

std::string notValidText(int elementId)
{
    return "Element with ID=" + std::to_string(elementId) + " is not valid! Skipping...";
}

// The elements a merge visits, each fetched once, with the node list it will
// be rebuilt on.
//
// Invariants: an element is listed once, at the position of its first visit,
// and that order is the order in which the merge rebuilds the elements (so
// the order of their new IDs); `positionPlusOne` maps each listed ID to its
// position + 1. The entry of a valid element carries a working node list from
// its visit on: nodes[offset .. offset + count), a copy of the stored list
// edited in place (a merge only replaces IDs, it never lengthens a list). An
// invalid element carries none until it is given an empty one.
class MergeWorkingSet {
public:
    struct Entry {
        int id = 0;
        ElementShape shape = INVALID;
        SolverElementType solverType = SOLVER_TYPE_NONE;
        int componentMeshId = -1;
        bool valid = false;
        bool hasWorkingList = false;
        std::size_t offset = 0;
        std::size_t count = 0;
    };

    MergeWorkingSet(const ElementStorage& storage, std::size_t expectedElements) : storage(storage)
    {
        entries.reserve(expectedElements);
        nodes.reserve(4 * expectedElements);
    }

    // The element's entry, fetched and listed on its first visit.
    Entry& Visit(int elementId)
    {
        std::uint32_t& slot = positionPlusOne.Slot(elementId);
        if (slot != 0) return entries[slot - 1];
        if (!storage.Get(elementId, scratch)) scratch = Element();
        Entry entry;
        entry.id = elementId;
        entry.shape = scratch.shape;
        entry.solverType = scratch.solverType;
        entry.componentMeshId = scratch.origin.componentMeshId;
        entry.valid = isValidElement(scratch);
        if (entry.valid) {
            entry.hasWorkingList = true;
            entry.offset = nodes.size();
            entry.count = scratch.nodeIds.size();
            nodes.insert(nodes.end(), scratch.nodeIds.begin(), scratch.nodeIds.end());
        }
        entries.push_back(entry);
        slot = static_cast<std::uint32_t>(entries.size());
        return entries.back();
    }

    // An entry without a working list is given an empty one.
    void ReplaceFirst(Entry& entry, int from, int to)
    {
        entry.hasWorkingList = true;
        for (std::size_t i = entry.offset; i < entry.offset + entry.count; ++i) {
            if (nodes[i] == from) {
                nodes[i] = to;
                return;
            }
        }
    }

    const int* WorkingBegin(const Entry& entry) const { return nodes.data() + entry.offset; }
    const int* WorkingEnd(const Entry& entry) const { return nodes.data() + entry.offset + entry.count; }

    // The valid entries' IDs, in order.
    std::vector<int> ValidIds() const
    {
        std::vector<int> ids;
        ids.reserve(entries.size());
        for (const Entry& entry : entries)
            if (entry.valid) ids.push_back(entry.id);
        return ids;
    }

    std::vector<Entry> entries;

private:
    const ElementStorage& storage;
    std::vector<int> nodes;
    PagedIdMap<std::uint32_t> positionPlusOne;
    Element scratch;
};

bool hasRepeatedNode(const int* begin, const int* end)
{
    for (const int* i = begin; i != end; ++i)
        for (const int* j = i + 1; j != end; ++j)
            if (*i == *j) return true;
    return false;
}

// What a working node list becomes. A list without repeated nodes keeps its
// shape, as ComputeDegradedElement would answer, without the set that
// function builds for every element.
ElementShape degrade(const int* begin, const int* end, ElementShape shape, std::vector<int>& working,
                     std::vector<int>& rebuilt)
{
    if (!hasRepeatedNode(begin, end)) {
        rebuilt.assign(begin, end);
        return shape;
    }
    working.assign(begin, end);
    return MeshHelper::ComputeDegradedElement(working, shape, rebuilt);
}

// A rebuilt element keeps its solver type unless degradation changed its
// shape; then it takes the one the host gave for the new shape.
SolverElementType rebuiltSolverType(const MergeWorkingSet::Entry& entry, ElementShape shape,
                                    const std::vector<SolverElementType>& solverTypes)
{
    if (shape == entry.shape) return entry.solverType;
    switch (shape) {
    case POINT_1NODE: return solverTypes[0];
    case LINE_2NODE: return solverTypes[1];
    case TRIANGLE_3NODE: return solverTypes[2];
    case QUAD_4NODE: return solverTypes[3];
    case TETRA_4NODE: return solverTypes[4];
    case PYRAMID_5NODE: return solverTypes[5];
    case PRISM_6NODE: return solverTypes[6];
    case HEXA_8NODE: return solverTypes[7];
    default: return entry.solverType;
    }
}

// The transaction that tells the host which elements went; it names the
// component of the first valid element rebuilt or dropped.
void appendRemovalTransaction(const MergeWorkingSet& working, std::vector<int> removedIds,
                              std::vector<MeshTransaction>& transactions)
{
    for (const MergeWorkingSet::Entry& entry : working.entries) {
        if (!entry.valid) continue;
        MeshTransaction removal;
        removal.componentMeshId = entry.componentMeshId;
        removal.removedElementIds = std::move(removedIds);
        transactions.push_back(std::move(removal));
        return;
    }
}

std::unordered_set<int> idsOf(const MergeWorkingSet& working, bool validOnly)
{
    std::unordered_set<int> ids;
    ids.reserve(working.entries.size());
    for (const MergeWorkingSet::Entry& entry : working.entries)
        if (entry.valid || !validOnly) ids.insert(entry.id);
    return ids;
}

std::string fixedSixDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.6f", value);
    return text;
}

void appendIdList(std::string& text, const int* begin, const int* end)
{
    for (const int* id = begin; id != end; ++id) {
        text += std::to_string(*id);
        text += ' ';
    }
}

std::size_t elementCountOf(const std::vector<ElementData>& batch)
{
    std::size_t count = 0;
    for (const ElementData& slot : batch) count += slot.elementIds.size();  // one solver type per element
    return count;
}

}  // namespace

// Order: the nodes ascending, each node's elements in the order the index
// recorded them; the elements are rebuilt in the order first met.
std::vector<MeshTransaction> MasterMesh::MergeNodes(std::unordered_set<int> nodeIds, int targetNodeId,
                                                    std::unordered_map<std::string, int>& solverTypesByShape,
                                                    bool isPreview)
{
    std::vector<MeshTransaction> transactions;
    try {
        MeshEngineWrapper::getInstance().ActivateMasterMesh();
        // Elements rebuilt on a node that does not exist, or no longer does,
        // would break the mesh; and AddElements would refuse them only after
        // other components' elements were added.
        if (nodeRepository.GetActiveNodes()->NodeIds().count(targetNodeId) == 0) {
            TARNEL_LOG_ERROR("Target node with ID=" + std::to_string(targetNodeId) +
                                 " is not an active node of the master mesh; nothing was merged.",
                             kMergeNodesLocation);
            return transactions;
        }
        std::vector<int> merged(nodeIds.begin(), nodeIds.end());
        std::sort(merged.begin(), merged.end());
        MergeWorkingSet working(elements, merged.size());
        for (int node : merged) {
            const NodeElementIndex::Entry* users = nodeToElements.Find(node);
            if (users == nullptr) continue;
            for (int elementId : *users) {
                MergeWorkingSet::Entry& entry = working.Visit(elementId);
                if (entry.valid) working.ReplaceFirst(entry, node, targetNodeId);
            }
        }
        const std::vector<SolverElementType> solverTypes = _rebuildSolverTypes(solverTypesByShape);

        std::unordered_map<int, std::vector<ElementData>> batches;
        std::vector<int> rebuiltNodeIds;
        std::vector<int> scratch, rebuilt;
        for (const MergeWorkingSet::Entry& entry : working.entries) {
            if (!entry.valid) {
                TARNEL_LOG_ERROR(notValidText(entry.id), kMergeNodesLocation);
                continue;
            }
            const ElementShape shape =
                degrade(working.WorkingBegin(entry), working.WorkingEnd(entry), entry.shape, scratch, rebuilt);
            if (shape == INVALID) {
                TARNEL_LOG_WARN("Skipping the reconstruction of original element with ID=" + std::to_string(entry.id) +
                                    " because it would result in an INVALID element!",
                                kMergeNodesLocation);
                continue;
            }
            rebuiltNodeIds.insert(rebuiltNodeIds.end(), rebuilt.begin(), rebuilt.end());
            _addElementToShapeBatch(shape, rebuiltSolverType(entry, shape, solverTypes), entry.componentMeshId,
                                    rebuilt, batches, "MergeNodes");
        }

        transactions = _rebuildShapeBatches(batches, solverTypes, std::move(rebuiltNodeIds), {}, isPreview);
        appendRemovalTransaction(working, working.ValidIds(), transactions);
        if (!isPreview) {
            std::unordered_set<int> orphans;
            DeleteElements(idsOf(working, false), orphans, true);
        }
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error merging nodes!", exception, kMergeNodesLocation);
    }
    return transactions;
}

// Order: the selected elements as given, each one's nodes in order, each
// node's elements in the order the index recorded them; the elements are
// rebuilt in the order first met, and the first ID a cluster set yields is
// its master.
std::vector<MeshTransaction> MasterMesh::MergeByElements(const std::vector<int>& elementIds, double tolerance,
                                                         std::unordered_map<std::string, int>& solverTypesByShape,
                                                         bool isPreview)
{
    const std::string& location = kMergeByElementsLocation;
    try {
        TARNEL_LOG_INFO("START input: " + std::to_string(elementIds.size()) +
                            " element(s), tolerance=" + fixedSixDecimals(tolerance) +
                            ", isPreview=" + (isPreview ? "1" : "0"),
                        location);
        MeshEngineWrapper::getInstance().ActivateMasterMesh();

        // Step 1: the nodes of the selection, and every element using them.
        MergeWorkingSet working(elements, elementIds.size());
        std::vector<Node> references;
        references.reserve(3 * elementIds.size());
        Element selected;
        for (int id : elementIds) {
            if (!elements.Get(id, selected)) continue;  // an unknown element has no nodes
            for (int node : selected.nodeIds) {
                const XYZ position = getNodePosition(node);
                references.push_back(position.IsValid() ? Node(true, node, position) : Node(false, 0, XYZ()));
                const NodeElementIndex::Entry* users = nodeToElements.Find(node);
                if (users == nullptr) continue;
                for (int user : *users)
                    if (!working.Visit(user).valid) TARNEL_LOG_DEBUG(notValidText(user), location);
            }
        }
        const std::vector<int> removable = working.ValidIds();
        TARNEL_LOG_DEBUG("Step 1: collected " + std::to_string(references.size()) +
                             " node reference(s) (with duplicates), " + std::to_string(removable.size()) +
                             " affected element(s) (selected + neighbours), " + std::to_string(removable.size()) +
                             " removable element(s)",
                         location);

        // Step 2: the groups of nodes within the tolerance.
        const std::vector<std::unordered_set<int>> clusters = SpatialClustering(references, tolerance).FindClusters();
        references = std::vector<Node>();
        std::size_t mergingClusters = 0;
        for (const auto& cluster : clusters)
            if (cluster.size() > 1) ++mergingClusters;
        TARNEL_LOG_DEBUG("Step 2: SpatialClustering produced " + std::to_string(clusters.size()) + " cluster(s), " +
                             std::to_string(mergingClusters) + " cluster(s) with >1 node (actual merge pair(s))",
                         location);
        const std::vector<SolverElementType> solverTypes = _rebuildSolverTypes(solverTypesByShape);

        // Step 3: every slave is replaced by its cluster's master. Clusters
        // are disjoint, so counting the slaves counts distinct nodes.
        std::size_t slaveCount = 0;
        std::string text;
        for (const auto& cluster : clusters) {
            auto member = cluster.begin();
            if (member == cluster.end()) continue;
            const int master = *member;
            if (cluster.size() > 1) {
                text = "Step 3: merging slave(s) [";
                for (auto slave = std::next(member); slave != cluster.end(); ++slave) {
                    text += std::to_string(*slave);
                    text += ' ';
                }
                text += "] -> master " + std::to_string(master);
                TARNEL_LOG_DEBUG(text, location);
            }
            for (++member; member != cluster.end(); ++member) {
                ++slaveCount;
                const NodeElementIndex::Entry* users = nodeToElements.Find(*member);
                if (users == nullptr) continue;
                for (int user : *users) working.ReplaceFirst(working.Visit(user), *member, master);
            }
        }
        TARNEL_LOG_DEBUG("Step 3: total slave nodes identified: " + std::to_string(slaveCount), location);

        // Step 4: the rebuilt elements, collected per component and shape.
        // Their nodes, each once in order of appearance, go with every
        // transaction of the rebuild, in a preview as in a real run.
        std::unordered_map<int, std::vector<ElementData>> batches;
        std::vector<int> rebuiltNodeIds;
        PagedIdMap<char> listedNode;
        std::vector<int> scratch, rebuilt;
        std::size_t reconstructed = 0, dropped = 0;
        for (const MergeWorkingSet::Entry& entry : working.entries) {
            if (!entry.hasWorkingList) continue;
            if (!entry.valid) {
                TARNEL_LOG_ERROR(notValidText(entry.id), location);
                continue;
            }
            const ElementShape shape =
                degrade(working.WorkingBegin(entry), working.WorkingEnd(entry), entry.shape, scratch, rebuilt);
            if (shape == INVALID) {
                TARNEL_LOG_WARN("Step 4: skipping element ID=" + std::to_string(entry.id) + " (componentMesh=" +
                                    std::to_string(entry.componentMeshId) +
                                    "): would degrade to INVALID shape after merge",
                                location);
                ++dropped;
                continue;
            }
            for (int node : rebuilt) {
                char& listed = listedNode.Slot(node);
                if (listed == 0) rebuiltNodeIds.push_back(node);
                listed = 1;
            }
            text = "Step 4: elem ID=" + std::to_string(entry.id) + " shape " + std::to_string(static_cast<int>(entry.shape)) +
                   " -> " + std::to_string(static_cast<int>(shape)) + " nodes: [";
            appendIdList(text, rebuilt.data(), rebuilt.data() + rebuilt.size());
            text += ']';
            TARNEL_LOG_DEBUG(text, location);
            _addElementToShapeBatch(shape, rebuiltSolverType(entry, shape, solverTypes), entry.componentMeshId,
                                    rebuilt, batches, "MergeByElements");
            ++reconstructed;
        }
        TARNEL_LOG_INFO("Step 4: " + std::to_string(reconstructed) + " element(s) reconstructed, " +
                            std::to_string(dropped) + " element(s) degraded to INVALID (dropped), " +
                            std::to_string(batches.size()) + " component mesh(es) affected",
                        location);

        // Step 5: the new elements, one AddElements call per component, in
        // the order of the batch map (which _rebuildShapeBatches follows).
        for (const auto& batch : batches)
            TARNEL_LOG_DEBUG("Step 5: componentMesh=" + std::to_string(batch.first) + ": adding " +
                                 std::to_string(elementCountOf(batch.second)) + " new element(s)",
                             location);
        std::vector<MeshTransaction> transactions =
            _rebuildShapeBatches(batches, solverTypes, std::move(rebuiltNodeIds), {}, isPreview);
        appendRemovalTransaction(working, removable, transactions);
        TARNEL_LOG_INFO("Step 5: " + std::to_string(transactions.size()) + " transaction(s) produced, " +
                            std::to_string(removable.size()) + " element(s) marked for removal from viewer",
                        location);

        // Step 6: the old elements go, with the nodes no element uses any more.
        if (isPreview) {
            TARNEL_LOG_INFO("DONE: preview mode, no elements deleted", location);
            return transactions;
        }
        TARNEL_LOG_DEBUG("Step 6: deleting " + std::to_string(removable.size()) + " original element(s) from engine",
                         location);
        std::unordered_set<int> orphans;
        DeleteElements(idsOf(working, true), orphans, true);
        TARNEL_LOG_INFO("DONE: merge complete", location);
        return transactions;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("MergeByElements failed", exception, location);
        return {};
    }
}

}  // namespace Tarnel

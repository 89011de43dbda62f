// The rebuild shared by the editing operations: rebuilt elements are
// collected per component mesh and shape, then added anew, one AddElements
// call per component.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/HugePageAllocator.h"

namespace Tarnel {

namespace {

// The first-order shapes an editing operation can create; position i is slot
// i of a component's shape batch and entry i of the solver type list.
constexpr std::array<ElementShape, 8> kRebuildShapeOrder = {POINT_1NODE, LINE_2NODE,    TRIANGLE_3NODE,
                                                            QUAD_4NODE,  TETRA_4NODE,   PYRAMID_5NODE,
                                                            PRISM_6NODE, HEXA_8NODE};

ElementAttributes rebuildAttributes()
{
    return ElementAttributes(std::vector<double>(6, 1.0), -1.0, 0, NOT_SPECIFIED);
}

std::size_t elementCountOf(const std::vector<ElementData>& batch)
{
    std::size_t count = 0;
    for (std::size_t slot = 0; slot < kRebuildShapeOrder.size(); ++slot)
        count += batch[slot].nodeIds.size() / static_cast<std::size_t>(GetShapeNodeCount(kRebuildShapeOrder[slot]));
    return count;
}

// The batch of a shape in a component's entry, the entry made when missing;
// nullptr for a shape outside the rebuild order.
ElementData* batchOf(ElementShape shape, int componentMeshId,
                     std::unordered_map<int, std::vector<ElementData>>& shapeBatches)
{
    const auto slot = std::find(kRebuildShapeOrder.begin(), kRebuildShapeOrder.end(), shape);
    if (slot == kRebuildShapeOrder.end()) return nullptr;
    std::vector<ElementData>& batches = shapeBatches[componentMeshId];
    if (batches.empty()) batches.resize(kRebuildShapeOrder.size());
    return &batches[static_cast<std::size_t>(std::distance(kRebuildShapeOrder.begin(), slot))];
}

}  // namespace

// A batch of a million elements grows through a dozen copies; an operation
// that expects most of its elements in one component and shape reserves
// them there, just before it adds the first. A guess too large only
// reserves address space.
void MasterMesh::_reserveShapeBatch(ElementShape shape, int componentMeshId, std::size_t elementCount,
                                    std::unordered_map<int, std::vector<ElementData>>& shapeBatches)
{
    ElementData* batch = batchOf(shape, componentMeshId, shapeBatches);
    if (batch == nullptr) return;
    const std::size_t nodeCount = elementCount * static_cast<std::size_t>(GetShapeNodeCount(shape));
    ReserveInHugePages(batch->nodeIds, batch->nodeIds.size() + nodeCount);
    ReserveInHugePages(batch->elementIds, batch->elementIds.size() + elementCount);
}

void MasterMesh::_addElementToShapeBatch(ElementShape shape, SolverElementType solverType, int componentMeshId,
                                         const std::vector<int>& nodeIds,
                                         std::unordered_map<int, std::vector<ElementData>>& shapeBatches,
                                         const std::string& operationName)
{
    ElementData* batch = batchOf(shape, componentMeshId, shapeBatches);
    if (batch == nullptr) throw MorvaneException(operationName + ": Invalid element shape.");
    batch->nodeIds.insert(batch->nodeIds.end(), nodeIds.begin(), nodeIds.end());
    batch->elementIds.push_back(solverType);
}

// The host's table is completed with 0 for every shape it lacks, as the host
// expects to find them afterwards.
std::vector<SolverElementType> MasterMesh::_rebuildSolverTypes(std::unordered_map<std::string, int>& solverTypesByShape)
{
    std::vector<SolverElementType> solverTypes;
    solverTypes.reserve(kRebuildShapeOrder.size());
    for (ElementShape shape : kRebuildShapeOrder)
        solverTypes.push_back(static_cast<SolverElementType>(solverTypesByShape[std::to_string(shape)]));
    return solverTypes;
}

// One transaction per component with collected elements, in the map's order.
// The elements of a preview take the IDs the real run would give them: each
// component's go on from the last one's. Every transaction lists all the
// node IDs and records; the last one takes them over instead of a copy, as
// they can run to millions.
std::vector<MeshTransaction> MasterMesh::_rebuildShapeBatches(
    const std::unordered_map<int, std::vector<ElementData>>& shapeBatches,
    const std::vector<SolverElementType>& solverTypes, std::vector<int> nodeIds, std::vector<double> nodeRecords,
    bool isPreview)
{
    const std::vector<ElementShape> shapes(kRebuildShapeOrder.begin(), kRebuildShapeOrder.end());
    std::vector<MeshTransaction> transactions;
    std::size_t previewed = 0;
    for (const auto& entry : shapeBatches) {
        transactions.push_back(_addElements(entry.first, shapes, {}, {}, entry.second, solverTypes,
                                            rebuildAttributes(), isPreview, previewed));
        if (isPreview) previewed += elementCountOf(entry.second);
    }
    for (std::size_t t = 0; t + 1 < transactions.size(); ++t) {
        transactions[t].createdNodeIds = nodeIds;
        transactions[t].createdNodeRecords = nodeRecords;
    }
    if (!transactions.empty()) {
        transactions.back().createdNodeIds = std::move(nodeIds);
        transactions.back().createdNodeRecords = std::move(nodeRecords);
    }
    return transactions;
}

}  // namespace Tarnel

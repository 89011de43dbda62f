// Mirror and translate: new nodes at moved positions, the elements rebuilt
// on them.
//
// Both element operations collect their whole rebuild before the first node
// is created, with each new node written as a placeholder (-1 for the first
// new node, -2 for the second, ...): a shape that cannot be rebuilt then ends
// the operation with the master mesh untouched, and the placeholders are
// replaced by the real IDs once AddNodes has answered them. Node IDs of the
// master mesh are gmsh tags, never negative, so a placeholder cannot be taken
// for a node.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/HugePageAllocator.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"
#include "Operations/MeshHelper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";

double toSinglePrecision(double value)
{
    return static_cast<double>(static_cast<float>(value));
}

// The reflection across a plane given by the host; the constructor refuses a
// plane that is not one.
class MirrorPlane {
public:
    MirrorPlane(const std::vector<float>& point, const std::vector<float>& normal)
    {
        if (point.size() != 3) throw MorvaneException("MirrorNodes: planePoint must contain exactly 3 values.");
        if (normal.size() != 3) throw MorvaneException("MirrorNodes: planeNormal must contain exactly 3 values.");
        const double nx = normal[0], ny = normal[1], nz = normal[2];
        const double length = std::sqrt(ny * ny + nx * nx + nz * nz);
        if (length <= 1e-12) throw MorvaneException("MirrorNodes: plane normal must be non-zero.");
        unit = {nx / length, ny / length, nz / length};
        origin = {point[0], point[1], point[2]};
    }

    // The image, in single precision as the host keeps positions.
    XYZ Image(const XYZ& position) const
    {
        const std::array<double, 3> p{position.X(), position.Y(), position.Z()};
        const double d = (p[0] - origin[0]) * unit[0] + (p[1] - origin[1]) * unit[1] + (p[2] - origin[2]) * unit[2];
        return XYZ(toSinglePrecision(p[0] - 2 * d * unit[0]), toSinglePrecision(p[1] - 2 * d * unit[1]),
                   toSinglePrecision(p[2] - 2 * d * unit[2]));
    }

private:
    std::array<double, 3> unit{};
    std::array<double, 3> origin{};
};

// Validity for editing: a shape, nodes, and a place in a component's set.
bool isEditable(const Element& element)
{
    return element.shape != INVALID && !element.nodeIds.empty() && element.origin.elementSetId > 0;
}

void logNotValid(int elementId, const char* location)
{
    TARNEL_LOG_ERROR("Element with ID=" + std::to_string(elementId) + " is not valid! Skipping...", location);
}

int placeholderOf(std::size_t newNodeIndex)
{
    return -static_cast<int>(newNodeIndex) - 1;
}

// A mirror image turns every element inside out; its node order is put right
// again so that surfaces keep facing the mirrored way and volumes keep a
// positive volume. Writes into `ordered`, whose buffer is reused.
void putInMirroredOrder(const std::vector<int>& nodeIds, ElementShape shape, ElementDimension dimension,
                        std::vector<int>& ordered)
{
    ordered.clear();
    if (dimension != DIMENSION_3D) {
        ordered.assign(nodeIds.rbegin(), nodeIds.rend());
        return;
    }
    static const std::vector<int> tetrahedron{0, 2, 1, 3}, hexahedron{0, 3, 2, 1, 4, 7, 6, 5},
        prism{0, 2, 1, 3, 5, 4}, pyramid{0, 3, 2, 1, 4};
    const std::vector<int>* order = shape == TETRA_4NODE    ? &tetrahedron
                                    : shape == HEXA_8NODE    ? &hexahedron
                                    : shape == PRISM_6NODE   ? &prism
                                    : shape == PYRAMID_5NODE ? &pyramid
                                                             : nullptr;
    if (order == nullptr || order->size() != nodeIds.size()) {
        ordered = nodeIds;
        return;
    }
    for (int position : *order) ordered.push_back(nodeIds[static_cast<std::size_t>(position)]);
}

// Most rebuilt elements keep all their nodes distinct; for those the
// degradation is known (same shape, same list) without building its set.
bool hasRepeatedNode(const std::vector<int>& nodeIds)
{
    for (std::size_t a = 0; a < nodeIds.size(); ++a)
        for (std::size_t b = a + 1; b < nodeIds.size(); ++b)
            if (nodeIds[a] == nodeIds[b]) return true;
    return false;
}

// Replaces every placeholder of the batches by the ID of its new node.
void resolvePlaceholders(std::unordered_map<int, std::vector<ElementData>>& shapeBatches,
                         const std::vector<Node>& newNodes)
{
    for (auto& entry : shapeBatches)
        for (ElementData& slot : entry.second)
            for (int& node : slot.nodeIds)
                if (node < 0) node = static_cast<int>(newNodes[static_cast<std::size_t>(-node - 1)].id);
}

// AddNodes answers nothing when it failed (and logged why).
void requireAllNodes(const std::vector<Node>& created, std::size_t requested, const std::string& operation)
{
    if (created.size() != requested)
        throw MorvaneException(operation + ": the new nodes could not be created; nothing was rebuilt.");
}

// One use of a moved node: an element using it, and the node's index in the
// moved list.
struct NodeUse {
    int elementId;
    int nodeIndex;
};

// Sorts the uses by element ID: a radix sort, linear and stable (the uses of
// one element keep their order). Digits of at most 11 bits keep the buckets
// of a pass few enough for the scatter to stay in cache.
void sortByElement(HugePageVector<NodeUse>& uses, int maxElementId)
{
    int idBits = 1;
    while (idBits < 31 && (maxElementId >> idBits) != 0) ++idBits;
    const int passes = (idBits + 10) / 11;
    const int digitBits = (idBits + passes - 1) / passes;
    const std::uint32_t digitMask = (1u << digitBits) - 1;
    HugePageVector<NodeUse> sorted(uses.size());
    std::vector<std::size_t> bucketStart(std::size_t(1) << digitBits);
    for (int pass = 0; pass < passes; ++pass) {
        const int shift = pass * digitBits;
        const auto digit = [shift, digitMask](const NodeUse& use) {
            return (static_cast<std::uint32_t>(use.elementId) >> shift) & digitMask;
        };
        std::fill(bucketStart.begin(), bucketStart.end(), 0);
        for (const NodeUse& use : uses) ++bucketStart[digit(use)];
        std::size_t running = 0;
        for (std::size_t& start : bucketStart) running += std::exchange(start, running);
        for (const NodeUse& use : uses) sorted[bucketStart[digit(use)]++] = use;
        uses.swap(sorted);
    }
}

// The uses of moved nodes, grouped by element: elements by ascending ID, the
// uses of one element by ascending index of the node in the moved list. That
// order fixes the new elements' IDs, the component of the removal
// transaction, and which occurrence of a repeated node each use replaces.
struct UsesByElement {
    HugePageVector<NodeUse> uses;  // in that order
    std::vector<int> elementIds;   // ascending, each once
    HugePageVector<int> firstUse;  // uses of elementIds[g]: [firstUse[g], firstUse[g + 1])
};

UsesByElement groupUsesByElement(const std::vector<int>& nodeIds, const NodeElementIndex& index)
{
    std::size_t useCount = 0;
    for (int id : nodeIds)
        if (const NodeElementIndex::Entry* users = index.Find(id)) useCount += users->size();
    UsesByElement grouped;
    HugePageVector<NodeUse>& uses = grouped.uses;
    uses.reserve(useCount);
    int maxElementId = 0;
    for (std::size_t i = 0; i < nodeIds.size(); ++i)
        if (const NodeElementIndex::Entry* users = index.Find(nodeIds[i]))
            for (int elementId : *users) {
                uses.push_back({elementId, static_cast<int>(i)});
                maxElementId = std::max(maxElementId, elementId);
            }
    sortByElement(uses, maxElementId);

    const auto startsElement = [&uses](std::size_t u) {
        return u == 0 || uses[u].elementId != uses[u - 1].elementId;
    };
    std::size_t elementCount = 0;
    for (std::size_t u = 0; u < uses.size(); ++u) elementCount += startsElement(u) ? 1 : 0;
    grouped.elementIds.reserve(elementCount);
    grouped.firstUse.reserve(elementCount + 1);
    for (std::size_t u = 0; u < uses.size(); ++u) {
        if (!startsElement(u)) continue;
        grouped.elementIds.push_back(uses[u].elementId);
        grouped.firstUse.push_back(static_cast<int>(u));
    }
    grouped.firstUse.push_back(static_cast<int>(useCount));
    return grouped;
}

}  // namespace

std::vector<Node> MasterMesh::MirrorNodes(std::vector<int> nodeIds, std::vector<float> planePoint,
                                          std::vector<float> planeNormal,
                                          std::unordered_map<std::string, int>& /*solverTypesByShape*/,
                                          bool isPreview)
{
    try {
        const MirrorPlane plane(planePoint, planeNormal);
        MeshEngineWrapper::getInstance().ActivateMasterMesh();
        std::vector<XYZ> images;
        images.reserve(nodeIds.size());
        for (int id : nodeIds) images.push_back(plane.Image(getNodePosition(id)));
        return AddNodes(images, isPreview);
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error mirroring nodes!", exception, "Tarnel::MasterMesh::MirrorNodes");
        return {};
    }
}

std::vector<MeshTransaction> MasterMesh::MirrorElements(int componentMeshId, std::vector<int> elementIds,
                                                        std::vector<float> planePoint,
                                                        std::vector<float> planeNormal,
                                                        std::unordered_map<std::string, int>& solverTypesByShape,
                                                        bool isPreview)
{
    const char* const location = "Tarnel::MasterMesh::MirrorElements";
    std::vector<MeshTransaction> transactions;
    try {
        const MirrorPlane plane(planePoint, planeNormal);
        MeshEngineWrapper::getInstance().ActivateMasterMesh();
        const std::vector<SolverElementType> solverTypes = _rebuildSolverTypes(solverTypesByShape);

        // Source node ID -> index of its image among the new nodes; indices
        // follow the first occurrence of a node in the elements' node lists.
        std::unordered_map<int, std::size_t> imageOf;
        imageOf.reserve(elementIds.size());
        std::vector<XYZ> images;
        std::unordered_map<int, std::vector<ElementData>> shapeBatches;
        Element element;
        std::vector<int> mapped, ordered;
        for (int id : elementIds) {
            if (!elements.Get(id, element) || !isEditable(element)) {
                logNotValid(id, location);
                continue;
            }
            mapped.clear();
            for (int node : element.nodeIds) {
                const auto seen = imageOf.emplace(node, images.size());
                if (seen.second) images.push_back(plane.Image(getNodePosition(node)));
                mapped.push_back(placeholderOf(seen.first->second));
            }
            putInMirroredOrder(mapped, element.shape, element.attributes.dimension, ordered);
            _addElementToShapeBatch(element.shape, element.solverType, componentMeshId, ordered, shapeBatches,
                                    "MirrorElements");
        }

        const std::vector<Node> newNodes = AddNodes(images, isPreview);
        requireAllNodes(newNodes, images.size(), "MirrorElements");
        std::vector<double> nodeRecords;
        ReserveInHugePages(nodeRecords, 4 * newNodes.size());
        for (const Node& node : newNodes)
            nodeRecords.insert(nodeRecords.end(),
                               {static_cast<double>(node.id), toSinglePrecision(node.position.X()),
                                toSinglePrecision(node.position.Y()), toSinglePrecision(node.position.Z())});
        resolvePlaceholders(shapeBatches, newNodes);
        transactions = _rebuildShapeBatches(shapeBatches, solverTypes, {}, std::move(nodeRecords), isPreview);
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error mirroring nodes!", exception, location);
    }
    return transactions;
}

std::vector<MeshTransaction> MasterMesh::TranslateNodes(std::vector<int> nodeIds, std::vector<float> translation,
                                                        std::unordered_map<std::string, int>& solverTypesByShape,
                                                        bool isPreview)
{
    const char* const location = "Tarnel::MasterMesh::TranslateNodes";
    std::vector<MeshTransaction> transactions;
    try {
        // The host has always passed (dx, dy, dz); fewer values are refused
        // rather than read past the end.
        if (translation.size() < 3) throw MorvaneException("TranslateNodes: translation must contain 3 values.");
        MeshEngineWrapper::getInstance().ActivateMasterMesh();
        std::vector<XYZ> moved;
        ReserveInHugePages(moved, nodeIds.size());
        for (int id : nodeIds) {
            const XYZ p = getNodePosition(id);
            moved.emplace_back(toSinglePrecision(translation[0] + p.X()), toSinglePrecision(translation[1] + p.Y()),
                               toSinglePrecision(translation[2] + p.Z()));
        }
        const UsesByElement grouped = groupUsesByElement(nodeIds, nodeToElements);
        const std::vector<int>& affected = grouped.elementIds;

        const std::vector<SolverElementType> solverTypes = _rebuildSolverTypes(solverTypesByShape);
        std::unordered_map<int, std::vector<ElementData>> shapeBatches;
        std::vector<int> removed, rebuildNodeIds;
        ReserveInHugePages(removed, affected.size());
        ReserveInHugePages(rebuildNodeIds, grouped.uses.size());
        HugePageVector<int> recordSources;  // per replaced occurrence, the index of its new node
        recordSources.reserve(grouped.uses.size());
        int removalComponent = -1;
        Element element;
        std::vector<int> nodes, degraded;
        for (std::size_t g = 0; g < affected.size(); ++g) {
            const int id = affected[g];
            if (!elements.Get(id, element) || !isEditable(element)) {
                logNotValid(id, location);
                continue;
            }
            if (removed.empty()) removalComponent = element.origin.componentMeshId;
            removed.push_back(id);
            rebuildNodeIds.insert(rebuildNodeIds.end(), element.nodeIds.begin(), element.nodeIds.end());
            nodes = element.nodeIds;
            for (int u = grouped.firstUse[g]; u < grouped.firstUse[g + 1]; ++u) {
                const std::size_t i = static_cast<std::size_t>(grouped.uses[static_cast<std::size_t>(u)].nodeIndex);
                const auto occurrence = std::find(nodes.begin(), nodes.end(), nodeIds[i]);
                if (occurrence == nodes.end()) continue;
                *occurrence = placeholderOf(i);
                recordSources.push_back(static_cast<int>(i));
            }
            ElementShape shape = element.shape;
            if (hasRepeatedNode(nodes))
                shape = MeshHelper::ComputeDegradedElement(nodes, element.shape, degraded);
            else
                degraded.swap(nodes);
            if (shape == INVALID) {
                TARNEL_LOG_WARN("Skipping the reconstruction of original element with ID=" + std::to_string(id) +
                                    " because it would result in an INVALID element!",
                                location);
                continue;
            }
            // _rebuildSolverTypes completed the host's table, so it answers
            // the list entry of any shape of the rebuild order.
            const SolverElementType solverType =
                shape == element.shape ? element.solverType
                                       : static_cast<SolverElementType>(solverTypesByShape[std::to_string(shape)]);
            if (shapeBatches.empty())
                _reserveShapeBatch(shape, element.origin.componentMeshId, affected.size() - g, shapeBatches);
            _addElementToShapeBatch(shape, solverType, element.origin.componentMeshId, degraded, shapeBatches,
                                    "TranslateNodes");
        }

        const std::vector<Node> newNodes = AddNodes(moved, isPreview);
        requireAllNodes(newNodes, moved.size(), "TranslateNodes");
        std::vector<double> nodeRecords;
        ReserveInHugePages(nodeRecords, 4 * recordSources.size());
        for (int i : recordSources) {
            const Node& node = newNodes[static_cast<std::size_t>(i)];
            nodeRecords.insert(nodeRecords.end(), {static_cast<double>(node.id), node.position.X(),
                                                   node.position.Y(), node.position.Z()});
        }
        resolvePlaceholders(shapeBatches, newNodes);
        transactions = _rebuildShapeBatches(shapeBatches, solverTypes, std::move(rebuildNodeIds),
                                            std::move(nodeRecords), isPreview);

        if (!removed.empty()) {
            MeshTransaction removal;
            removal.componentMeshId = removalComponent;
            removal.removedElementIds = std::move(removed);
            transactions.push_back(std::move(removal));
        }
        if (!isPreview && !affected.empty()) {
            std::unordered_set<int> orphans;
            _deleteElements(affected, orphans, false);
        }
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error merging nodes!", exception, location);
    }
    return transactions;
}

}  // namespace Tarnel

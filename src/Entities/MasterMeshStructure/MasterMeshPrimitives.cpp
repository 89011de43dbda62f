// Adding, reading and removing single nodes and elements of the master mesh,
// keeping gmsh, the element table, the node repository, the sets and the
// node-to-element index in step.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/HugePageAllocator.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Internal/IdRange.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";

constexpr int kKinematicCouplingMode = 8;
constexpr int kDistributingCouplingMode = 9;

void activateMaster()
{
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
}

// The set's node IDs widened to gmsh's tags; a warning when there are none.
std::vector<std::uint64_t> widenedOrWarn(const NodeSet& set, const char* warning, const char* location)
{
    if (set.GetNodeCount() == 0) {
        TARNEL_LOG_WARN(warning, location);
        return {};
    }
    return std::vector<std::uint64_t>(set.NodeIds().begin(), set.NodeIds().end());
}

std::string idOverflowText(const char* what, std::size_t count, std::size_t largestTag)
{
    return "Adding " + std::to_string(count) + " " + what + " after ID " + std::to_string(largestTag) +
           " would exceed the largest ID " + std::to_string(kLargestId) + ".";
}

// Refusals of AddElements are thrown as logged MorvaneExceptions.
[[noreturn]] void refuseBatches(const std::string& text)
{
    throw MorvaneException(text.c_str());
}

// Valid for editing: a shape, nodes, and a component element set (ID > 0).
bool isValidElement(const Element& element)
{
    return element.shape != INVALID && !element.nodeIds.empty() && element.origin.elementSetId > 0;
}

}  // namespace

// ---------------------------------------------------------------- nodes

std::vector<Node> MasterMesh::AddNodes(std::vector<XYZ>& positions, bool isPreview)
{
    try {
        activateMaster();
        std::size_t maxNodeTag = 0;
        GmshAdapter::model::mesh::getMaxNodeTag(maxNodeTag);
        if (!IdsFitAfter(maxNodeTag, positions.size()))
            throw MorvaneException(idOverflowText("node(s)", positions.size(), maxNodeTag));
        const int first = static_cast<int>(maxNodeTag) + 1;
        std::vector<Node> nodes;
        ReserveInHugePages(nodes, positions.size());
        for (std::size_t i = 0; i < positions.size(); ++i) {
            positions[i].roundTo(6);
            nodes.emplace_back(true, first + static_cast<int>(i), positions[i]);
        }
        if (!isPreview) _registerNodes(nodes, true);
        return nodes;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("AddNode: Failed to add nodes.", exception, "Tarnel::MasterMesh::AddNodes");
        return {};
    }
}

Node MasterMesh::AddNode(XYZ position, bool isPreview)
{
    std::vector<XYZ> positions{position};
    const std::vector<Node> nodes = AddNodes(positions, isPreview);
    return nodes.size() == 1 ? nodes.front() : Node(false, 0, XYZ());
}

std::vector<std::uint64_t> MasterMesh::GetAllNodeIDs()
{
    activateMaster();
    std::vector<std::size_t> tags;
    std::vector<double> coordinates;
    std::vector<double> parametricCoordinates;
    GmshAdapter::model::mesh::getNodes(tags, coordinates, parametricCoordinates, -1, -1, false, false);
    return std::vector<std::uint64_t>(tags.begin(), tags.end());
}

std::vector<std::uint64_t> MasterMesh::GetActiveNodeIDs()
{
    return widenedOrWarn(*nodeRepository.GetActiveNodes(), "No active nodes found in the master mesh.",
                         "Tarnel::MasterMesh::GetActiveNodeIDs");
}

std::vector<std::uint64_t> MasterMesh::GetDeletedNodeIDs()
{
    return widenedOrWarn(*nodeRepository.GetRemovedNodes(), "No deleted nodes found in the master mesh.",
                         "Tarnel::MasterMesh::GetDeletedNodeIDs");
}

bool MasterMesh::IsNodeOrphan(int nodeId)
{
    return nodeToElements.Find(nodeId) == nullptr;
}

void MasterMesh::_removeNodes(const std::unordered_set<int>& nodeIds)
{
    if (nodeIds.empty()) return;
    for (int id : nodeIds) {
        for (auto& set : nodeSets) set.second.RemoveNodeID(id);
        nodeToElements.EraseNode(id);
    }
    nodeRepository.ModifyNodeIds({}, nodeIds);
}

bool MasterMesh::DeleteNodes(std::unordered_set<int> nodeIds, std::vector<Element>& affectedElements,
                             std::unordered_set<int>& orphanNodeIds, bool removeOrphanNodes)
{
    const char* const location = "Tarnel::MasterMesh::DeleteNodes";
    try {
        activateMaster();
        affectedElements.clear();
        const std::unordered_set<int>& active = nodeRepository.GetActiveNodes()->NodeIds();
        std::unordered_set<int> deletedIds;
        std::unordered_set<int> affectedIds;
        for (int node : nodeIds) {
            if (active.count(node) == 0) {
                TARNEL_LOG_ERROR("Node with ID = " + std::to_string(node) +
                                     " is not an active node of the master mesh and cannot be deleted. Skipping...",
                                 location);
                continue;
            }
            deletedIds.insert(node);
            const NodeElementIndex::Entry* users = nodeToElements.Find(node);
            if (users == nullptr) continue;
            for (int id : *users)
                if (affectedIds.insert(id).second) affectedElements.push_back(elements.Get(id));
        }
        // The elements go first: when gmsh refuses them, no node has gone yet.
        if (!affectedIds.empty() && !DeleteElements(affectedIds, orphanNodeIds, removeOrphanNodes)) return false;
        _removeNodes(deletedIds);
        return true;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error deleting nodes.", exception, location);
        return false;
    }
}

// ---------------------------------------------------------------- elements

MeshTransaction MasterMesh::AddElement(int componentId, ElementShape shape, const ElementData& data)
{
    return AddElements(componentId, {shape}, data.nodeIds, {}, {data}, {},
                       ElementAttributes(std::vector<double>(6, 1.0), 0.0, 0, DIMENSION_0D), false);
}

MeshTransaction MasterMesh::AddElements(int componentId, const std::vector<ElementShape>& shapes,
                                        const std::vector<int>& createdNodeIds,
                                        const std::vector<double>& createdNodeRecords,
                                        const std::vector<ElementData>& elementData,
                                        const std::vector<SolverElementType>& solverTypes,
                                        ElementAttributes attributes, bool isPreview)
{
    return _addElements(componentId, shapes, createdNodeIds, createdNodeRecords, elementData, solverTypes,
                        std::move(attributes), isPreview, 0);
}

// `previewedElementCount` elements of earlier calls of one preview count as
// added: a preview adds nothing to gmsh, so without them every call of the
// preview would hand out the same IDs.
MeshTransaction MasterMesh::_addElements(int componentId, const std::vector<ElementShape>& shapes,
                                         const std::vector<int>& createdNodeIds,
                                         const std::vector<double>& createdNodeRecords,
                                         const std::vector<ElementData>& elementData,
                                         const std::vector<SolverElementType>& /*solverTypes*/,
                                         ElementAttributes attributes, bool isPreview,
                                         std::size_t previewedElementCount)
{
    const char* const location = "Tarnel::MasterMesh::AddElements";
    MeshTransaction transaction;
    transaction.componentMeshId = componentId;

    const int mode = attributes.intAttribute;
    const bool couplingMode = mode == kKinematicCouplingMode || mode == kDistributingCouplingMode;
    if (couplingMode && shapes != std::vector<ElementShape>{LINE_2NODE}) {
        TARNEL_LOG_ERROR(
            "Kinematic/Distributing coupling type of element addition is only supported for LINE_2NODE elements!",
            location);
        return transaction;
    }
    if (couplingMode)
        TARNEL_LOG_INFO("Adding elements with kinematic/distributing coupling type of element addition.", location);

    activateMaster();
    std::size_t maxElementTag = 0;
    GmshAdapter::model::mesh::getMaxElementTag(maxElementTag);
    if (isPreview) maxElementTag += previewedElementCount;
    const std::size_t elementCount = _checkElementBatches(shapes, elementData, maxElementTag, isPreview);

    transaction.createdNodeIds = createdNodeIds;
    transaction.createdNodeRecords = createdNodeRecords;
    if (!isPreview) elements.Reserve(elements.Size() + elementCount);
    ReserveInHugePages(transaction.createdElements, 5 * elementCount);
    ReserveInHugePages(transaction.createdElementNodeIds, elementCount);
    int next = static_cast<int>(maxElementTag) + 1;
    // A preview must not create the component entry.
    ComponentMesh previewComponent;
    const auto existing = componentMeshes.find(componentId);
    ComponentMesh& component =
        existing != componentMeshes.end() ? existing->second : isPreview ? previewComponent : componentMeshes[componentId];

    const int masterNode = couplingMode && !elementData.empty() && !elementData[0].nodeIds.empty()
                               ? elementData[0].nodeIds[0]
                               : 0;
    const std::vector<double> weights =
        mode == kKinematicCouplingMode ? attributes.degreesOfFreedom : std::vector<double>{attributes.doubleAttribute};

    for (std::size_t i = 0; i < elementData.size(); ++i) {
        const ElementData& batch = elementData[i];
        if (batch.nodeIds.empty()) continue;
        const ElementShape shape = shapes[i];
        const std::size_t nodesPerElement = static_cast<std::size_t>(GetShapeNodeCount(shape));
        const std::size_t count = batch.nodeIds.size() / nodesPerElement;
        const ElementDimension dimension = static_cast<ElementDimension>(GetShapeDimension(shape));
        ElementSet& targetSet = *component.GetElementsByDimension(dimension);
        const int setId = targetSet.GetComponentId();

        std::vector<int> ids(count);
        for (std::size_t k = 0; k < count; ++k) ids[k] = next + static_cast<int>(k);
        // gmsh first: when it refuses the batch, the containers stay as they were.
        if (!isPreview)
            _addElementsToGmsh(ids, ConvertedInHugePages<std::size_t>(batch.nodeIds), shape);

        std::unordered_set<int> slaveNodes;
        Element element;
        element.shape = shape;
        element.origin = ElementOrigin(componentId, setId);
        if (!isPreview && count > 0) {
            if (attributes.degreesOfFreedom.empty()) {
                TARNEL_LOG_WARN("Setting all degrees of freedom to zero for element ID: " + std::to_string(ids[0]) +
                                    ". No degrees of freedom were provided.",
                                location);
                attributes.degreesOfFreedom.assign(6, 0.0);
            }
            attributes.dimension = dimension;
            element.attributes = attributes;
            targetSet.ReserveElementIds(count);
        }
        for (std::size_t k = 0; k < count; ++k) {
            const int id = ids[k];
            std::vector<int> nodeList(batch.nodeIds.begin() + static_cast<std::ptrdiff_t>(k * nodesPerElement),
                                      batch.nodeIds.begin() + static_cast<std::ptrdiff_t>((k + 1) * nodesPerElement));
            if (couplingMode && nodeList.size() > 1) slaveNodes.insert(nodeList[1]);
            const SolverElementType solverType = static_cast<SolverElementType>(batch.elementIds[k]);
            if (!isPreview) {
                for (int node : nodeList) nodeToElements.Insert(node, id);
                element.id = id;
                element.nodeIds = nodeList;
                element.solverType = solverType;
                elements.AddElement(element);
                targetSet.AddElementID(id);
            }
            transaction.createdElements.insert(transaction.createdElements.end(),
                                               {id, componentId, setId, shape, solverType});
            transaction.createdElementNodeIds.push_back(std::move(nodeList));
        }

        if (!isPreview && couplingMode) {
            ElementCoupling coupling(componentId, masterNode);
            coupling.SetSlaveNodes(slaveNodes);
            coupling.SetRepresentationBeamIds(std::unordered_set<int>(ids.begin(), ids.end()));
            coupling.SetWeights(weights);
            (mode == kKinematicCouplingMode ? kinematicCouplings : distributingCouplings).push_back(coupling);
        }
        if (count > 0) next = ids.back() + 1;
    }
    return transaction;
}

// Every batch is checked before the first is added, so that a refused call
// adds nothing: each needs a shape with nodes, whole node lists, a solver type
// per element and, unless previewed, nodes that are active in the master mesh;
// the new IDs must fit after the largest element tag. Returns the number of
// elements.
std::size_t MasterMesh::_checkElementBatches(const std::vector<ElementShape>& shapes,
                                             const std::vector<ElementData>& elementData, std::size_t maxElementTag,
                                             bool isPreview)
{
    if (shapes.size() < elementData.size()) refuseBatches("AddElements: every element batch needs a shape.");
    const std::unordered_set<int>& active = nodeRepository.GetActiveNodes()->NodeIds();
    std::size_t elementCount = 0;
    for (std::size_t i = 0; i < elementData.size(); ++i) {
        const ElementData& batch = elementData[i];
        const std::size_t nodesPerElement = static_cast<std::size_t>(GetShapeNodeCount(shapes[i]));
        if (nodesPerElement == 0) refuseBatches("Unsupported element type");
        const std::size_t count = batch.nodeIds.size() / nodesPerElement;
        if (count * nodesPerElement != batch.nodeIds.size())
            refuseBatches("AddElements: batch " + std::to_string(i) + " holds " +
                          std::to_string(batch.nodeIds.size()) + " node IDs, not a whole number of elements of " +
                          std::to_string(nodesPerElement) + " nodes.");
        if (batch.elementIds.size() < count)
            refuseBatches("AddElements: a batch lists fewer solver types than elements.");
        if (!isPreview) {
            for (int node : batch.nodeIds)
                if (active.count(node) == 0)
                    refuseBatches("AddElements: node " + std::to_string(node) +
                                  " is not an active node of the master mesh.");
        }
        elementCount += count;
    }
    if (!IdsFitAfter(maxElementTag, elementCount))
        refuseBatches(idOverflowText("element(s)", elementCount, maxElementTag));
    return elementCount;
}

// One element is filled at a time: a deletion of a million elements must not
// copy a million node lists first.
void MasterMesh::_removeAllElementReferences(const std::vector<int>& removedIds)
{
    Element element;
    for (int id : removedIds) {
        if (!elements.Get(id, element)) continue;
        for (int setId : element.origin.namedSetIds) {
            const auto set = elementSets.find(setId);
            if (set != elementSets.end() && set->second.HasElementID(element.id)) set->second.RemoveElementID(element.id);
        }

        ElementSet* holder = nullptr;
        const auto component = componentMeshes.find(element.origin.componentMeshId);
        if (component != componentMeshes.end()) holder = component->second.GetElementsByReferenceId(element.origin.elementSetId);
        if (holder != nullptr)
            holder->RemoveElementID(element.id);
        else
            TARNEL_LOG_ERROR("Element with ID = " + std::to_string(element.id) +
                                 " was supposed to be contained in the component mesh reference set, but was not found!",
                             "Tarnel::MasterMesh::_removeAllElementReferences");

        for (int node : element.nodeIds) nodeToElements.Erase(node, element.id);
        elements.Erase(element.id);
    }
}

// One pass of gmsh's "Invisible" plugin removes every element made invisible,
// however many there are.
void MasterMesh::_removeElementsFromGmsh(const std::vector<std::size_t>& tags)
{
    if (tags.empty()) return;
    GmshAdapter::model::mesh::setVisibility(tags, 0);
    try {
        GmshAdapter::plugin::setNumber("Invisible", "DeleteElements", 1.0);
        GmshAdapter::plugin::run("Invisible");
    } catch (...) {
        // Left invisible, the elements would go with the next deletion.
        try {
            GmshAdapter::model::mesh::setVisibility(tags, 1);
        } catch (...) {
        }
        throw;
    }
}

bool MasterMesh::DeleteElements(std::unordered_set<int> elementIds, std::unordered_set<int>& orphanNodeIds,
                                bool removeOrphanNodes)
{
    // In ascending order, the element table and the node index are walked in
    // the order they are laid out, and unknown IDs are reported in a fixed
    // order.
    std::vector<int> ids(elementIds.begin(), elementIds.end());
    std::sort(ids.begin(), ids.end());
    return _deleteElements(ids, orphanNodeIds, removeOrphanNodes);
}

// The editing operations collect the elements they replace in ascending order
// already; they come here without a hash set of a million IDs.
bool MasterMesh::_deleteElements(const std::vector<int>& ids, std::unordered_set<int>& orphanNodeIds,
                                 bool removeOrphanNodes)
{
    const char* const location = "Tarnel::MasterMesh::DeleteElements";
    try {
        activateMaster();
        std::vector<int> removed;
        removed.reserve(ids.size());
        std::vector<int> touchedNodes;  // only asked for when orphans go
        for (int id : ids) {
            if (!elements.Contains(id)) {
                TARNEL_LOG_ERROR("Element with ID = " + std::to_string(id) +
                                     " is not in the master mesh and cannot be deleted. Skipping...",
                                 location);
                continue;
            }
            if (removeOrphanNodes) {
                const std::pair<const int*, std::size_t> nodes = elements.NodeIdsOf(id);
                touchedNodes.insert(touchedNodes.end(), nodes.first, nodes.first + nodes.second);
            }
            removed.push_back(id);
        }
        std::sort(touchedNodes.begin(), touchedNodes.end());
        touchedNodes.erase(std::unique(touchedNodes.begin(), touchedNodes.end()), touchedNodes.end());
        // gmsh first: when it refuses, the containers stay as they were.
        _removeElementsFromGmsh(ConvertedInHugePages<std::size_t>(removed));
        _removeAllElementReferences(removed);

        if (removeOrphanNodes) {
            for (int node : touchedNodes)
                if (IsNodeOrphan(node)) orphanNodeIds.insert(node);
            _removeNodes(orphanNodeIds);
        }
        return true;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error deleting elements", exception, location);
        return false;
    }
}

void MasterMesh::SyncNodeIdToElementConnections()
{
    const char* const location = "Tarnel::MasterMesh::SyncNodeIdToElementConnections";
    if (!nodeToElements.Empty())
        throw MorvaneException("Should not call sync node Id to element connections \t\t\t when this dictionary is "
                               "already populated!");
    TARNEL_LOG_DEBUG("Syncing node ID to element ID connections map...", location);
    activateMaster();
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags;
    std::vector<std::vector<std::size_t>> nodeTags;
    GmshAdapter::model::mesh::getElements(types, elementTags, nodeTags, -1, -1);
    Element element;
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::size_t count = elementTags[t].size();
        if (count == 0) continue;
        const std::size_t nodesPerElement = nodeTags[t].size() / count;
        for (std::size_t k = 0; k < count; ++k) {
            const int id = static_cast<int>(elementTags[t][k]);
            const bool valid = elements.Get(id, element) && isValidElement(element);
            for (std::size_t n = 0; n < nodesPerElement; ++n) {
                if (valid)
                    nodeToElements.Insert(static_cast<int>(nodeTags[t][k * nodesPerElement + n]), id);
                else
                    TARNEL_LOG_ERROR("Element with ID=" + std::to_string(id) + " not found in ElementStorage! Skipping...",
                                     location);
            }
        }
    }
    TARNEL_LOG_DEBUG("Node IDs to elements syncing done!", location);
}

}  // namespace Tarnel

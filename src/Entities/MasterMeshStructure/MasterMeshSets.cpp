// The host's named node and element sets, the master mesh's copies of its
// component meshes, and the two coupling lists with their validation.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <map>

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";

}  // namespace

NodeSet* MasterMesh::CreateNodeSet(int id, const std::unordered_set<int>& nodeIds)
{
    NodeSet set(id);
    set.SetNodeIds(nodeIds);
    return &nodeSets.insert_or_assign(id, std::move(set)).first->second;
}

ElementSet* MasterMesh::CreateElementSet(int id, const std::unordered_set<int>& elementIds)
{
    ElementSet set(id);
    set.SetElementIds(elementIds);
    ElementSet* stored = &elementSets.insert_or_assign(id, std::move(set)).first->second;
    for (int elementId : elementIds) {
        if (!elements.AddNamedSetId(elementId, id))
            TARNEL_LOG_ERROR("Element ID " + std::to_string(elementId) + " not found in the master mesh!",
                             "Tarnel::MasterMesh::CreateElementSet");
    }
    return stored;
}

bool MasterMesh::InsertMeshReference(MeshReference reference)
{
    const char* const location = "Tarnel::MasterMesh::InsertMeshReference";
    const int id = reference.GetComponentId();
    switch (reference.GetMeshReferenceType()) {
    case ELEMENT_SET: {
        ElementSet set(id);
        set.SetElementIds(reference.GetElementIds());
        const bool inserted = elementSets.emplace(id, std::move(set)).second;
        for (int elementId : reference.ElementIds()) {
            if (!elements.AddNamedSetId(elementId, id))
                TARNEL_LOG_ERROR("Element ID " + std::to_string(elementId) + " not found in the master mesh!", location);
        }
        return inserted;
    }
    case NODE_SET: {
        NodeSet set(id);
        set.SetNodeIds(reference.GetNodeIds());
        return nodeSets.emplace(id, std::move(set)).second;
    }
    default:
        TARNEL_LOG_ERROR("Unhandled mesh reference type cannot be inserted!", location);
        return false;
    }
}

bool MasterMesh::InsertMeshComponent(ComponentMesh component)
{
    return componentMeshes.emplace(component.GetComponentMeshId(), std::move(component)).second;
}

MeshReference* MasterMesh::GetMeshSet(int id)
{
    const auto elementSet = elementSets.find(id);
    if (elementSet != elementSets.end()) return &elementSet->second;
    const auto nodeSet = nodeSets.find(id);
    return nodeSet != nodeSets.end() ? &nodeSet->second : nullptr;
}

ComponentMesh* MasterMesh::GetComponentMesh(int id)
{
    const auto component = componentMeshes.find(id);
    return component != componentMeshes.end() ? &component->second : nullptr;
}

bool MasterMesh::DeleteMeshSet(int id)
{
    const MeshReference* set = GetMeshSet(id);
    if (set == nullptr) return true;
    switch (set->GetMeshReferenceType()) {
    case ELEMENT_SET: elementSets.erase(id); return true;
    case NODE_SET: nodeSets.erase(id); return true;
    default: return false;
    }
}

bool MasterMesh::DeleteMeshComponent(int id)
{
    const char* const location = "Tarnel::MasterMesh::DeleteMeshComponent";
    const auto component = componentMeshes.find(id);
    if (component == componentMeshes.end()) {
        TARNEL_LOG_ERROR("Could not find mesh component by ID = " + std::to_string(id), location);
        return false;
    }
    try {
        for (ElementDimension dimension : {DIMENSION_0D, DIMENSION_1D, DIMENSION_2D, DIMENSION_3D}) {
            std::unordered_set<int> orphans;
            if (DeleteElements(component->second.GetElementsByDimension(dimension)->GetElementIds(), orphans, true))
                continue;
            TARNEL_LOG_ERROR("Failed to delete mesh component by ID " + std::to_string(id) + ": its " +
                                 GetDimensionDisplayString(dimension) +
                                 " elements could not be deleted; the component keeps the elements it still has.",
                             location);
            return false;
        }
        componentMeshes.erase(id);
        auto ofComponent = [id](const ElementCoupling& coupling) { return coupling.GetMeshComponentId() == id; };
        kinematicCouplings.erase(std::remove_if(kinematicCouplings.begin(), kinematicCouplings.end(), ofComponent),
                                 kinematicCouplings.end());
        distributingCouplings.erase(
            std::remove_if(distributingCouplings.begin(), distributingCouplings.end(), ofComponent),
            distributingCouplings.end());
        return true;
    } catch (const std::exception& exception) {
        TARNEL_LOG_ERROR("Failed to delete mesh component by ID " + std::to_string(id) +
                             ". Exception: " + exception.what(),
                         location);
        return false;
    }
}

std::vector<ElementCoupling> MasterMesh::_filterValidCouplings(const std::vector<ElementCoupling>& couplings,
                                                               const std::string& kind)
{
    const char* const location = "Tarnel::MasterMesh::_filterValidCouplings";
    std::vector<ElementCoupling> kept;
    // Beam ID -> the component of the discarded coupling that names it.
    std::map<int, int> beamsOfDiscarded;
    for (const ElementCoupling& coupling : couplings) {
        const int componentId = coupling.GetMeshComponentId();
        const std::unordered_set<int> beams = coupling.GetRepresentationBeamIds();
        if (beams.empty()) {
            TARNEL_LOG_WARN(kind + " coupling for component mesh ID " + std::to_string(componentId) +
                                " has no representation beam IDs and will be discarded.",
                            location);
            continue;
        }
        const auto component = componentMeshes.find(componentId);
        if (component == componentMeshes.end()) {
            TARNEL_LOG_WARN(kind + " coupling references component mesh ID " + std::to_string(componentId) +
                                " which no longer exists -> discarding.",
                            location);
            for (int beam : beams) beamsOfDiscarded.emplace(beam, componentId);
            continue;
        }
        const ElementSet& lines = *component->second.GetElementsByDimension(DIMENSION_1D);
        const bool registered = std::all_of(beams.begin(), beams.end(), [&](int id) { return lines.HasElementID(id); });
        if (!registered) {
            TARNEL_LOG_WARN(kind + " coupling for component mesh ID " + std::to_string(componentId) +
                                " has one or more beam element IDs not registered in the component's 1D element set "
                                "-> discarding.",
                            location);
            for (int beam : beams) beamsOfDiscarded.emplace(beam, componentId);
            continue;
        }
        kept.push_back(coupling);
    }

    // The beams of a discarded coupling go from the master mesh as a whole,
    // gmsh and every container, so that no container keeps what another lost.
    std::unordered_set<int> storedBeams;
    for (const auto& beam : beamsOfDiscarded) {
        Element element;
        if (!elements.Get(beam.first, element)) continue;
        // A beam list may name anything; only the coupling's own lines go.
        if (GetShapeDimensionOrInvalid(element.shape) == DIMENSION_1D &&
            element.origin.componentMeshId == beam.second) {
            storedBeams.insert(beam.first);
            continue;
        }
        TARNEL_LOG_WARN(kind + " coupling for component mesh ID " + std::to_string(beam.second) +
                            " names element ID " + std::to_string(beam.first) +
                            " as a beam, which is not a line element of that component; it is kept.",
                        location);
    }
    if (!storedBeams.empty()) {
        std::unordered_set<int> orphans;
        DeleteElements(storedBeams, orphans, false);
    }
    return kept;
}

void MasterMesh::SetKinematicCouplings(const std::vector<ElementCoupling>& couplings)
{
    kinematicCouplings = _filterValidCouplings(couplings, "Kinematic");
}

void MasterMesh::SetDistributingCouplings(const std::vector<ElementCoupling>& couplings)
{
    distributingCouplings = _filterValidCouplings(couplings, "Distributing");
}

std::vector<ElementCoupling> MasterMesh::GetKinematicCouplings() const
{
    return kinematicCouplings;
}

std::vector<ElementCoupling> MasterMesh::GetDistributingCouplings() const
{
    return distributingCouplings;
}

}  // namespace Tarnel

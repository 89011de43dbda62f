#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/HugePageAllocator.h"
#include "GmshAdapter/GmshAdapter.h"
#include "IOTools/FileTools.h"
#include "Internal/IdRange.h"
#include "Internal/LogMacros.h"
#include "Internal/TagLookup.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";
const char* const kMasterModelName = "DefaultMasterMesh";
const char* const kPlacementLocation = "Tarnel::MasterMesh::ExtendComponentMesh";

MasterMesh* instance = nullptr;

double roundToSixDecimals(double value)
{
    return std::round(value * 1e6) / 1e6;
}

// The elements of a source model, as gmsh returns them: per element type, the
// element tags and the flat node tags.
struct SourceElements {
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags;
    std::vector<std::vector<std::size_t>> nodeTags;

    // Keeps only the types of the given dimension; returns how many went and
    // adds the tags of their elements to `discardedTags`.
    int KeepDimension(int dimension, std::vector<std::size_t>& discardedTags)
    {
        int discarded = 0;
        for (std::size_t i = types.size(); i-- > 0;) {
            if (GetShapeDimensionOrInvalid(static_cast<ElementShape>(types[i])) == dimension) continue;
            discardedTags.insert(discardedTags.end(), elementTags[i].begin(), elementTags[i].end());
            types.erase(types.begin() + static_cast<std::ptrdiff_t>(i));
            elementTags.erase(elementTags.begin() + static_cast<std::ptrdiff_t>(i));
            nodeTags.erase(nodeTags.begin() + static_cast<std::ptrdiff_t>(i));
            ++discarded;
        }
        return discarded;
    }

    std::size_t ElementCount() const
    {
        std::size_t count = 0;
        for (const auto& tags : elementTags) count += tags.size();
        return count;
    }

    std::size_t NodeTagCount() const
    {
        std::size_t count = 0;
        for (const auto& tags : nodeTags) count += tags.size();
        return count;
    }
};

// All nodes of the current model, read in one call, looked up by tag.
class NodePositions {
public:
    NodePositions()
        : lookup([this] {
              std::vector<double> parametric;
              GmshAdapter::model::mesh::getNodes(tags, coordinates, parametric, -1, -1, false, false);
              std::size_t maxTag = 0;
              for (std::size_t tag : tags) maxTag = std::max(maxTag, tag);
              return TagLookup<std::size_t>(tags.size(), maxTag, kMissing);
          }())
    {
        for (std::size_t i = 0; i < tags.size(); ++i) lookup.Set(tags[i], i);
    }

    // The node's position as gmsh holds it; a tag the bulk read did not return
    // is asked for singly, so that its failure reads as gmsh's own.
    XYZ Position(std::size_t tag) const
    {
        const std::size_t index = lookup.Get(tag);
        if (index != kMissing)
            return XYZ(coordinates[3 * index], coordinates[3 * index + 1], coordinates[3 * index + 2]);
        std::vector<double> coord, parametric;
        int dim = 0, entity = 0;
        GmshAdapter::model::mesh::getNode(tag, coord, parametric, dim, entity);
        return XYZ(coord.at(0), coord.at(1), coord.at(2));
    }

private:
    static constexpr std::size_t kMissing = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> tags;
    std::vector<double> coordinates;
    TagLookup<std::size_t> lookup;
};

}  // namespace

// ---------------------------------------------------------------- lifecycle

MasterMesh& MasterMesh::getInstance()
{
    if (instance == nullptr) instance = new MasterMesh();
    return *instance;
}

bool MasterMesh::hasInstance()
{
    return instance != nullptr;
}

void MasterMesh::deleteInstance()
{
    if (instance == nullptr) return;
    try {
        GmshAdapter::model::setCurrent(instance->modelName);
        GmshAdapter::model::remove();
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Could not remove the master mesh model " + instance->modelName, exception,
                             "Tarnel::MasterMesh::deleteInstance");
    }
    delete instance;
    instance = nullptr;
}

MasterMesh::MasterMesh() : Mesh(false), nodeRepository(MeshEngineWrapper::getInstance().GetMeshExportPath())
{
    if (!GmshAdapter::isInitialized()) GmshAdapter::initialize(0, nullptr, true, false);
    modelName = kMasterModelName;
    fileName = kMasterModelName;

    std::vector<std::string> names;
    GmshAdapter::model::list(names);
    if (std::find(names.begin(), names.end(), modelName) != names.end()) {
        TARNEL_LOG_DEBUG("GMSH model " + modelName + " already exists, reusing it.", "Tarnel::MasterMesh::MasterMesh");
    } else {
        GmshAdapter::model::add(modelName);
        TARNEL_LOG_DEBUG("Created new GMSH model: " + modelName, "Tarnel::MasterMesh::MasterMesh");
    }
    GmshAdapter::model::setCurrent(modelName);
    _createDefaultPhysicalGroups();
}

MasterMesh::~MasterMesh() = default;

NodeRepository* MasterMesh::GetNodeRepositoryPtr()
{
    return &nodeRepository;
}

ElementStorage* MasterMesh::GetElementStoragePtr()
{
    return &elements;
}

AnalysisDeckSettings* MasterMesh::GetAnalysisDeckSettingsPtr()
{
    return &analysisDeckSettings;
}

std::vector<Element> MasterMesh::GetAllElements()
{
    return elements.GetAll();
}

Element MasterMesh::GetElementDefinition(int elementId)
{
    try {
        return elements.Get(elementId);
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Failed to retrieve element definition for ID = " + std::to_string(elementId), exception,
                             "Tarnel::MasterMesh::GetElementDefinition");
        return Element();
    }
}

// ---------------------------------------------------------------- gmsh entries

int MasterMesh::_entityTagOfDimension(int dimension) const
{
    switch (dimension) {
    case 0: return nodesEntityTag;
    case 1: return elements1DEntityTag;
    case 2: return elements2DEntityTag;
    case 3: return elements3DEntityTag;
    default: return -1;
    }
}

void MasterMesh::_registerNodes(const std::vector<Node>& nodes, bool addToGmsh)
{
    std::vector<std::size_t> tags;
    std::vector<double> coordinates;
    std::vector<int> ids;
    ReserveInHugePages(tags, nodes.size());
    ReserveInHugePages(ids, nodes.size());
    ReserveInHugePages(coordinates, 3 * nodes.size());
    for (const Node& node : nodes) {
        tags.push_back(static_cast<std::size_t>(node.id));
        ids.push_back(static_cast<int>(node.id));
        coordinates.push_back(node.position.X());
        coordinates.push_back(node.position.Y());
        coordinates.push_back(node.position.Z());
    }
    if (addToGmsh) GmshAdapter::model::mesh::addNodes(0, nodesEntityTag, tags, coordinates, {});
    nodeRepository.ActivateNodeIds(ids);
}

void MasterMesh::_addElementsToGmsh(const std::vector<int>& elementIds, const std::vector<std::size_t>& nodeIds,
                                    ElementShape shape)
{
    const int entity = _entityTagOfDimension(GetShapeDimensionOrInvalid(shape));
    GmshAdapter::model::mesh::addElementsByType(entity, shape, ConvertedInHugePages<std::size_t>(elementIds), nodeIds);
}

// ---------------------------------------------------------------- placement

void MasterMesh::_loadSourceFileAsMasterModel(const Mesh& sourceMesh)
{
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    GmshAdapter::model::remove();
    if (engine.RemoveMesh(sourceMesh))
        TARNEL_LOG_INFO("Discarded temporary mesh as its content will be directly loaded into the master mesh!",
                        kPlacementLocation);

    std::vector<std::string> names;
    GmshAdapter::model::list(names);
    for (const std::string& name : names) {
        if (name != modelName) continue;
        GmshAdapter::model::setCurrent(name);
        GmshAdapter::model::remove();
        TARNEL_LOG_INFO("Removed duplicate DefaultMasterMesh model.", kPlacementLocation);
    }

    const std::string path = sourceMesh.GetSourceMeshPath();
    TARNEL_LOG_INFO("Placing component mesh from path: " + path, kPlacementLocation);
    const std::string copyName = modelName + GetMeshFileExtension(sourceMesh.GetSourceMeshFormat());
    const std::string copyPath = _isFileNamed(path, copyName) ? path : FileTools::RenameFile(path, copyName, true);
    try {
        if (copyPath.empty()) throw MorvaneException(std::string("Could not copy ") + path + " under the master name.");
        // Opened into an empty model of the master's name, so that no other
        // empty model of the session is taken over by the file.
        GmshAdapter::model::add(modelName);
        GmshAdapter::open(copyPath);
    } catch (const std::exception& exception) {
        // The master model is gone already: leave an empty one behind rather
        // than none, and say so.
        TARNEL_LOG_EXCEPTION("Direct load of " + path + " failed; the master mesh model was recreated empty.",
                             exception, kPlacementLocation);
        std::vector<std::string> remaining;
        GmshAdapter::model::list(remaining);
        if (std::find(remaining.begin(), remaining.end(), modelName) == remaining.end())
            GmshAdapter::model::add(modelName);
        GmshAdapter::model::setCurrent(modelName);
        _createDefaultPhysicalGroups();
        throw;
    }
    _createDefaultPhysicalGroups();
}

// Whether the file at `path` already bears `name` (last session's master mesh
// file, say): then it needs no copy under that name, and a copy onto itself
// would be refused.
bool MasterMesh::_isFileNamed(const std::string& path, const std::string& name)
{
    const std::string directory = FileTools::GetDirectoryAbove(path);
    std::error_code error;
    return std::filesystem::equivalent(path, directory.empty() ? name : directory + "/" + name, error);
}

// The state of one placement, shared by its steps.
struct MasterMesh::Placement {
    Placement(ComponentMesh& component, const Mesh& sourceMesh,
              const std::unordered_map<ElementShape, SolverElementType>& shapeSolverTypes, bool isPreview)
        : component(component), sourceMesh(sourceMesh), shapeSolverTypes(shapeSolverTypes), isPreview(isPreview)
    {
    }

    ComponentMesh& component;
    const Mesh& sourceMesh;
    const std::unordered_map<ElementShape, SolverElementType>& shapeSolverTypes;
    bool isPreview;
    bool directLoad = false;
    SourceElements source;
    MeshTransaction transaction;
    // Source node tag to master node ID; 0 for tags not placed.
    TagLookup<int> nodeMap{0, 0, 0};
};

// A component placed before keeps its elements: a fresh component of the
// same ID takes over the stored sets, to which the placement then adds.
void MasterMesh::_takeStoredSets(ComponentMesh& component)
{
    const auto stored = componentMeshes.find(component.GetComponentMeshId());
    if (stored == componentMeshes.end() || &stored->second == &component) return;
    for (ElementDimension dimension : {DIMENSION_0D, DIMENSION_1D, DIMENSION_2D, DIMENSION_3D}) {
        const ElementSet& storedSet = *stored->second.GetElementsByDimension(dimension);
        ElementSet& set = *component.GetElementsByDimension(dimension);
        if (set.GetComponentId() != storedSet.GetComponentId())
            TARNEL_LOG_WARN("Component mesh " + std::to_string(component.GetComponentMeshId()) +
                                " is placed again with another " + GetDimensionDisplayString(dimension) +
                                " element set ID (" + std::to_string(set.GetComponentId()) + "); it keeps its set " +
                                std::to_string(storedSet.GetComponentId()) + ".",
                            kPlacementLocation);
        set = storedSet;
    }
}

// Types the vocabulary lacks cannot be placed, and every placed shape needs a
// solver type: both are refused before anything changes. False (logged) for
// the first; a missing solver type throws std::out_of_range.
bool MasterMesh::_checkSourceTypes(const std::vector<int>& types,
                                   const std::unordered_map<ElementShape, SolverElementType>& shapeSolverTypes,
                                   bool solverTypesNeeded)
{
    for (int type : types) {
        if (GetShapeDimensionOrInvalid(static_cast<ElementShape>(type)) >= 0) continue;
        TARNEL_LOG_ERROR("The mesh to place holds elements of gmsh type " + std::to_string(type) +
                             ", which is no element shape of this library; nothing was placed.",
                         kPlacementLocation);
        return false;
    }
    if (!solverTypesNeeded) return true;
    for (int type : types) {
        if (shapeSolverTypes.count(static_cast<ElementShape>(type)) != 0) continue;
        const std::string text = "No solver element type was given for element shape " + std::to_string(type) +
                                 "; nothing was placed.";
        TARNEL_LOG_ERROR(text, kPlacementLocation);
        throw std::out_of_range(text);
    }
    return true;
}

ComponentMesh* MasterMesh::ExtendComponentMesh(ComponentMesh& component, const Mesh& sourceMesh,
                                               std::unordered_map<ElementShape, SolverElementType> shapeSolverTypes,
                                               bool isPreview)
{
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    if (sourceMesh.modelName == modelName) {
        TARNEL_LOG_ERROR("The master mesh cannot be placed into itself; nothing was placed.", kPlacementLocation);
        return &component;
    }
    // A preview takes the stored sets on a copy: only their IDs are shown.
    std::optional<ComponentMesh> previewTarget;
    if (isPreview) previewTarget.emplace(component);
    ComponentMesh& target = isPreview ? *previewTarget : component;
    _takeStoredSets(target);
    Placement placement(target, sourceMesh, shapeSolverTypes, isPreview);
    placement.transaction.componentMeshId = component.GetComponentMeshId();

    engine.ActivateMesh(sourceMesh);
    SourceElements& source = placement.source;
    GmshAdapter::model::mesh::getElements(source.types, source.elementTags, source.nodeTags, -1, -1);
    if (!_checkSourceTypes(source.types, shapeSolverTypes, false)) return &component;

    const ElementFilter filter = sourceMesh.GetMeshAdditionElementFilter();
    std::vector<std::size_t> discardedTags;
    if (filter != -1) {
        const int discarded = source.KeepDimension(filter, discardedTags);
        TARNEL_LOG_INFO("ElementFilter: kept dimension-" + std::to_string(filter) + " elements, discarded " +
                            std::to_string(discarded) + " other element type(s).",
                        kPlacementLocation);
    }
    _checkSourceTypes(source.types, shapeSolverTypes, true);

    const std::size_t elementCount = source.ElementCount();
    TARNEL_LOG_DEBUG("Attempt to load " + std::to_string(elementCount) + " element(s) and " +
                         std::to_string(source.NodeTagCount()) + " nodes(s)",
                     kPlacementLocation);
    elements.Reserve(elements.Size() + elementCount);

    if (source.types.empty()) {
        if (engine.RemoveMesh(sourceMesh)) TARNEL_LOG_INFO("Discarded empty temporary mesh!", kPlacementLocation);
    } else {
        engine.ActivateMasterMesh();
        std::size_t maxNodeTag = 0;
        std::size_t maxElementTag = 0;
        GmshAdapter::model::mesh::getMaxNodeTag(maxNodeTag);
        GmshAdapter::model::mesh::getMaxElementTag(maxElementTag);
        placement.directLoad =
            maxNodeTag == 0 && sourceMesh.GetSourceMeshFormat() != MeshFileFormat::NONE && !isPreview;
        if (!placement.directLoad && !isPreview && !_idsFit("element(s)", elementCount, maxElementTag))
            return &component;
        if (placement.directLoad) {
            _loadSourceFileAsMasterModel(sourceMesh);
            // The file holds every element; those the filter discarded go.
            _removeElementsFromGmsh(discardedTags);
            if (!discardedTags.empty())
                TARNEL_LOG_INFO("ElementFilter: removed " + std::to_string(discardedTags.size()) +
                                    " discarded element(s) from the directly loaded master mesh.",
                                kPlacementLocation);
        }

        if (!_placeNodes(placement, maxNodeTag)) return &component;
        engine.ActivateMasterMesh();
        placement.transaction.createdElements.reserve(5 * elementCount);
        placement.transaction.createdElementNodeIds.reserve(elementCount);
        for (std::size_t t = 0; t < source.types.size(); ++t) _placeElementsOfType(placement, t);

        if (!placement.directLoad && engine.RemoveMesh(sourceMesh))
            TARNEL_LOG_INFO("Discarded temporary mesh after successful placement into master mesh!",
                            kPlacementLocation);
    }

    component.SetLastMeshTransaction(std::move(placement.transaction));
    if (!isPreview) componentMeshes.insert_or_assign(component.GetComponentMeshId(), component);
    return &component;
}

// IDs are ints: `count` new IDs after the largest tag must stay within them.
bool MasterMesh::_idsFit(const char* what, std::size_t count, std::size_t largestTag)
{
    if (IdsFitAfter(largestTag, count)) return true;
    TARNEL_LOG_ERROR("Placing " + std::to_string(count) + " " + what + " after ID " + std::to_string(largestTag) +
                         " would exceed the largest ID " + std::to_string(kLargestId) + "; nothing was placed.",
                     kPlacementLocation);
    return false;
}

// Gives every source node that a placed element uses its master ID, in order
// of first use: the source tag itself under a direct load, else the next ID
// after `lastNodeId`. The positions come from one bulk read of the model that
// holds them. False (logged, nothing registered) when the IDs would pass the
// largest int.
bool MasterMesh::_placeNodes(Placement& placement, std::size_t lastNodeId)
{
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    if (!placement.directLoad) engine.ActivateMesh(placement.sourceMesh);
    const NodePositions positions;
    if (!placement.directLoad) engine.ActivateMasterMesh();

    const SourceElements& source = placement.source;
    std::size_t maxSourceTag = 0;
    for (const auto& tags : source.nodeTags)
        for (std::size_t tag : tags) maxSourceTag = std::max(maxSourceTag, tag);
    placement.nodeMap = TagLookup<int>(source.NodeTagCount() / 3 + 1, maxSourceTag, 0);

    std::vector<Node> placedNodes;
    placedNodes.reserve(source.NodeTagCount() / 3 + 1);
    std::vector<double>& records = placement.transaction.createdNodeRecords;
    records.reserve(4 * placedNodes.capacity());
    // The shell nodes of a volume mesh are master nodes already.
    const std::unordered_set<int>& shared = placement.sourceMesh.GetSharedMasterNodeIds();
    const NodeSet& active = *nodeRepository.GetActiveNodes();
    const std::size_t firstNodeTag = lastNodeId;
    for (const auto& tags : source.nodeTags) {
        for (std::size_t tag : tags) {
            if (placement.nodeMap.Get(tag) != 0) continue;
            const int sharedId = static_cast<int>(tag);
            if (shared.count(sharedId) != 0 && active.NodeIds().count(sharedId) != 0) {
                placement.nodeMap.Set(tag, sharedId);
                continue;
            }
            if (!placement.directLoad && lastNodeId >= kLargestId) {
                TARNEL_LOG_ERROR("Placing the nodes after node ID " + std::to_string(firstNodeTag) +
                                     " would exceed the largest ID " + std::to_string(kLargestId) +
                                     "; nothing was placed.",
                                 kPlacementLocation);
                return false;
            }
            const XYZ position = positions.Position(tag);
            const int masterId = placement.directLoad ? static_cast<int>(tag) : static_cast<int>(++lastNodeId);
            placement.nodeMap.Set(tag, masterId);
            placedNodes.emplace_back(true, masterId, position);
            records.insert(records.end(), {static_cast<double>(masterId), roundToSixDecimals(position.X()),
                                           roundToSixDecimals(position.Y()), roundToSixDecimals(position.Z())});
        }
    }

    if (placement.isPreview) return true;
    try {
        _registerNodes(placedNodes, !placement.directLoad);
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Failed to add Nodes", exception, kPlacementLocation);
    }
    return true;
}

// Places the elements of one source type: new IDs from the largest element
// tag + 1 (the source tags under a direct load or a preview), filed under the
// component's element set of their dimension.
void MasterMesh::_placeElementsOfType(Placement& placement, std::size_t typeIndex)
{
    const ElementShape shape = static_cast<ElementShape>(placement.source.types[typeIndex]);
    const SolverElementType solverType = placement.shapeSolverTypes.at(shape);
    const ElementDimension dimension = static_cast<ElementDimension>(GetShapeDimension(shape));
    ElementSet& targetSet = *placement.component.GetElementsByDimension(dimension);
    const int componentId = placement.component.GetComponentMeshId();
    const int referenceId = targetSet.GetComponentId();
    const std::size_t nodesPerElement = static_cast<std::size_t>(GetShapeNodeCount(shape));
    const std::vector<std::size_t>& sourceTags = placement.source.elementTags[typeIndex];
    const std::vector<std::size_t>& sourceNodes = placement.source.nodeTags[typeIndex];
    const std::size_t count = sourceTags.size();
    const bool keepSourceTags = placement.directLoad || placement.isPreview;
    const bool addToMaster = !placement.isPreview;

    std::vector<int> ids(count);
    if (keepSourceTags) {
        for (std::size_t k = 0; k < count; ++k) ids[k] = static_cast<int>(sourceTags[k]);
    } else {
        std::size_t maxElementTag = 0;
        GmshAdapter::model::mesh::getMaxElementTag(maxElementTag);
        const int first = static_cast<int>(maxElementTag) + 1;
        for (std::size_t k = 0; k < count; ++k) ids[k] = first + static_cast<int>(k);
    }
    std::vector<std::size_t> masterNodes(sourceNodes.size());
    for (std::size_t i = 0; i < sourceNodes.size(); ++i)
        masterNodes[i] = static_cast<std::size_t>(placement.nodeMap.Get(sourceNodes[i]));

    // gmsh first: when it refuses the elements, the containers stay as they were.
    if (!keepSourceTags) _addElementsToGmsh(ids, masterNodes, shape);

    if (addToMaster) targetSet.ReserveElementIds(count);
    Element element;
    element.shape = shape;
    element.solverType = solverType;
    element.origin = ElementOrigin(componentId, referenceId);
    element.attributes.dimension = dimension;
    MeshTransaction& transaction = placement.transaction;
    for (std::size_t k = 0; k < count; ++k) {
        const int id = ids[k];
        std::vector<int> nodeList(masterNodes.begin() + static_cast<std::ptrdiff_t>(k * nodesPerElement),
                                  masterNodes.begin() + static_cast<std::ptrdiff_t>((k + 1) * nodesPerElement));
        if (addToMaster) {
            targetSet.AddElementID(id);
            for (int node : nodeList) nodeToElements.Insert(node, id);
            element.id = id;
            element.nodeIds.assign(nodeList.begin(), nodeList.end());
            elements.AddElement(element);
        }
        transaction.createdElements.insert(transaction.createdElements.end(),
                                           {id, componentId, referenceId, shape, solverType});
        transaction.createdElementNodeIds.push_back(std::move(nodeList));
    }
}

}  // namespace Tarnel

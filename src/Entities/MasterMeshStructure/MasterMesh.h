#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Entities/ElementDimension.h"
#include "Entities/ElementShape.h"
#include "Entities/MasterMeshStructure/ComponentMesh.h"
#include "Entities/MasterMeshStructure/ElementStorage.h"
#include "Entities/MasterMeshStructure/MeshReference.h"
#include "Entities/MasterMeshStructure/NodeElementIndex.h"
#include "Entities/MasterMeshStructure/NodeRepository.h"
#include "Entities/Mesh.h"
#include "Entities/Node.h"
#include "Entities/SolverElementType.h"
#include "Settings/AnalysisDeckSettings.h"
#include "Settings/ElementCoupling.h"

namespace Tarnel {

class MasterMeshInspector;

// The one mesh of the whole analysis model: a process-wide singleton owning
// the gmsh model "DefaultMasterMesh" and the library's bookkeeping of it.
// Meshes made elsewhere in temporary models become part of it through
// ExtendComponentMesh.
//
// Node and element IDs are the gmsh tags of the master model. A new node gets
// the model's largest node tag + 1, a new element the largest element tag + 1.
// Nodes are never removed from gmsh (deleted nodes move to the removed set of
// the node repository), so node IDs are never reused.
//
// Invariants kept by every operation:
// - the element table (`elements`) holds exactly the elements of the gmsh
//   model, under their tags, with gmsh's shape and node list;
// - every stored element is in the element set of its dimension of the
//   component mesh its origin names, under the set ID its origin names;
// - `nodeToElements` records, for every node, exactly the stored elements
//   that use it;
// - every node used by a stored element is active in the node repository.
class MasterMesh : public Mesh {
public:
    static MasterMesh& getInstance();
    // Destroys the singleton and its gmsh model; nothing when there is none.
    static void deleteInstance();
    // Whether the singleton exists, without creating it.
    static bool hasInstance();

    MasterMesh(const MasterMesh&) = delete;
    MasterMesh& operator=(const MasterMesh&) = delete;

    // Places the content of `sourceMesh` into the master mesh as part of
    // `component` and returns &component. `shapeSolverTypes` must hold every
    // shape that is placed; a missing one throws std::out_of_range after the
    // earlier shapes were placed. With `isPreview` only the component's last
    // transaction is filled, with the IDs the placement would assign.
    ComponentMesh* ExtendComponentMesh(ComponentMesh& component, const Mesh& sourceMesh,
                                       std::unordered_map<ElementShape, SolverElementType> shapeSolverTypes,
                                       bool isPreview);

    // Copies of all stored elements, in the element table's order.
    std::vector<Element> GetAllElements() override;
    // A copy of the stored element, or the default Element.
    Element GetElementDefinition(int elementId) override;

    // The tag of the physical group of that dimension named `name` in the
    // current gmsh model, or -1.
    static int GetPhysicalGroupId(const std::string& name, ElementDimension dimension);

    NodeRepository* GetNodeRepositoryPtr();
    ElementStorage* GetElementStoragePtr();
    AnalysisDeckSettings* GetAnalysisDeckSettingsPtr();

private:
    friend class MasterMeshInspector;

    MasterMesh();
    ~MasterMesh() override;

    void _registerNodes(const std::vector<Node>& nodes, bool addToGmsh);
    void _addElementsToGmsh(const std::vector<int>& elementIds, const std::vector<std::size_t>& nodeIds,
                            ElementShape shape);
    void _createDefaultPhysicalGroups();
    int _createAllNodesPhysicalGroup(std::string name, std::unordered_set<int> ids);
    int _createPhysicalGroupForElementsOfDimension(std::string name, std::unordered_set<int> ids,
                                                   ElementDimension dimension);
    int _entityTagOfDimension(int dimension) const;
    struct Placement;
    void _loadSourceFileAsMasterModel(const Mesh& sourceMesh);
    void _placeNodes(Placement& placement, int lastNodeId);
    void _placeElementsOfType(Placement& placement, std::size_t typeIndex);

    int nodesEntityTag = -1;
    int elements1DEntityTag = -1;
    int elements2DEntityTag = -1;
    int elements3DEntityTag = -1;
    std::map<int, ComponentMesh> componentMeshes;
    std::map<int, MeshReference> elementSets;
    std::map<int, MeshReference> nodeSets;
    std::vector<ElementCoupling> kinematicCouplings;
    std::vector<ElementCoupling> distributingCouplings;
    NodeRepository nodeRepository;
    AnalysisDeckSettings analysisDeckSettings;
    NodeElementIndex nodeToElements;
};

}  // namespace Tarnel

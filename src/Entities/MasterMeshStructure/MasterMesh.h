#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Entities/ElementDimension.h"
#include "Entities/ElementShape.h"
#include "Entities/MasterMeshStructure/ComponentMesh.h"
#include "Entities/MasterMeshStructure/ElementSet.h"
#include "Entities/MasterMeshStructure/ElementStorage.h"
#include "Entities/MasterMeshStructure/MeshReference.h"
#include "Entities/MasterMeshStructure/NodeElementIndex.h"
#include "Entities/MasterMeshStructure/NodeRepository.h"
#include "Entities/MasterMeshStructure/NodeSet.h"
#include "Entities/Mesh.h"
#include "Entities/ElementData.h"
#include "Entities/MasterMeshStructure/QualityMeasure.h"
#include "Entities/MeshFileFormat.h"
#include "Entities/MeshTransaction.h"
#include "Entities/Node.h"
#include "Entities/SolverElementType.h"
#include "Entities/XYZ.h"
#include "Operations/CouplingMigration.h"
#include "Settings/AnalysisDeckSettings.h"
#include "Settings/ElementCoupling.h"

namespace Tarnel {

class MasterMeshChecker;

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

    // ----- nodes
    // One node per position, IDs from the largest node tag + 1; the positions
    // are rounded to six decimals in place. Empty on failure (logged).
    std::vector<Node> AddNodes(std::vector<XYZ>& positions, bool isPreview);
    // The node, or {false, 0, (0, 0, 0)} when it was not added.
    Node AddNode(XYZ position, bool isPreview);
    // Every node tag of the master model, deleted nodes included.
    std::vector<std::uint64_t> GetAllNodeIDs();
    std::vector<std::uint64_t> GetActiveNodeIDs();
    std::vector<std::uint64_t> GetDeletedNodeIDs();
    // Deletes the nodes and, with them, every element that uses them (listed
    // in `affectedElements`). False on failure (logged).
    bool DeleteNodes(std::unordered_set<int> nodeIds, std::vector<Element>& affectedElements,
                     std::unordered_set<int>& orphanNodeIds, bool removeOrphanNodes);
    // True when no element uses the node.
    bool IsNodeOrphan(int nodeId);

    // ----- elements
    // Adds batches of elements to a component: `shapes[i]` is the shape of
    // `elementData[i]`, whose `elementIds` hold each element's solver type.
    // The attributes apply to every element; their int attribute 8 or 9 makes
    // the lines the representation beams of a new kinematic or distributing
    // coupling. Failures propagate after the earlier batches were added.
    MeshTransaction AddElements(int componentId, const std::vector<ElementShape>& shapes,
                                const std::vector<int>& createdNodeIds, const std::vector<double>& createdNodeRecords,
                                const std::vector<ElementData>& elementData,
                                const std::vector<SolverElementType>& solverTypes, ElementAttributes attributes,
                                bool isPreview);
    MeshTransaction AddElement(int componentId, ElementShape shape, const ElementData& data);
    // Deletes the elements from gmsh and from every container; with
    // `removeOrphanNodes`, the nodes left without element are deleted too and
    // reported. Unknown IDs are skipped (logged). False on failure (logged).
    bool DeleteElements(std::unordered_set<int> elementIds, std::unordered_set<int>& orphanNodeIds,
                        bool removeOrphanNodes);
    // Builds the node-to-element index from gmsh; refuses to run on a
    // populated index.
    void SyncNodeIdToElementConnections();

    // ----- sets, components and couplings
    NodeSet* CreateNodeSet(int id, const std::unordered_set<int>& nodeIds);
    ElementSet* CreateElementSet(int id, const std::unordered_set<int>& elementIds);
    bool InsertMeshReference(MeshReference reference);
    bool InsertMeshComponent(ComponentMesh component);
    MeshReference* GetMeshSet(int id);
    ComponentMesh* GetComponentMesh(int id);
    bool DeleteMeshSet(int id);
    // Deletes the component with its elements, its orphaned nodes and its
    // couplings.
    bool DeleteMeshComponent(int id);
    void SetKinematicCouplings(const std::vector<ElementCoupling>& couplings);
    void SetDistributingCouplings(const std::vector<ElementCoupling>& couplings);
    std::vector<ElementCoupling> GetKinematicCouplings() const;
    std::vector<ElementCoupling> GetDistributingCouplings() const;

    // ----- normals and free boundaries
    // Replaces each listed triangle and quadrangle by one with its node order
    // reversed, in the same component; `reversedIds` receives the replaced
    // IDs, which the last transaction lists as removed. Unknown IDs are
    // skipped; any other shape throws before anything changes.
    std::vector<MeshTransaction> ReverseNormals(const std::vector<int>& elementIds, std::vector<int>& reversedIds,
                                                std::unordered_map<std::string, int>& solverTypesByShape);
    // The edges (smaller node ID first) of the listed elements that no other
    // surface or volume element of the master mesh shares.
    std::vector<std::vector<int>> GetFreeElementEdges(const std::vector<int>& elementIds);
    // The faces of the listed volume elements that no other listed element
    // shares, oriented outwards: the triangles, then the quadrangles, each
    // with the ID of the element it belongs to.
    std::vector<ElementData> GetFreeElementFaces(const std::vector<int>& elementIds);

    // ----- mirror and translate
    // Images of the nodes across the plane through `planePoint` with normal
    // `planeNormal`, as new nodes in input order (duplicates included).
    // `solverTypesByShape` is neither read nor changed. Empty on failure
    // (logged).
    std::vector<Node> MirrorNodes(std::vector<int> nodeIds, std::vector<float> planePoint,
                                  std::vector<float> planeNormal,
                                  std::unordered_map<std::string, int>& solverTypesByShape, bool isPreview);
    // Mirror images of the elements, on new nodes, added to `componentMeshId`;
    // the sources stay. Invalid elements are skipped (logged).
    std::vector<MeshTransaction> MirrorElements(int componentMeshId, std::vector<int> elementIds,
                                                std::vector<float> planePoint, std::vector<float> planeNormal,
                                                std::unordered_map<std::string, int>& solverTypesByShape,
                                                bool isPreview);
    // Moves the nodes by `translation` (dx, dy, dz): new nodes at the moved
    // positions, every element using a moved node rebuilt on them, the old
    // elements deleted (not in a preview). The old nodes stay, unused.
    std::vector<MeshTransaction> TranslateNodes(std::vector<int> nodeIds, std::vector<float> translation,
                                                std::unordered_map<std::string, int>& solverTypesByShape,
                                                bool isPreview);

    // ----- node merging
    // Replaces every node of `nodeIds` by `targetNodeId` in every element that
    // uses it; the elements are rebuilt and the old ones deleted with their
    // orphaned nodes (not in a preview).
    std::vector<MeshTransaction> MergeNodes(std::unordered_set<int> nodeIds, int targetNodeId,
                                            std::unordered_map<std::string, int>& solverTypesByShape,
                                            bool isPreview);
    // Merges the nodes of the elements that lie within `tolerance` of each
    // other, rebuilding the selected elements and their neighbours.
    std::vector<MeshTransaction> MergeByElements(const std::vector<int>& elementIds, double tolerance,
                                                 std::unordered_map<std::string, int>& solverTypesByShape,
                                                 bool isPreview);

    // ----- copy and cut-paste
    // Pastes the elements into the target component: copies on new nodes, or
    // (with `isCut`) the same elements on their own nodes under new IDs, the
    // originals deleted. Couplings whose beams are all selected follow. The
    // nodes of `nodeIds` are copied in both modes. A failure answers a
    // transaction with component mesh ID -1 (logged).
    MeshTransaction CopyPaste_CutPaste_ElementsAndNodes(const std::unordered_set<int>& nodeIds,
                                                        const std::unordered_set<int>& elementIds,
                                                        int targetComponentMeshId,
                                                        std::unordered_map<std::string, int>& solverTypesByShape,
                                                        bool isCut);

    // ----- export and quality
    // Writes the whole master mesh to "<export path>/DefaultMasterMesh<extension>";
    // Abaqus input gets its pyramids as degenerate reduced hexahedra. A
    // component ID other than -1 writes nothing. False on failure (logged),
    // and without an export path.
    bool ExportMeshFile(MeshFileFormat format, int componentId);
    // The triangles and quadrangles among `elementIds` (every surface element
    // when empty) whose quality lies strictly beyond the threshold.
    std::map<int, float> CheckQuality2D(QualityMeasure measure, ComparisonCondition condition, double threshold,
                                        const std::vector<std::uint64_t>& elementIds);

    // The tag of the physical group of that dimension named `name` in the
    // current gmsh model, or -1.
    static int GetPhysicalGroupId(const std::string& name, ElementDimension dimension);

    NodeRepository* GetNodeRepositoryPtr();
    ElementStorage* GetElementStoragePtr();
    AnalysisDeckSettings* GetAnalysisDeckSettingsPtr();

private:
    friend class MasterMeshChecker;

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
    static bool _isFileNamed(const std::string& path, const std::string& name);
    MeshTransaction _addElements(int componentId, const std::vector<ElementShape>& shapes,
                                 const std::vector<int>& createdNodeIds, const std::vector<double>& createdNodeRecords,
                                 const std::vector<ElementData>& elementData,
                                 const std::vector<SolverElementType>& solverTypes, ElementAttributes attributes,
                                 bool isPreview, std::size_t previewedElementCount);
    // ----- the rebuild of elements shared by the editing operations
    void _addElementToShapeBatch(ElementShape shape, SolverElementType solverType, int componentMeshId,
                                 const std::vector<int>& nodeIds,
                                 std::unordered_map<int, std::vector<ElementData>>& shapeBatches,
                                 const std::string& operationName);
    static void _reserveShapeBatch(ElementShape shape, int componentMeshId, std::size_t elementCount,
                                   std::unordered_map<int, std::vector<ElementData>>& shapeBatches);
    static std::vector<SolverElementType> _rebuildSolverTypes(
        std::unordered_map<std::string, int>& solverTypesByShape);
    std::vector<MeshTransaction> _rebuildShapeBatches(
        const std::unordered_map<int, std::vector<ElementData>>& shapeBatches,
        const std::vector<SolverElementType>& solverTypes, std::vector<int> nodeIds,
        std::vector<double> nodeRecords, bool isPreview);
    std::size_t _checkElementBatches(const std::vector<ElementShape>& shapes,
                                     const std::vector<ElementData>& elementData, std::size_t maxElementTag,
                                     bool isPreview);
    // ----- copy and cut-paste
    MeshTransaction _copyElementsTo(int targetComponentMeshId, std::vector<Element>& elements,
                                    std::unordered_map<std::string, int>& solverTypesByShape);
    MeshTransaction _moveElementsTo(int targetComponentMeshId, std::vector<Element>& elements,
                                    std::unordered_map<std::string, int>& solverTypesByShape);
    void _applyCouplingMigrations(const std::vector<CouplingMigration>& migrations, const MeshTransaction& transaction,
                                  std::size_t pointElementCount, int targetComponentMeshId, bool isCut,
                                  const std::unordered_map<int, int>& copiedNodeIds);
    void _removeNodes(const std::unordered_set<int>& nodeIds);
    void _removeAllElementReferences(const std::vector<int>& removedIds);
    bool _deleteElements(const std::vector<int>& ascendingIds, std::unordered_set<int>& orphanNodeIds,
                         bool removeOrphanNodes);
    void _removeElementsFromGmsh(const std::vector<std::size_t>& tags);
    std::vector<ElementCoupling> _filterValidCouplings(const std::vector<ElementCoupling>& couplings,
                                                       const std::string& kind);
    void _takeStoredSets(ComponentMesh& component);
    bool _checkSourceTypes(const std::vector<int>& types,
                           const std::unordered_map<ElementShape, SolverElementType>& shapeSolverTypes,
                           bool solverTypesNeeded);
    bool _idsFit(const char* what, std::size_t count, std::size_t largestTag);
    bool _placeNodes(Placement& placement, std::size_t lastNodeId);
    void _placeElementsOfType(Placement& placement, std::size_t typeIndex);

    int nodesEntityTag = -1;
    int elements1DEntityTag = -1;
    int elements2DEntityTag = -1;
    int elements3DEntityTag = -1;
    std::map<int, ComponentMesh> componentMeshes;
    // Named sets by ID; each holds its own ID as its componentId.
    std::map<int, ElementSet> elementSets;
    std::map<int, NodeSet> nodeSets;
    std::vector<ElementCoupling> kinematicCouplings;
    std::vector<ElementCoupling> distributingCouplings;
    NodeRepository nodeRepository;
    AnalysisDeckSettings analysisDeckSettings;
    NodeElementIndex nodeToElements;
};

// Rewrites the 5-node pyramids of an Abaqus input file as degenerate 8-node
// hexahedra with reduced integration (C3D5 -> C3D8R, C3D5H -> C3D8RH, the apex
// repeated). True when the file needed no change or was rewritten.
bool _convertPyramidElementsToReducedHexInAbaqusInp(const std::string& path);

}  // namespace Tarnel

#pragma once

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Entities/Element.h"
#include "Entities/ElementDimension.h"
#include "Entities/MasterMeshStructure/ElementStorage.h"
#include "Entities/MeshFileFormat.h"
#include "Entities/Node.h"
#include "Entities/XYZ.h"
#include "GEOM_Object.hxx"

namespace Tarnel {

// One named gmsh model seen from this library: a mesher's temporary model, a
// mesh loaded from a file, and the base of the master mesh, the component
// meshes and the mesh references. Every operation first makes its model
// current through the engine wrapper.
//
// A Mesh owns only its bookkeeping: copies name the same gmsh model, and the
// model outlives the object until it is removed (ClearMesh, or
// MeshEngineWrapper::RemoveMesh) or lost in a session reset.
class Mesh {
public:
    // With `createModel`, adds a fresh empty gmsh model named "tmpmesh_<n>"
    // (n counts up from 1 in each process and is never reused).
    explicit Mesh(bool createModel = false);
    // A failed mesh: invalid, carrying the message, without a model.
    explicit Mesh(const std::string& errorMessage);
    explicit Mesh(const char* errorMessage);
    Mesh(const Mesh&) = default;
    Mesh& operator=(const Mesh&) = default;
    virtual ~Mesh();

    // Removes the model and starts over with a fresh temporary one. The
    // element cache is kept.
    void ClearMesh();
    // Reads directory/<file name><extension> into a model named after the
    // file name. Throws MorvaneException for an unknown format or a missing
    // file; returns false (logged) when the file is blank or gmsh cannot
    // read it.
    bool LoadMesh(std::string directory, MeshFileFormat format);
    // Writes the model to directory/<file name><extension> and returns the
    // path, or "" without a directory. gmsh failures propagate.
    std::string WriteMesh(const std::string& directory, MeshFileFormat format);

    void SetFileName(std::string name);
    std::string GetFileName() const;
    std::string GetSourceMeshPath() const;
    MeshFileFormat GetSourceMeshFormat() const;

    bool IsValid() const;
    std::string GetErrorMessage() const;
    // A non-empty message also marks the mesh invalid.
    void SetErrorMessage(const std::string& message);

    // When placed into the master mesh, a filter other than -1 keeps only the
    // elements of that dimension.
    void SetMeshAdditionElementFilter(ElementFilter filter);
    ElementFilter GetMeshAdditionElementFilter() const;

    // Node tags of this mesh that are node IDs of the master mesh: the shell
    // a volume mesh was made from. Placing the mesh reuses those master nodes
    // (where they are active) instead of adding nodes of its own.
    void SetSharedMasterNodeIds(std::unordered_set<int> nodeIds);
    const std::unordered_set<int>& GetSharedMasterNodeIds() const;

    // Every element of the model; the first call fills the element cache,
    // later calls serve it.
    virtual std::vector<Element> GetAllElements();
    // The element as gmsh holds it, or a default Element when it is unknown.
    virtual Element GetElementDefinition(int elementId);
    // The node as gmsh holds it; its validity flag is false when unknown.
    Node GetNodeDefinition(int nodeId);

    // ----- topology queries
    // The elements that use the node, among those gmsh finds at its position.
    std::vector<Element> GetElementsAssociatedWithNode(int nodeId);
    // The elements gmsh finds at the position, in gmsh's order.
    std::vector<Element> GetElementsNearPosition(XYZ position);
    // The edges (smaller node ID first) of the selected triangles and
    // quadrangles that no other selected element shares, in ascending order.
    // Other surface shapes are logged and skipped; volumes, lines and points
    // have no border edges here.
    virtual std::vector<std::pair<int, int>> GetElementSelectionBorder(const std::vector<int>& elementIds);
    // The nodes of the selection's border, each once; an empty selection
    // means every surface element.
    std::vector<int> GetBoundaryNodeIDs(const std::vector<int>& elementIds);
    // One GEOM wire per connected run of border edges; a closed run ends at
    // its first node.
    std::vector<opencascade::handle<GEOM_Object>> GenerateBoundingWiresForElements(const std::vector<int>& elementIds);

protected:
    // Assumes the model is current; an invalid XYZ when the node is unknown.
    XYZ getNodePosition(int nodeId);
    // The name of the model just loaded from `path`, made unique when needed.
    std::string _nameLoadedModel(const std::string& path);

    ElementStorage elements;
    std::string modelName;
    std::string fileName;
    std::string sourceMeshPath;
    MeshFileFormat sourceMeshFormat = MeshFileFormat::NONE;
    bool isValid = true;
    std::string errorMessage;
    ElementFilter meshAdditionElementFilter = -1;
    std::unordered_set<int> sharedMasterNodeIds;

    friend class MeshEngineWrapper;
    friend class MasterMesh;
    friend class Mesher3D;
};

}  // namespace Tarnel

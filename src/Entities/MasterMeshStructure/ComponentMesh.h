#pragma once

#include <memory>
#include <vector>

#include "Entities/ElementDimension.h"
#include "Entities/MasterMeshStructure/ElementSet.h"
#include "Entities/Mesh.h"
#include "Entities/MeshTransaction.h"

namespace Tarnel {

class AssetFile;

// The mesh of one geometry component, placed into the master mesh. It holds
// no elements itself: it holds the IDs of its master-mesh elements in four
// element sets by dimension, remembers the last transaction that changed it,
// and writes its elements to the asset file "<file name>.mshp".
//
// Invariants: each of the four sets holds only elements of its dimension; an
// element ID is in at most one of them.
class ComponentMesh : public Mesh {
public:
    // The temporary component: ID -1, set IDs -2 (0D) to -5 (3D), file name
    // "temporaryComponentMesh".
    ComponentMesh();
    ComponentMesh(int componentMeshId, int id0D, int id1D, int id2D, int id3D);
    ComponentMesh(const ComponentMesh&) = default;
    ComponentMesh& operator=(const ComponentMesh&) = default;
    ~ComponentMesh() override;

    int GetComponentMeshId() const;
    // The set of dimension 0 to 3; nullptr for any other value.
    ElementSet* GetElementsByDimension(ElementDimension dimension);
    // The first set with that ID, tested from 0D to 3D; nullptr if none.
    ElementSet* GetElementsByReferenceId(int id);
    MeshTransaction GetLastMeshTransaction() const;
    void SetLastMeshTransaction(const MeshTransaction& transaction);
    void SetLastMeshTransaction(MeshTransaction&& transaction);
    bool IsComponentMeshEmpty() const;

    // The component's elements as the master mesh holds them, in the master's
    // order.
    std::vector<Element> GetAllElements() override;

    // Writes "<export path>/<file name>.mshp" on a pool thread and returns when
    // it is written. Failures inside the writing job are logged, not thrown;
    // without an export path nothing is written.
    void WriteMeshAssetFile();

private:
    void _writeOutElementsOfDimension(ElementDimension dimension, AssetFile& file);

    int componentMeshId = -1;
    ElementSet elementSet3D;
    ElementSet elementSet2D;
    ElementSet elementSet1D;
    ElementSet elementSet0D;
    // Transactions are never changed once recorded, so copies of a component
    // share theirs: the master mesh keeps a copy of every placed component,
    // and a placement's transaction can hold millions of entries.
    std::shared_ptr<const MeshTransaction> lastMeshTransaction;
};

}  // namespace Tarnel

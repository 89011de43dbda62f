#include "Entities/MasterMeshStructure/ComponentMesh.h"

#include <future>
#include <ostream>

#include "AssetFile.h"
#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/ComponentMesh";
const char* const kWriteLocation = "Tarnel::ComponentMesh::WriteMeshAssetFile";
const char* const kJobLocation = "Tarnel::ComponentMesh::WriteMeshAssetFile::<lambda_1>::operator ()";

// All shapes of the system, grouped by family: the order of the blocks in an
// asset file.
const ElementShape kAssetShapeOrder[] = {
    LINE_2NODE,  LINE_3NODE,    TRIANGLE_3NODE, TRIANGLE_6NODE, QUAD_4NODE,   QUAD_9NODE,
    QUAD_8NODE,  TETRA_4NODE,   TETRA_10NODE,   HEXA_8NODE,     HEXA_27NODE,  HEXA_20NODE,
    PRISM_6NODE, PRISM_18NODE,  PRISM_15NODE,   PYRAMID_5NODE,  PYRAMID_14NODE, POINT_1NODE};

}  // namespace

ComponentMesh::ComponentMesh()
    : Mesh(false),
      elementSet3D(-5),
      elementSet2D(-4),
      elementSet1D(-3),
      elementSet0D(-2),
      lastMeshTransaction(std::make_shared<const MeshTransaction>())
{
    fileName = "temporaryComponentMesh";
}

ComponentMesh::ComponentMesh(int componentMeshId, int id0D, int id1D, int id2D, int id3D)
    : Mesh(false),
      componentMeshId(componentMeshId),
      elementSet3D(id3D),
      elementSet2D(id2D),
      elementSet1D(id1D),
      elementSet0D(id0D),
      lastMeshTransaction(std::make_shared<const MeshTransaction>())
{
}

ComponentMesh::~ComponentMesh() = default;

int ComponentMesh::GetComponentMeshId() const
{
    return componentMeshId;
}

ElementSet* ComponentMesh::GetElementsByDimension(ElementDimension dimension)
{
    switch (dimension) {
    case DIMENSION_0D: return &elementSet0D;
    case DIMENSION_1D: return &elementSet1D;
    case DIMENSION_2D: return &elementSet2D;
    case DIMENSION_3D: return &elementSet3D;
    default: return nullptr;
    }
}

ElementSet* ComponentMesh::GetElementsByReferenceId(int id)
{
    for (ElementSet* set : {&elementSet0D, &elementSet1D, &elementSet2D, &elementSet3D})
        if (set->GetComponentId() == id) return set;
    return nullptr;
}

MeshTransaction ComponentMesh::GetLastMeshTransaction() const
{
    return *lastMeshTransaction;
}

void ComponentMesh::SetLastMeshTransaction(const MeshTransaction& transaction)
{
    lastMeshTransaction = std::make_shared<const MeshTransaction>(transaction);
}

void ComponentMesh::SetLastMeshTransaction(MeshTransaction&& transaction)
{
    lastMeshTransaction = std::make_shared<const MeshTransaction>(std::move(transaction));
}

bool ComponentMesh::IsComponentMeshEmpty() const
{
    return elementSet0D.IsReferenceEmpty() && elementSet1D.IsReferenceEmpty() && elementSet2D.IsReferenceEmpty() &&
           elementSet3D.IsReferenceEmpty();
}

std::vector<Element> ComponentMesh::GetAllElements()
{
    std::unordered_set<int> ids;
    for (const ElementSet* set : {&elementSet0D, &elementSet1D, &elementSet2D, &elementSet3D})
        ids.insert(set->ElementIds().begin(), set->ElementIds().end());
    std::vector<Element> result;
    for (Element& element : MasterMesh::getInstance().GetAllElements())
        if (ids.count(element.id) != 0) result.push_back(std::move(element));
    return result;
}

void ComponentMesh::WriteMeshAssetFile()
{
    TARNEL_LOG_DEBUG("Writing out mesh asset file asynchronously.", kWriteLocation);
    // The job runs on a pool thread while this thread waits for it, so its
    // gmsh calls never race with the caller's: the file is complete when this
    // call returns.
    std::future<void> job = std::async(std::launch::async, [this] {
        std::string path;
        try {
            const std::string directory = MeshEngineWrapper::getInstance().GetMeshExportPath();
            // Without a directory the path would name the filesystem root.
            if (directory.empty()) {
                TARNEL_LOG_ERROR("Export directory was not set, we are not writing out the mesh asset file " +
                                     fileName + ".mshp!",
                                 kJobLocation);
                return;
            }
            MeshEngineWrapper::getInstance().ActivateMasterMesh();
            path = directory + "/" + fileName + ".mshp";
            AssetFile file(path);
            if (IsComponentMeshEmpty()) {
                TARNEL_LOG_INFO("Will not write out asset file for " + path + " because it is an empty reference.",
                                kJobLocation);
                return;
            }
            file.ClearFile();
            for (ElementDimension dimension : {DIMENSION_0D, DIMENSION_1D, DIMENSION_2D, DIMENSION_3D})
                _writeOutElementsOfDimension(dimension, file);
        } catch (const MorvaneException&) {
            // Already logged when it was raised.
        } catch (const std::exception& exception) {
            TARNEL_LOG_EXCEPTION("Component mesh asset file could not be written: " + path, exception, kJobLocation);
        }
    });
    job.wait();
    TARNEL_LOG_DEBUG("Asset file writing started...", kWriteLocation);
}

void ComponentMesh::_writeOutElementsOfDimension(ElementDimension dimension, AssetFile& file)
{
    const std::string tag = "$m" + GetDimensionDisplayString(dimension);
    const ElementSet& set = *GetElementsByDimension(dimension);
    if (set.GetElementCount() == 0) {
        TARNEL_LOG_INFO("Not exporting MSHP asset for TopoMesh ID = " + std::to_string(componentMeshId) +
                            " of type " + tag + ", because it has no elements" +
                            " of the required dimension saved to it!",
                        kJobLocation);
        return;
    }
    if (!file.OpenFileForAppending()) throw MorvaneException("Could not open component mesh asset file for editing!");

    std::ostream& out = *file.GetFilePtr();
    const ValueRange<int> range = set.GetIDsValueRange();
    out << tag << "\n" << set.GetComponentId() << "\n$Elements\n";
    out << "1 " << set.GetElementCount() << " " << range.min << " " << range.max << "\n";
    for (ElementShape shape : kAssetShapeOrder) {
        if (GetShapeDimension(shape) != dimension) continue;
        std::vector<std::size_t> elementTags;
        std::vector<std::size_t> nodeTags;
        GmshAdapter::model::mesh::getElementsByType(shape, elementTags, nodeTags, -1, 0, 1);
        const std::size_t nodesPerElement = static_cast<std::size_t>(GetShapeNodeCount(shape));
        std::vector<std::size_t> members;
        for (std::size_t k = 0; k < elementTags.size(); ++k)
            if (set.HasElementID(static_cast<int>(elementTags[k]))) members.push_back(k);
        if (members.empty()) continue;
        out << dimension << " -1 " << shape << " " << members.size() << "\n";
        for (std::size_t k : members) {
            out << elementTags[k];
            for (std::size_t n = 0; n < nodesPerElement; ++n) out << " " << nodeTags[k * nodesPerElement + n];
            out << "\n";
        }
    }
    out << "$EndElements\n";
    out.flush();
}

}  // namespace Tarnel

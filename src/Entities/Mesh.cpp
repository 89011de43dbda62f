#include "Entities/Mesh.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "Diagnostics/MorvaneException.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/Mesh";

std::string nextTemporaryModelName()
{
    static std::atomic<std::uint32_t> counter{0};
    return "tmpmesh_" + std::to_string(++counter);
}

// A regular file with nothing but blanks in it (a directory is not one).
bool isBlankFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream file(path, std::ios::binary);
    for (char c = 0; file.get(c);)
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return file.eof();
}

}  // namespace

Mesh::Mesh(bool createModel)
{
    if (!createModel) return;
    MeshEngineWrapper::getInstance();
    modelName = nextTemporaryModelName();
    TARNEL_LOG_DEBUG("Creating new mesh model with name: " + modelName, "Tarnel::Mesh::Mesh");
    GmshAdapter::model::add(modelName);
}

Mesh::Mesh(const std::string& errorMessage) : isValid(false), errorMessage(errorMessage)
{
    TARNEL_LOG_ERROR("Mesh creation failed: " + errorMessage, "Tarnel::Mesh::Mesh");
}

Mesh::Mesh(const char* errorMessage) : Mesh(std::string(errorMessage != nullptr ? errorMessage : "")) {}

Mesh::~Mesh() = default;

void Mesh::ClearMesh()
{
    MeshEngineWrapper::getInstance().RemoveMesh(*this);
    modelName = nextTemporaryModelName();
    GmshAdapter::model::add(modelName);
}

bool Mesh::LoadMesh(std::string directory, MeshFileFormat format)
{
    const std::string path = directory + "/" + fileName + GetMeshFileExtension(format);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw MorvaneException(std::string("Mesh file does not exist: ") + path);
    // gmsh reads an empty file without complaint, as an empty mesh, into a
    // model of its own: it is refused before gmsh sees it.
    if (isBlankFile(path)) {
        TARNEL_LOG_ERROR("Mesh file holds no mesh: " + path, "Tarnel::Mesh::LoadMesh");
        return false;
    }
    try {
        MeshEngineWrapper::getInstance().ActivateMesh(*this);
        sourceMeshFormat = format;
        sourceMeshPath = path;
        GmshAdapter::open(path);
        TARNEL_LOG_DEBUG("LoadMesh loaded mesh from " + path, "Tarnel::Mesh::LoadMesh");
        modelName = _nameLoadedModel(path);
        return true;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Failed to load mesh!", exception, "Tarnel::Mesh::LoadMesh");
        return false;
    }
}

// gmsh names the model it reads after the file, even when a model of that
// name exists: last session's "DefaultMasterMesh.msh", or a file loaded
// twice. Two models of one name cannot be told apart, and placing one would
// take the other, the master mesh's own model included; so the loaded model
// gets a name of its own.
std::string Mesh::_nameLoadedModel(const std::string& path)
{
    std::vector<std::string> names;
    GmshAdapter::model::list(names);
    if (std::count(names.begin(), names.end(), fileName) < 2) return fileName;
    std::string unique;
    for (int suffix = 2; unique.empty() || std::count(names.begin(), names.end(), unique) != 0; ++suffix)
        unique = fileName + "_" + std::to_string(suffix);
    GmshAdapter::model::rename(unique);
    TARNEL_LOG_WARN("A gmsh model called " + fileName + " exists already; the mesh loaded from " + path +
                        " is called " + unique + ".",
                    "Tarnel::Mesh::LoadMesh");
    return unique;
}

std::string Mesh::WriteMesh(const std::string& directory, MeshFileFormat format)
{
    MeshEngineWrapper::getInstance().ActivateMesh(*this);
    if (directory.empty()) {
        TARNEL_LOG_ERROR("Mesh directory was not set, we are not writing out the master mesh!",
                         "Tarnel::Mesh::WriteMesh");
        return "";
    }
    const std::string path = directory + "/" + fileName + GetMeshFileExtension(format);
    GmshAdapter::write(path);
    return path;
}

void Mesh::SetFileName(std::string name)
{
    TARNEL_LOG_INFO("Filename set for mesh as " + name, "Tarnel::Mesh::SetFileName");
    fileName = std::move(name);
}

std::string Mesh::GetFileName() const
{
    return fileName;
}

std::string Mesh::GetSourceMeshPath() const
{
    return sourceMeshPath;
}

MeshFileFormat Mesh::GetSourceMeshFormat() const
{
    return sourceMeshFormat;
}

bool Mesh::IsValid() const
{
    return isValid;
}

std::string Mesh::GetErrorMessage() const
{
    return errorMessage;
}

void Mesh::SetErrorMessage(const std::string& message)
{
    errorMessage = message;
    if (!message.empty()) isValid = false;
}

void Mesh::SetMeshAdditionElementFilter(ElementFilter filter)
{
    meshAdditionElementFilter = filter;
}

ElementFilter Mesh::GetMeshAdditionElementFilter() const
{
    return meshAdditionElementFilter;
}

void Mesh::SetSharedMasterNodeIds(std::unordered_set<int> nodeIds)
{
    sharedMasterNodeIds = std::move(nodeIds);
}

const std::unordered_set<int>& Mesh::GetSharedMasterNodeIds() const
{
    return sharedMasterNodeIds;
}

std::vector<Element> Mesh::GetAllElements()
{
    MeshEngineWrapper::getInstance().ActivateMesh(*this);
    std::vector<Element> result;
    if (!elements.Empty()) return elements.GetAll();

    GmshAdapter::vectorpair entities;
    GmshAdapter::model::getEntities(entities, -1);
    for (const auto& entity : entities) {
        std::vector<int> types;
        std::vector<std::vector<std::size_t>> elementTags;
        std::vector<std::vector<std::size_t>> nodeTags;
        GmshAdapter::model::mesh::getElements(types, elementTags, nodeTags, entity.first, entity.second);
        for (std::size_t t = 0; t < types.size(); ++t) {
            const std::size_t count = elementTags[t].size();
            if (count == 0) continue;
            const std::size_t nodesPerElement = nodeTags[t].size() / count;
            for (std::size_t k = 0; k < count; ++k) {
                Element element;
                element.id = static_cast<int>(elementTags[t][k]);
                element.shape = static_cast<ElementShape>(types[t]);
                element.nodeIds.reserve(nodesPerElement);
                for (std::size_t n = 0; n < nodesPerElement; ++n)
                    element.nodeIds.push_back(static_cast<int>(nodeTags[t][k * nodesPerElement + n]));
                elements.AddElement(element);
                result.push_back(std::move(element));
            }
        }
    }
    return result;
}

Element Mesh::GetElementDefinition(int elementId)
{
    try {
        MeshEngineWrapper::getInstance().ActivateMesh(*this);
        int type = 0;
        int dim = 0;
        int tag = 0;
        std::vector<std::size_t> nodeTags;
        GmshAdapter::model::mesh::getElement(static_cast<std::size_t>(elementId), type, nodeTags, dim, tag);
        Element element;
        element.id = elementId;
        element.shape = static_cast<ElementShape>(type);
        element.nodeIds.assign(nodeTags.begin(), nodeTags.end());
        return element;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Failed to retrieve element definition for ID = " + std::to_string(elementId), exception,
                             "Tarnel::Mesh::GetElementDefinition");
        return Element();
    }
}

Node Mesh::GetNodeDefinition(int nodeId)
{
    MeshEngineWrapper::getInstance().ActivateMesh(*this);
    const XYZ position = getNodePosition(nodeId);
    if (!position.IsValid()) return Node(false, 0, XYZ());
    return Node(true, nodeId, position);
}

XYZ Mesh::getNodePosition(int nodeId)
{
    try {
        std::vector<double> coord;
        std::vector<double> parametricCoord;
        int dim = 0;
        int tag = 0;
        GmshAdapter::model::mesh::getNode(static_cast<std::size_t>(nodeId), coord, parametricCoord, dim, tag);
        return XYZ(coord.at(0), coord.at(1), coord.at(2));
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Failed to retrieve node position for ID = " + std::to_string(nodeId), exception,
                             "Tarnel::Mesh::getNodePosition");
        return XYZ::ConstructInvalid();
    }
}

}  // namespace Tarnel

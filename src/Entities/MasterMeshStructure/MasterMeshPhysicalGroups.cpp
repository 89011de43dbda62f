// The four default physical groups of the master model, one per dimension,
// each holding the one discrete entity to which the library attaches every
// node and element of that dimension, so that gmsh writes them on export.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";

// The entity to attach to in a group that already exists: its first entity,
// or, for a group that lost its entities, a new one added to the group.
int entityOfExistingGroup(int dimension, int group)
{
    std::vector<int> entities;
    GmshAdapter::model::getEntitiesForPhysicalGroup(dimension, group, entities);
    if (!entities.empty()) return entities.front();
    const int entity = GmshAdapter::model::addDiscreteEntity(dimension, -1, {});
    GmshAdapter::model::addPhysicalGroup(dimension, {entity}, group);
    return entity;
}

}  // namespace

int MasterMesh::GetPhysicalGroupId(const std::string& name, ElementDimension dimension)
{
    GmshAdapter::vectorpair groups;
    GmshAdapter::model::getPhysicalGroups(groups, dimension);
    for (const auto& group : groups) {
        std::string groupName;
        GmshAdapter::model::getPhysicalName(group.first, group.second, groupName);
        if (groupName == name) return group.second;
    }
    return -1;
}

int MasterMesh::_createAllNodesPhysicalGroup(std::string name, std::unordered_set<int>)
{
    try {
        const int existing = GetPhysicalGroupId(name, DIMENSION_0D);
        if (existing != -1) {
            TARNEL_LOG_INFO("Found existing phys. group for Node Set (" + name + "). ID=" + std::to_string(existing),
                            "Tarnel::MasterMesh::_createAllNodesPhysicalGroup");
            return entityOfExistingGroup(0, existing);
        }
        const int entity = GmshAdapter::model::addDiscreteEntity(0, -1, {});
        const int group = GmshAdapter::model::addPhysicalGroup(0, {entity}, -1, name);
        TARNEL_LOG_INFO("Created Physical Group (node set) with ID = " + std::to_string(group),
                        "Tarnel::MasterMesh::_createAllNodesPhysicalGroup");
        GmshAdapter::model::setPhysicalName(0, group, name);
        return entity;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error creating 0D physical group: ", exception,
                             "Tarnel::MasterMesh::_createAllNodesPhysicalGroup");
        return -1;
    }
}

int MasterMesh::_createPhysicalGroupForElementsOfDimension(std::string name, std::unordered_set<int>,
                                                           ElementDimension dimension)
{
    const std::string dimensionText = GetDimensionDisplayString(dimension);
    const char* const location = "Tarnel::MasterMesh::_createPhysicalGroupForElementsOfDimension";
    try {
        const int existing = GetPhysicalGroupId(name, dimension);
        if (existing != -1) {
            TARNEL_LOG_INFO("Found existing phys. group for Element Set (" + name + "). ID=" + std::to_string(existing),
                            location);
            return entityOfExistingGroup(dimension, existing);
        }
        const int entity = GmshAdapter::model::addDiscreteEntity(dimension, -1, {});
        const int group = GmshAdapter::model::addPhysicalGroup(dimension, {entity}, -1, name);
        TARNEL_LOG_INFO("Created " + dimensionText + " Element Set(physical group) with ID = " + std::to_string(group),
                        location);
        GmshAdapter::model::setPhysicalName(dimension, group, name);
        return entity;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Error creating " + dimensionText + " physical group!", exception, location);
        return -1;
    }
}

void MasterMesh::_createDefaultPhysicalGroups()
{
    nodesEntityTag = _createAllNodesPhysicalGroup("_CREATED_NODES", {});
    elements1DEntityTag = _createPhysicalGroupForElementsOfDimension("_CREATED_1D_ELEMENTS", {}, DIMENSION_1D);
    elements2DEntityTag = _createPhysicalGroupForElementsOfDimension("_CREATED_2D_ELEMENTS", {}, DIMENSION_2D);
    elements3DEntityTag = _createPhysicalGroupForElementsOfDimension("_CREATED_3D_ELEMENTS", {}, DIMENSION_3D);
}

}  // namespace Tarnel

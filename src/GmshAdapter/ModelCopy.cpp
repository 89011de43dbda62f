// In-memory copies of a model's mesh, built with one bulk read and one bulk
// write per entity (and element type), never one call per node or element.

#include <algorithm>
#include <cstring>

#include <GModel.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter {

namespace {

ModelCopy::Entity copyEntity(int dim, int tag)
{
    ModelCopy::Entity entity;
    entity.dim = dim;
    entity.tag = tag;
    std::vector<double> noParametricCoordinates;
    model::mesh::getNodes(entity.nodeTags, entity.coordinates, noParametricCoordinates, dim, tag, false, false);
    model::mesh::getElements(entity.elementTypes, entity.elementTags, entity.elementNodeTags, dim, tag);
    return entity;
}

ModelCopy::PhysicalGroup copyPhysicalGroup(int dim, int tag)
{
    ModelCopy::PhysicalGroup group;
    group.dim = dim;
    group.tag = tag;
    model::getPhysicalName(dim, tag, group.name);
    model::getEntitiesForPhysicalGroup(dim, tag, group.entityTags);
    return group;
}

// Bit for bit: a coordinate that reads back one unit in the last place off
// is another node position to the library's records.
bool sameCoordinates(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool modelExists(const std::string& name)
{
    std::vector<std::string> names;
    model::list(names);
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::size_t ModelCopy::nodeCount() const
{
    std::size_t count = 0;
    for (const Entity& entity : entities) count += entity.nodeTags.size();
    return count;
}

std::size_t ModelCopy::elementCount() const
{
    std::size_t count = 0;
    for (const Entity& entity : entities)
        for (const auto& tags : entity.elementTags) count += tags.size();
    return count;
}

bool operator==(const ModelCopy::Entity& a, const ModelCopy::Entity& b)
{
    return a.dim == b.dim && a.tag == b.tag && a.nodeTags == b.nodeTags &&
           sameCoordinates(a.coordinates, b.coordinates) && a.elementTypes == b.elementTypes &&
           a.elementTags == b.elementTags && a.elementNodeTags == b.elementNodeTags;
}

bool operator==(const ModelCopy::PhysicalGroup& a, const ModelCopy::PhysicalGroup& b)
{
    return a.dim == b.dim && a.tag == b.tag && a.name == b.name && a.entityTags == b.entityTags;
}

bool operator==(const ModelCopy& a, const ModelCopy& b)
{
    return a.name == b.name && a.maxNodeTag == b.maxNodeTag && a.maxElementTag == b.maxElementTag &&
           a.entities == b.entities && a.physicalGroups == b.physicalGroups;
}

ModelCopy copyModel(const std::string& name)
{
    model::setCurrent(name);
    ModelCopy copy;
    copy.name = name;
    vectorpair dimTags;
    model::getEntities(dimTags, -1);
    copy.entities.reserve(dimTags.size());
    for (const auto& dimTag : dimTags) copy.entities.push_back(copyEntity(dimTag.first, dimTag.second));

    vectorpair groups;
    model::getPhysicalGroups(groups, -1);
    for (const auto& group : groups) copy.physicalGroups.push_back(copyPhysicalGroup(group.first, group.second));

    model::mesh::getMaxNodeTag(copy.maxNodeTag);
    model::mesh::getMaxElementTag(copy.maxElementTag);
    return copy;
}

void restoreModel(const ModelCopy& copy)
{
    // gmsh would accept a second model of the name, and every later lookup by
    // name would find only one of the two.
    if (modelExists(copy.name)) fail("Model '" + copy.name + "' already exists");
    model::add(copy.name);
    model::setCurrent(copy.name);

    for (const ModelCopy::Entity& entity : copy.entities) model::addDiscreteEntity(entity.dim, entity.tag, {});
    // All nodes before any element: an element may use nodes of other
    // entities (the master keeps every node on its one point entity).
    for (const ModelCopy::Entity& entity : copy.entities)
        if (!entity.nodeTags.empty())
            model::mesh::addNodes(entity.dim, entity.tag, entity.nodeTags, entity.coordinates);
    for (const ModelCopy::Entity& entity : copy.entities)
        for (std::size_t k = 0; k < entity.elementTypes.size(); ++k)
            model::mesh::addElementsByType(entity.tag, entity.elementTypes[k], entity.elementTags[k],
                                           entity.elementNodeTags[k]);
    for (const ModelCopy::PhysicalGroup& group : copy.physicalGroups)
        model::addPhysicalGroup(group.dim, group.entityTags, group.tag, group.name);

    // The largest tags gmsh hands new nodes and elements from may lie above
    // the largest present (elements deleted from the top); new IDs must go on
    // from where they were.
    call([&] {
        GModel::current()->setMaxVertexNumber(copy.maxNodeTag);
        GModel::current()->setMaxElementNumber(copy.maxElementTag);
    });
}

}  // namespace Tarnel::GmshAdapter

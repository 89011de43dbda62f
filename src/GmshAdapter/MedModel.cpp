// The gmsh side of MED files: the current model to a MedMesh, and a MedMesh
// into a model, through gmsh's API and, where the API has no call, its model
// classes. The elements of one MED family (a set of groups) and type lie on
// a discrete entity of their own, and a MED group is the physical group of
// the entities whose families name it.

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include <gmsh.h>

#include <GModel.h>
#include <GModelIO_GEO.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/MedMesh.h"

namespace Tarnel::GmshAdapter::med {

namespace {

using DimTag = std::pair<int, int>;
// The names of the physical groups of an entity, sorted, each once.
using GroupNames = std::vector<std::string>;

constexpr int kPoint = 15;

void sortUnique(GroupNames& names)
{
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

// ---------------------------------------------------------------- writing

// MED groups are known by name only: a physical group without one is named
// after its dimension and tag.
std::string physicalGroupName(int dim, int tag)
{
    std::string name;
    ::gmsh::model::getPhysicalName(dim, tag, name);
    return name.empty() ? "Physical" + std::to_string(dim) + "D_" + std::to_string(tag) : name;
}

std::map<DimTag, GroupNames> groupsOfEntities()
{
    std::map<DimTag, GroupNames> groups;
    ::gmsh::vectorpair physicalGroups;
    ::gmsh::model::getPhysicalGroups(physicalGroups);
    for (const DimTag& group : physicalGroups) {
        const std::string name = physicalGroupName(group.first, group.second);
        std::vector<int> entities;
        ::gmsh::model::getEntitiesForPhysicalGroup(group.first, group.second, entities);
        for (int entity : entities) groups[{group.first, entity}].push_back(name);
    }
    for (auto& entry : groups) sortUnique(entry.second);
    return groups;
}

// gmsh's rule for what a file gets: every entity with "Mesh.SaveAll" 1 or in
// a model without physical groups, else only the entities in one.
std::vector<DimTag> savedEntities(const std::map<DimTag, GroupNames>& groups)
{
    double saveAll = 0.0;
    ::gmsh::option::getNumber("Mesh.SaveAll", saveAll);
    ::gmsh::vectorpair entities;
    ::gmsh::model::getEntities(entities);
    if (saveAll != 0.0 || groups.empty()) return entities;
    std::vector<DimTag> saved;
    for (const DimTag& entity : entities)
        if (groups.count(entity) != 0) saved.push_back(entity);
    return saved;
}

// A family number for each set of group names, positive for nodes and
// negative for elements, as MED numbers them; 0 for no group. Only the sets
// that nodes or elements carry get one: MED groups have no dimension, so an
// empty group could not come back as the physical group it was.
class FamilyNumbers {
public:
    explicit FamilyNumbers(std::map<int, GroupNames>& familyGroups) : familyGroups(familyGroups) {}

    int ofNodes(const GroupNames& names) { return number(names, nodeFamilies, 1); }
    int ofElements(const GroupNames& names) { return number(names, elementFamilies, -1); }

private:
    int number(const GroupNames& names, std::map<GroupNames, int>& known, int sign)
    {
        if (names.empty()) return 0;
        const auto found = known.find(names);
        if (found != known.end()) return found->second;
        const int family = sign * static_cast<int>(known.size() + 1);
        known.emplace(names, family);
        familyGroups[family] = names;
        return family;
    }

    std::map<int, GroupNames>& familyGroups;
    std::map<GroupNames, int> nodeFamilies;
    std::map<GroupNames, int> elementFamilies;
};

const GroupNames& groupsOf(const std::map<DimTag, GroupNames>& groups, const DimTag& entity)
{
    static const GroupNames none;
    const auto found = groups.find(entity);
    return found == groups.end() ? none : found->second;
}

void addSavedElements(MedMesh& mesh, const std::vector<DimTag>& entities, const std::map<DimTag, GroupNames>& groups,
                 FamilyNumbers& families)
{
    std::map<int, MedMesh::ElementBlock> blocks;
    for (const DimTag& entity : entities) {
        std::vector<int> types;
        std::vector<std::vector<std::size_t>> elementTags, nodeTags;
        // The adapter's listing: gmsh's own leaves out the elements of a second
        // order that share an entity with first-order ones.
        model::mesh::getElements(types, elementTags, nodeTags, entity.first, entity.second);
        if (types.empty()) continue;
        const int family = families.ofElements(groupsOf(groups, entity));
        for (std::size_t t = 0; t < types.size(); ++t) {
            MedMesh::ElementBlock& block = blocks[types[t]];
            block.elementType = types[t];
            block.elementTags.insert(block.elementTags.end(), elementTags[t].begin(), elementTags[t].end());
            block.nodeTags.insert(block.nodeTags.end(), nodeTags[t].begin(), nodeTags[t].end());
            block.families.insert(block.families.end(), elementTags[t].size(), family);
        }
    }
    for (auto& entry : blocks) mesh.elementBlocks.push_back(std::move(entry.second));
}

std::vector<std::size_t> nodesOf(const DimTag& entity)
{
    std::vector<std::size_t> tags;
    std::vector<double> coordinates, parametric;
    ::gmsh::model::mesh::getNodes(tags, coordinates, parametric, entity.first, entity.second, false, false);
    return tags;
}

// The nodes a partial save keeps: those of the saved entities and those the
// saved elements use.
std::unordered_set<std::size_t> keptNodes(const MedMesh& mesh, const std::vector<DimTag>& saved)
{
    std::unordered_set<std::size_t> kept;
    for (const DimTag& entity : saved)
        for (std::size_t tag : nodesOf(entity)) kept.insert(tag);
    for (const MedMesh::ElementBlock& block : mesh.elementBlocks) kept.insert(block.nodeTags.begin(), block.nodeTags.end());
    return kept;
}

// The nodes, each in the node family of the groups of the point entity it
// lies on: a physical group of dimension 0 is a group of nodes.
void addSavedNodes(MedMesh& mesh, const std::vector<DimTag>& saved, bool savesAll,
                   const std::map<DimTag, GroupNames>& groups, FamilyNumbers& families)
{
    std::unordered_map<std::size_t, const GroupNames*> groupsOfNode;
    for (const auto& entry : groups)
        if (entry.first.first == 0)
            for (std::size_t tag : nodesOf(entry.first)) groupsOfNode[tag] = &entry.second;
    const std::unordered_set<std::size_t> kept = savesAll ? std::unordered_set<std::size_t>() : keptNodes(mesh, saved);

    std::vector<std::size_t> tags;
    std::vector<double> coordinates, parametric;
    ::gmsh::model::mesh::getNodes(tags, coordinates, parametric, -1, -1, false, false);
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (!savesAll && kept.count(tags[i]) == 0) continue;
        mesh.nodeTags.push_back(tags[i]);
        mesh.coordinates.insert(mesh.coordinates.end(), coordinates.begin() + static_cast<std::ptrdiff_t>(3 * i),
                                coordinates.begin() + static_cast<std::ptrdiff_t>(3 * i + 3));
        const auto found = groupsOfNode.find(tags[i]);
        mesh.nodeFamilies.push_back(found == groupsOfNode.end() ? 0 : families.ofNodes(*found->second));
    }
}

// ---------------------------------------------------------------- reading

// gmsh's open reuses the current model when it is empty and adds a model
// otherwise; either way the model takes the file's base name and path.
void makeModelForFile(const std::string& fileName)
{
    GModel* model = GModel::current();
    if (model->empty()) {
        model->destroy();
        model->getGEOInternals()->destroy();
        model->setName(baseName(fileName));
    } else {
        ::gmsh::model::add(baseName(fileName));
    }
    ::gmsh::model::setFileName(fileName);
}

int dimensionOfType(int elementType)
{
    std::string name;
    int dim = 0, order = 0, nodeCount = 0, primaryNodeCount = 0;
    std::vector<double> localCoordinates;
    ::gmsh::model::mesh::getElementProperties(elementType, name, dim, order, nodeCount, localCoordinates,
                                              primaryNodeCount);
    return dim;
}

// The discrete entities of the opened model, one per element type and set
// of group names, and the physical groups they make up. gmsh 4.8 lists one
// type only for an entity that holds elements of one kind in two orders (3-
// and 6-node triangles, say), so types do not share entities. Nodes in a
// group share the entity of the group's point elements.
class EntitiesByGroups {
public:
    int of(int elementType, const GroupNames& names)
    {
        const auto key = std::make_pair(elementType, names);
        const auto found = entities.find(key);
        if (found != entities.end()) return found->second;
        const int dim = dimensionOfType(elementType);
        const int tag = ::gmsh::model::addDiscreteEntity(dim);
        entities.emplace(key, tag);
        for (const std::string& name : names) members[{dim, name}].push_back(tag);
        return tag;
    }

    void addPhysicalGroups() const
    {
        for (const auto& group : members) {
            const int dim = group.first.first;
            const int tag = ::gmsh::model::addPhysicalGroup(dim, group.second);
            ::gmsh::model::setPhysicalName(dim, tag, group.first.second);
        }
    }

private:
    std::map<std::pair<int, GroupNames>, int> entities;
    std::map<std::pair<int, std::string>, std::vector<int>> members;
};

// The elements of one entity and type, in file order.
struct ElementsToAdd {
    int entity = 0;
    int elementType = 0;
    std::vector<std::size_t> elementTags;
    std::vector<std::size_t> nodeTags;
};

class ModelBuilder {
public:
    explicit ModelBuilder(const MedMesh& mesh) : mesh(mesh), nodeEntity(mesh.nodeTags.size(), {-1, -1})
    {
        for (const auto& family : mesh.familyGroups) {
            GroupNames names = family.second;
            sortUnique(names);
            groupsOfFamily.emplace(family.first, std::move(names));
        }
        positionOfNode.reserve(mesh.nodeTags.size());
        for (std::size_t i = 0; i < mesh.nodeTags.size(); ++i) positionOfNode.emplace(mesh.nodeTags[i], i);
    }

    void build()
    {
        placeGroupedNodes();
        for (const MedMesh::ElementBlock& block : mesh.elementBlocks) placeElements(block);
        placeRemainingNodes();
        addNodesToModel();
        for (const ElementsToAdd& elements : elementsToAdd)
            ::gmsh::model::mesh::addElementsByType(elements.entity, elements.elementType, elements.elementTags,
                                                   elements.nodeTags);
        entities.addPhysicalGroups();
    }

private:
    const GroupNames& groupsOf(int family) const
    {
        static const GroupNames none;
        const auto found = groupsOfFamily.find(family);
        return found == groupsOfFamily.end() ? none : found->second;
    }

    // A node in a group lies on the point entity of its groups: the node
    // groups of a MED file are physical groups of dimension 0.
    void placeGroupedNodes()
    {
        for (std::size_t i = 0; i < mesh.nodeTags.size(); ++i) {
            const GroupNames& names = groupsOf(mesh.nodeFamilies[i]);
            if (!names.empty()) nodeEntity[i] = {0, entities.of(kPoint, names)};
        }
    }

    // Each element goes to the entity of its type and groups; a node in no
    // group lies on the entity of the first line, face or volume that uses
    // it, as a meshed model's nodes lie on the entity they were made for (not
    // on a point entity, whose groups would become its own).
    void placeElements(const MedMesh::ElementBlock& block)
    {
        const int dim = dimensionOfType(block.elementType);
        const std::size_t count = block.elementTags.size();
        const std::size_t nodesPerElement = count == 0 ? 0 : block.nodeTags.size() / count;
        std::map<int, std::size_t> indexOfEntity;
        std::unordered_map<int, std::size_t> indexOfFamily;
        for (std::size_t k = 0; k < count; ++k) {
            auto index = indexOfFamily.find(block.families[k]);
            if (index == indexOfFamily.end()) {
                const int entity = entities.of(block.elementType, groupsOf(block.families[k]));
                auto added = indexOfEntity.emplace(entity, elementsToAdd.size());
                if (added.second) elementsToAdd.push_back({entity, block.elementType, {}, {}});
                index = indexOfFamily.emplace(block.families[k], added.first->second).first;
            }
            ElementsToAdd& elements = elementsToAdd[index->second];
            const int entity = elements.entity;
            elements.elementTags.push_back(block.elementTags[k]);
            for (std::size_t n = k * nodesPerElement; n < (k + 1) * nodesPerElement; ++n) {
                const std::size_t tag = block.nodeTags[n];
                elements.nodeTags.push_back(tag);
                DimTag& placed = nodeEntity[positionOfNode.at(tag)];
                if (placed.first < 0 && dim > 0) placed = {dim, entity};
            }
        }
    }

    void placeRemainingNodes()
    {
        for (DimTag& placed : nodeEntity)
            if (placed.first < 0) placed = {0, entities.of(kPoint, {})};
    }

    void addNodesToModel() const
    {
        std::map<DimTag, std::vector<std::size_t>> positionsOnEntity;
        for (std::size_t i = 0; i < nodeEntity.size(); ++i) positionsOnEntity[nodeEntity[i]].push_back(i);
        for (const auto& entry : positionsOnEntity) {
            std::vector<std::size_t> tags;
            std::vector<double> coordinates;
            tags.reserve(entry.second.size());
            coordinates.reserve(3 * entry.second.size());
            for (std::size_t i : entry.second) {
                tags.push_back(mesh.nodeTags[i]);
                coordinates.insert(coordinates.end(), mesh.coordinates.begin() + static_cast<std::ptrdiff_t>(3 * i),
                                   mesh.coordinates.begin() + static_cast<std::ptrdiff_t>(3 * i + 3));
            }
            ::gmsh::model::mesh::addNodes(entry.first.first, entry.first.second, tags, coordinates);
        }
    }

    const MedMesh& mesh;
    std::map<int, GroupNames> groupsOfFamily;
    std::unordered_map<std::size_t, std::size_t> positionOfNode;
    std::vector<DimTag> nodeEntity;
    std::vector<ElementsToAdd> elementsToAdd;
    EntitiesByGroups entities;
};

}  // namespace

MedMesh currentModelAsMedMesh(const std::string& fileName)
{
    MedMesh mesh;
    ::gmsh::model::getCurrent(mesh.name);
    // A MED mesh needs a name; gmsh's first model has none.
    if (mesh.name.empty()) mesh.name = baseName(fileName);
    const std::map<DimTag, GroupNames> groups = groupsOfEntities();
    FamilyNumbers families(mesh.familyGroups);
    const std::vector<DimTag> saved = savedEntities(groups);
    ::gmsh::vectorpair all;
    ::gmsh::model::getEntities(all);
    addSavedElements(mesh, saved, groups, families);
    addSavedNodes(mesh, saved, saved.size() == all.size(), groups, families);
    return mesh;
}

void openAsModel(const MedMesh& mesh, const std::string& fileName)
{
    makeModelForFile(fileName);
    ModelBuilder(mesh).build();
}

}  // namespace Tarnel::GmshAdapter::med

#include "ModelSnapshot.h"

#include <gmsh.h>

#include "GmshAdapter/GmshAdapter.h"

namespace gm = Tarnel::GmshAdapter;

namespace TarnelTest {

std::map<std::size_t, ModelSnapshot::Shape> ModelSnapshot::Shapes() const
{
    std::map<std::size_t, Shape> shapes;
    for (const auto& [tag, element] : elements) shapes[tag] = {element.type, element.nodes};
    return shapes;
}

std::map<std::string, std::set<std::size_t>> ModelSnapshot::GroupMembers() const
{
    std::map<std::string, std::set<std::size_t>> members;
    for (const auto& [key, group] : groups)
        members[std::to_string(key.first) + ":" + key.second] = key.first == 0 ? group.nodes : group.elements;
    return members;
}

ModelSnapshot SnapshotOfModel(const std::string& name)
{
    gm::model::setCurrent(name);
    return SnapshotOfCurrentModel();
}

// Entity by entity rather than through the adapter's model copy: the session
// reset copies the master model with it, and the snapshot judges that copy.
ModelSnapshot SnapshotOfCurrentModel()
{
    ModelSnapshot snapshot;
    // What each entity holds, for the groups.
    std::map<std::pair<int, int>, ModelSnapshot::Group> ofEntity;
    gm::vectorpair entities;
    gm::model::getEntities(entities, -1);
    for (const auto& [dim, tag] : entities) {
        ModelSnapshot::Group& held = ofEntity[{dim, tag}];
        std::vector<std::size_t> nodeTags;
        std::vector<double> coordinates, parametric;
        gm::model::mesh::getNodes(nodeTags, coordinates, parametric, dim, tag, false, false);
        for (std::size_t i = 0; i < nodeTags.size(); ++i) {
            snapshot.nodes[nodeTags[i]] = {coordinates[3 * i], coordinates[3 * i + 1], coordinates[3 * i + 2]};
            held.nodes.insert(nodeTags[i]);
        }
        std::vector<int> types;
        std::vector<std::vector<std::size_t>> elementTags, elementNodes;
        gm::model::mesh::getElements(types, elementTags, elementNodes, dim, tag);
        for (std::size_t t = 0; t < types.size(); ++t) {
            const std::size_t count = elementTags[t].size();
            const std::size_t perElement = count == 0 ? 0 : elementNodes[t].size() / count;
            for (std::size_t k = 0; k < count; ++k) {
                const auto first = elementNodes[t].begin() + static_cast<std::ptrdiff_t>(k * perElement);
                snapshot.elements[elementTags[t][k]] = {
                    types[t], {first, first + static_cast<std::ptrdiff_t>(perElement)}, dim, tag};
                held.elements.insert(elementTags[t][k]);
            }
        }
    }
    gm::vectorpair groups;
    gm::model::getPhysicalGroups(groups, -1);
    for (const auto& [dim, tag] : groups) {
        std::string name;
        std::vector<int> members;
        gm::model::getPhysicalName(dim, tag, name);
        gm::model::getEntitiesForPhysicalGroup(dim, tag, members);
        ModelSnapshot::Group& group = snapshot.groups[{dim, name}];
        group.tags.insert(tag);
        for (int entity : members) {
            const ModelSnapshot::Group& held = ofEntity[{dim, entity}];
            group.entities.insert(entity);
            group.nodes.insert(held.nodes.begin(), held.nodes.end());
            group.elements.insert(held.elements.begin(), held.elements.end());
        }
    }
    return snapshot;
}

std::vector<std::array<double, 3>> ReferenceNodes(int elementType, int& dim)
{
    std::string name;
    int order = 0, count = 0, primary = 0;
    std::vector<double> local;
    gmsh::model::mesh::getElementProperties(elementType, name, dim, order, count, local, primary);
    std::vector<std::array<double, 3>> nodes(static_cast<std::size_t>(count), {0, 0, 0});
    for (std::size_t n = 0; n < nodes.size(); ++n)
        for (std::size_t d = 0; d < static_cast<std::size_t>(dim); ++d) nodes[n][d] = local[n * static_cast<std::size_t>(dim) + d];
    return nodes;
}

}  // namespace TarnelTest

#include "ModelSnapshot.h"

#include <gmsh.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"

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
    const gm::ModelCopy copy = gm::copyModel(name);
    ModelSnapshot snapshot;
    std::map<std::pair<int, int>, const gm::ModelCopy::Entity*> entities;
    for (const gm::ModelCopy::Entity& entity : copy.entities) {
        entities[{entity.dim, entity.tag}] = &entity;
        for (std::size_t i = 0; i < entity.nodeTags.size(); ++i)
            snapshot.nodes[entity.nodeTags[i]] = {entity.coordinates[3 * i], entity.coordinates[3 * i + 1],
                                                  entity.coordinates[3 * i + 2]};
        for (std::size_t t = 0; t < entity.elementTypes.size(); ++t) {
            const std::vector<std::size_t>& tags = entity.elementTags[t];
            const std::size_t perElement = entity.elementNodeTags[t].size() / tags.size();
            for (std::size_t k = 0; k < tags.size(); ++k) {
                const auto first = entity.elementNodeTags[t].begin() + static_cast<std::ptrdiff_t>(k * perElement);
                snapshot.elements[tags[k]] = {entity.elementTypes[t],
                                              {first, first + static_cast<std::ptrdiff_t>(perElement)}, entity.tag};
            }
        }
    }
    for (const gm::ModelCopy::PhysicalGroup& physical : copy.physicalGroups) {
        ModelSnapshot::Group& group = snapshot.groups[{physical.dim, physical.name}];
        for (int tag : physical.entityTags) {
            const gm::ModelCopy::Entity& entity = *entities.at({physical.dim, tag});
            group.nodes.insert(entity.nodeTags.begin(), entity.nodeTags.end());
            for (const auto& elementTags : entity.elementTags) group.elements.insert(elementTags.begin(), elementTags.end());
        }
    }
    return snapshot;
}

ModelSnapshot SnapshotOfCurrentModel()
{
    return SnapshotOfModel(CurrentModel());
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

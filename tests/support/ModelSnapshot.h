#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace TarnelTest {

// What a gmsh model holds, by tag: nodes, elements and physical groups with
// their members, as the adapter lists them entity by entity (every element
// under its own type). Taking one leaves the model current.
struct ModelSnapshot {
    struct Element {
        int type = 0;
        std::vector<std::size_t> nodes;
        // Its entity's dimension and tag.
        int dim = 0;
        int entity = 0;
    };
    // The elements and nodes of a group are those of its entities. Groups
    // of one dimension and name are one, with all their tags.
    struct Group {
        std::set<int> tags;
        std::set<int> entities;
        std::set<std::size_t> elements;
        std::set<std::size_t> nodes;
    };
    using Shape = std::pair<int, std::vector<std::size_t>>;

    std::map<std::size_t, std::array<double, 3>> nodes;
    std::map<std::size_t, Element> elements;
    // By dimension and name ("" for a group without one).
    std::map<std::pair<int, std::string>, Group> groups;

    // Type and nodes by element tag: what a file keeps of the elements,
    // whose entities a reader numbers its own way.
    std::map<std::size_t, Shape> Shapes() const;
    // The elements (for dimension 0, the nodes) of every group by "dimension:name".
    std::map<std::string, std::set<std::size_t>> GroupMembers() const;
};

ModelSnapshot SnapshotOfModel(const std::string& name);
ModelSnapshot SnapshotOfCurrentModel();

// The node positions of gmsh's reference element of a type, in gmsh's order,
// and its dimension: what the adapter has no call for.
std::vector<std::array<double, 3>> ReferenceNodes(int elementType, int& dim);

}  // namespace TarnelTest

#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Entities/MasterMeshStructure/MasterMesh.h"

namespace Tarnel {

// Test access to the master mesh's containers, and the check that they agree
// with each other and with gmsh.
class MasterMeshChecker {
public:
    // Everything that breaks an invariant of the master mesh; empty when it
    // is consistent:
    // - the element table holds exactly the elements of the gmsh model, with
    //   gmsh's shapes and node lists;
    // - every stored element sits in the element set of its dimension of the
    //   component its origin names, under the set ID its origin names, and
    //   a component set holds nothing else;
    // - nodeToElements records exactly the stored elements of every node, once;
    // - every node of a stored element is active, no node is both active and
    //   removed, and every active node is a node of the gmsh model;
    // - every stored member of a named element set lists the set in its origin.
    static std::vector<std::string> Problems(MasterMesh& master);

    static std::vector<int> EntityTags(const MasterMesh& master)
    {
        return {master.nodesEntityTag, master.elements1DEntityTag, master.elements2DEntityTag,
                master.elements3DEntityTag};
    }

    // Everything the master mesh holds, as text in a fixed order: gmsh's
    // models, the master model's nodes, elements and physical groups, the
    // element table, the node repository, the node index, the component and
    // named sets and the couplings. Two states are the same mesh exactly when
    // their descriptions are equal.
    static std::string Describe(MasterMesh& master);
    // The line of the description that starts with `prefix`, or everything
    // from it to the end when `toEnd`; "" when there is none.
    static std::string DescribeLines(MasterMesh& master, const std::string& prefix, bool toEnd = false);
};

// The IDs ascending, each after a space (" 1 2 5"): unordered ID sets
// printed the same on every run.
template <class Ids>
std::string SortedIds(const Ids& ids)
{
    std::vector<long long> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    std::string text;
    for (long long id : sorted) text += " " + std::to_string(id);
    return text;
}

// The IDs of the elements, as SortedIds gives them.
inline std::string ElementIds(const std::vector<Element>& elements)
{
    std::vector<int> ids;
    for (const Element& element : elements) ids.push_back(element.id);
    return SortedIds(ids);
}

}  // namespace Tarnel

// Checks the master mesh singleton after an operation of a test.
#define EXPECT_MASTER_MESH_CONSISTENT()                                                              \
    do {                                                                                             \
        const std::vector<std::string> problems =                                                    \
            ::Tarnel::MasterMeshChecker::Problems(::Tarnel::MasterMesh::getInstance());            \
        EXPECT_TRUE(problems.empty()) << "master mesh inconsistent: " << problems.size()             \
                                      << " problem(s), first: " << (problems.empty() ? "" : problems[0]); \
    } while (false)

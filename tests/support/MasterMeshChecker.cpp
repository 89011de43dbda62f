#include "MasterMeshChecker.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "GmshAdapter/GmshAdapter.h"
#include "MeshEngineWrapper.h"
#include "ModelSnapshot.h"

namespace gm = Tarnel::GmshAdapter;

namespace Tarnel {

namespace {

template <class Nodes>
std::string shapeAndNodes(int shape, const Nodes& nodes)
{
    std::string text = "shape " + std::to_string(shape) + " nodes";
    for (auto node : nodes) text += " " + std::to_string(node);
    return text;
}

// Reports every key under which two descriptions of the same content differ;
// a key one of them lacks counts as empty there.
void compare(const std::map<std::string, std::string>& held, const std::map<std::string, std::string>& expected,
             std::vector<std::string>& problems)
{
    std::set<std::string> keys;
    for (const auto* map : {&held, &expected})
        for (const auto& entry : *map) keys.insert(entry.first);
    for (const std::string& key : keys) {
        const std::string is = held.count(key) ? held.at(key) : "", should = expected.count(key) ? expected.at(key) : "";
        if (is != should) problems.push_back(key + ": [" + is + "] where it should be [" + should + "]");
    }
}

}  // namespace

std::vector<std::string> MasterMeshChecker::Problems(MasterMesh& master)
{
    std::vector<std::string> problems;
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    const std::vector<Element> stored = master.elements.GetAll();
    if (stored.size() != master.elements.Size())
        problems.push_back("the table counts " + std::to_string(master.elements.Size()) + " elements and lists " +
                           std::to_string(stored.size()));

    // Each container as it is, and as the element table says it should be:
    // gmsh's elements, the component sets keyed by component, dimension and
    // set ID, and the elements the node index records for every node.
    std::map<std::string, std::string> inGmsh, inTable, inSets, ofElements, inIndex, fromNodes;
    const TarnelTest::ModelSnapshot gmsh = TarnelTest::SnapshotOfCurrentModel();
    for (const auto& [tag, element] : gmsh.elements)
        inGmsh["element " + std::to_string(tag)] = shapeAndNodes(element.type, element.nodes);
    std::map<std::string, std::multiset<int>> setMembers, nodeUsers;
    for (const Element& element : stored) {
        const std::string key = "element " + std::to_string(element.id);
        inTable[key] = shapeAndNodes(element.shape, element.nodeIds);
        if (master.elements.Get(element.id).nodeIds != element.nodeIds) problems.push_back(key + " is stored under another ID");
        setMembers["component " + std::to_string(element.origin.componentMeshId) + " dimension " +
                   std::to_string(GetShapeDimensionOrInvalid(element.shape)) + " set " +
                   std::to_string(element.origin.elementSetId)]
            .insert(element.id);
        for (int node : std::set<int>(element.nodeIds.begin(), element.nodeIds.end()))
            nodeUsers["node " + std::to_string(node) + " used by"].insert(element.id);
    }
    for (const auto& entry : setMembers) ofElements[entry.first] = SortedIds(entry.second);
    for (const auto& entry : nodeUsers) fromNodes[entry.first] = SortedIds(entry.second);
    for (const auto& entry : master.componentMeshes) {
        for (ElementDimension dimension : {DIMENSION_0D, DIMENSION_1D, DIMENSION_2D, DIMENSION_3D}) {
            const ElementSet& set = *const_cast<ComponentMesh&>(entry.second).GetElementsByDimension(dimension);
            inSets["component " + std::to_string(entry.first) + " dimension " + std::to_string(dimension) + " set " +
                   std::to_string(set.GetComponentId())] = SortedIds(set.ElementIds());
        }
    }
    master.nodeToElements.ForEach([&](int node, const NodeElementIndex::Entry& entry) {
        inIndex["node " + std::to_string(node) + " used by"] = SortedIds(std::multiset<int>(entry.begin(), entry.end()));
    });
    compare(inGmsh, inTable, problems);
    compare(inSets, ofElements, problems);
    compare(inIndex, fromNodes, problems);

    // The node repository: the nodes of stored elements are active, active
    // ones are gmsh's and not removed.
    const std::unordered_set<int>& active = master.nodeRepository.GetActiveNodes()->NodeIds();
    const std::unordered_set<int>& removed = master.nodeRepository.GetRemovedNodes()->NodeIds();
    for (int id : active) {
        if (removed.count(id)) problems.push_back("node " + std::to_string(id) + " is active and removed");
        if (!gmsh.nodes.count(static_cast<std::size_t>(id)))
            problems.push_back("active node " + std::to_string(id) + " is not in gmsh");
    }
    for (const Element& element : stored)
        for (int node : element.nodeIds)
            if (!active.count(node))
                problems.push_back("node " + std::to_string(node) + " of element " + std::to_string(element.id) +
                                   " is not active");

    // Named element sets: their stored members list them.
    for (const auto& entry : master.elementSets) {
        for (int id : entry.second.ElementIds()) {
            Element element;
            if (!master.elements.Get(id, element)) continue;
            const std::vector<int>& named = element.origin.namedSetIds;
            if (std::find(named.begin(), named.end(), entry.first) == named.end())
                problems.push_back("element " + std::to_string(id) + " does not list its set " +
                                   std::to_string(entry.first));
        }
    }
    return problems;
}

namespace {

void describeGmshModel(std::ostringstream& out)
{
    std::vector<std::string> models;
    gm::model::list(models);
    std::sort(models.begin(), models.end());
    out << "models:";
    for (const std::string& name : models) out << ' ' << name;
    out << '\n';

    const TarnelTest::ModelSnapshot gmsh = TarnelTest::SnapshotOfCurrentModel();
    for (const auto& [tag, position] : gmsh.nodes)
        out << "gmsh node " << tag << " (" << position[0] << ", " << position[1] << ", " << position[2] << ")\n";
    for (const auto& [tag, element] : gmsh.elements)
        out << "gmsh element " << tag << " on (" << element.dim << ", " << element.entity << ") "
            << shapeAndNodes(element.type, element.nodes) << '\n';
    for (const auto& [key, group] : gmsh.groups)
        out << "physical group " << key.first << " \"" << key.second << "\" tags" << SortedIds(group.tags)
            << " entities" << SortedIds(group.entities) << '\n';
}

}  // namespace

std::string MasterMeshChecker::Describe(MasterMesh& master)
{
    std::ostringstream out;
    out.precision(17);
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    describeGmshModel(out);

    std::vector<Element> stored = master.elements.GetAll();
    std::sort(stored.begin(), stored.end(), [](const Element& a, const Element& b) { return a.id < b.id; });
    for (const Element& element : stored) {
        out << "element " << element.id << " shape " << element.shape << " solver " << element.solverType
            << " origin " << element.origin.componentMeshId << '/' << element.origin.elementSetId << " named"
            << SortedIds(element.origin.namedSetIds) << " nodes";
        for (int node : element.nodeIds) out << ' ' << node;
        out << " attributes " << element.attributes.doubleAttribute << '/' << element.attributes.intAttribute << '/'
            << element.attributes.dimension << " dof";
        for (double dof : element.attributes.degreesOfFreedom) out << ' ' << dof;
        out << '\n';
    }
    out << "active nodes" << SortedIds(master.nodeRepository.GetActiveNodes()->NodeIds()) << '\n';
    out << "removed nodes" << SortedIds(master.nodeRepository.GetRemovedNodes()->NodeIds()) << '\n';
    std::map<int, std::vector<int>> index;
    master.nodeToElements.ForEach([&](int node, const NodeElementIndex::Entry& entry) {
        index[node].assign(entry.begin(), entry.end());
    });
    for (const auto& entry : index) out << "node " << entry.first << " used by" << SortedIds(entry.second) << '\n';

    for (const auto& entry : master.componentMeshes) {
        ComponentMesh& component = const_cast<ComponentMesh&>(entry.second);
        out << "component " << entry.first;
        for (ElementDimension dimension : {DIMENSION_0D, DIMENSION_1D, DIMENSION_2D, DIMENSION_3D}) {
            const ElementSet& set = *component.GetElementsByDimension(dimension);
            out << " | set " << set.GetComponentId() << ':' << SortedIds(set.ElementIds());
        }
        out << '\n';
    }
    for (const auto& entry : master.elementSets)
        out << "element set " << entry.first << ':' << SortedIds(entry.second.ElementIds()) << '\n';
    for (const auto& entry : master.nodeSets)
        out << "node set " << entry.first << ':' << SortedIds(entry.second.NodeIds()) << '\n';
    for (const auto* couplings : {&master.kinematicCouplings, &master.distributingCouplings}) {
        out << (couplings == &master.kinematicCouplings ? "kinematic" : "distributing") << " couplings\n";
        for (const ElementCoupling& coupling : *couplings) {
            out << "  component " << coupling.GetMeshComponentId() << " master " << coupling.GetMasterNodeId()
                << " slaves" << SortedIds(coupling.GetNodeIDs()) << " beams"
                << SortedIds(coupling.GetRepresentationBeamIds()) << " weights";
            for (double weight : coupling.GetWeights()) out << ' ' << weight;
            out << '\n';
        }
    }
    return out.str();
}

std::string MasterMeshChecker::DescribeLines(MasterMesh& master, const std::string& prefix, bool toEnd)
{
    const std::string all = Describe(master);
    const std::size_t at = all.find("\n" + prefix);
    if (at == std::string::npos) return "";
    return all.substr(at + 1, toEnd ? std::string::npos : all.find('\n', at + 1) - at);
}

}  // namespace Tarnel

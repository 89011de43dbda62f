#include "MasterMeshChecker.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <unordered_map>

#include "GmshAdapter/GmshAdapter.h"
#include "MeshEngineWrapper.h"

namespace gm = Tarnel::GmshAdapter;

namespace Tarnel {

namespace {

// Calls `visit(entity, type, tag, nodes)` for every element of the current
// model, entity by entity.
template <class Visit>
void forEachGmshElement(Visit visit)
{
    gm::vectorpair entities;
    gm::model::getEntities(entities, -1);
    for (const auto& entity : entities) {
        std::vector<int> types;
        std::vector<std::vector<std::size_t>> elementTags, nodeTags;
        gm::model::mesh::getElements(types, elementTags, nodeTags, entity.first, entity.second);
        for (std::size_t t = 0; t < types.size(); ++t) {
            const std::size_t count = elementTags[t].size();
            const std::size_t perElement = count == 0 ? 0 : nodeTags[t].size() / count;
            for (std::size_t k = 0; k < count; ++k)
                visit(entity, types[t], static_cast<int>(elementTags[t][k]),
                      std::vector<int>(nodeTags[t].begin() + static_cast<std::ptrdiff_t>(k * perElement),
                                       nodeTags[t].begin() + static_cast<std::ptrdiff_t>((k + 1) * perElement)));
        }
    }
}

std::set<int> gmshNodeTags()
{
    std::vector<std::size_t> tags;
    std::vector<double> coordinates, parametric;
    gm::model::mesh::getNodes(tags, coordinates, parametric, -1, -1, false, false);
    return std::set<int>(tags.begin(), tags.end());
}

}  // namespace

std::vector<int> MasterMeshChecker::ElementsOfNode(const MasterMesh& master, int nodeId)
{
    const NodeElementIndex::Entry* entry = master.nodeToElements.Find(nodeId);
    std::vector<int> ids;
    if (entry != nullptr) ids.assign(entry->begin(), entry->end());
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::vector<std::string> MasterMeshChecker::Problems(MasterMesh& master)
{
    std::vector<std::string> problems;
    auto problem = [&](const std::string& text) { problems.push_back(text); };
    MeshEngineWrapper::getInstance().ActivateMasterMesh();

    // Element table against gmsh.
    std::unordered_map<int, std::pair<int, std::vector<int>>> inGmsh;  // tag -> type, nodes
    forEachGmshElement([&](const std::pair<int, int>&, int type, int tag, std::vector<int> nodes) {
        inGmsh[tag] = {type, std::move(nodes)};
    });
    if (inGmsh.size() != master.elements.Size())
        problem("gmsh holds " + std::to_string(inGmsh.size()) + " elements, the table " +
                std::to_string(master.elements.Size()));
    const std::vector<Element> stored = master.elements.GetAll();
    for (const Element& element : stored) {
        const std::string name = "element " + std::to_string(element.id);
        if (master.elements.Get(element.id).nodeIds != element.nodeIds) problem(name + " is stored under another ID");
        const auto found = inGmsh.find(element.id);
        if (found == inGmsh.end()) {
            problem(name + " is not in gmsh");
            continue;
        }
        if (found->second.first != element.shape) problem(name + " has another shape in gmsh");
        if (found->second.second != element.nodeIds) problem(name + " has other nodes in gmsh");
    }

    // Elements against their component sets.
    for (const Element& element : stored) {
        const std::string name = "element " + std::to_string(element.id);
        const auto component = master.componentMeshes.find(element.origin.componentMeshId);
        if (component == master.componentMeshes.end()) {
            problem(name + " names the unknown component " + std::to_string(element.origin.componentMeshId));
            continue;
        }
        const int dimension = GetShapeDimensionOrInvalid(element.shape);
        ElementSet* set =
            const_cast<ComponentMesh&>(component->second).GetElementsByDimension(static_cast<ElementDimension>(dimension));
        if (set == nullptr || set->GetComponentId() != element.origin.elementSetId)
            problem(name + " names a set that is not its component's set of its dimension");
        else if (!set->ElementIds().count(element.id))
            problem(name + " is missing from its component set");
    }
    for (const auto& entry : master.componentMeshes) {
        ComponentMesh& component = const_cast<ComponentMesh&>(entry.second);
        for (ElementDimension dimension : {DIMENSION_0D, DIMENSION_1D, DIMENSION_2D, DIMENSION_3D}) {
            for (int id : component.GetElementsByDimension(dimension)->ElementIds()) {
                Element element;
                if (!master.elements.Get(id, element))
                    problem("component " + std::to_string(entry.first) + " lists the unknown element " +
                            std::to_string(id));
                else if (element.origin.componentMeshId != entry.first)
                    problem("component " + std::to_string(entry.first) + " lists element " + std::to_string(id) +
                            " of another component");
            }
        }
    }

    // The node-to-element index.
    std::size_t recorded = 0;
    master.nodeToElements.ForEach([&](int nodeId, const NodeElementIndex::Entry& entry) {
        for (int id : entry) {
            ++recorded;
            Element element;
            if (!master.elements.Get(id, element))
                problem("node " + std::to_string(nodeId) + " records the unknown element " + std::to_string(id));
            else if (std::find(element.nodeIds.begin(), element.nodeIds.end(), nodeId) == element.nodeIds.end())
                problem("node " + std::to_string(nodeId) + " records element " + std::to_string(id) +
                        " that does not use it");
        }
    });
    std::size_t expected = 0;
    for (const Element& element : stored) {
        const std::set<int> distinct(element.nodeIds.begin(), element.nodeIds.end());
        expected += distinct.size();
        for (int node : distinct) {
            const NodeElementIndex::Entry* recordedElements = master.nodeToElements.Find(node);
            if (recordedElements == nullptr || !recordedElements->contains(element.id))
                problem("node " + std::to_string(node) + " does not record element " + std::to_string(element.id));
        }
    }
    if (recorded != expected)
        problem("the node index records " + std::to_string(recorded) + " uses, the elements make " +
                std::to_string(expected));

    // The node repository.
    NodeSet& active = *master.nodeRepository.GetActiveNodes();
    NodeSet& removed = *master.nodeRepository.GetRemovedNodes();
    const std::set<int> nodesInGmsh = gmshNodeTags();
    for (int id : active.NodeIds()) {
        if (removed.NodeIds().count(id)) problem("node " + std::to_string(id) + " is active and removed");
        if (!nodesInGmsh.count(id)) problem("active node " + std::to_string(id) + " is not in gmsh");
    }
    for (const Element& element : stored)
        for (int node : element.nodeIds)
            if (!active.NodeIds().count(node))
                problem("node " + std::to_string(node) + " of element " + std::to_string(element.id) +
                        " is not active");

    // Named element sets.
    for (const auto& entry : master.elementSets) {
        for (int id : entry.second.ElementIds()) {
            Element element;
            if (!master.elements.Get(id, element)) continue;
            const std::vector<int>& named = element.origin.namedSetIds;
            if (std::find(named.begin(), named.end(), entry.first) == named.end())
                problem("element " + std::to_string(id) + " does not list its set " + std::to_string(entry.first));
        }
    }
    return problems;
}

namespace {

template <class Ids>
std::string sortedList(const Ids& ids)
{
    std::vector<long long> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    std::ostringstream text;
    for (long long id : sorted) text << ' ' << id;
    return text.str();
}

void describeGmshModel(std::ostringstream& out)
{
    std::vector<std::string> models;
    gm::model::list(models);
    std::sort(models.begin(), models.end());
    out << "models:";
    for (const std::string& name : models) out << ' ' << name;
    out << '\n';

    std::vector<std::size_t> tags;
    std::vector<double> coordinates, parametric;
    gm::model::mesh::getNodes(tags, coordinates, parametric, -1, -1, false, false);
    std::map<std::size_t, std::size_t> byTag;
    for (std::size_t i = 0; i < tags.size(); ++i) byTag[tags[i]] = i;
    for (const auto& node : byTag)
        out << "gmsh node " << node.first << " (" << coordinates[3 * node.second] << ", "
            << coordinates[3 * node.second + 1] << ", " << coordinates[3 * node.second + 2] << ")\n";

    std::map<int, std::string> elements;
    forEachGmshElement([&](const std::pair<int, int>& entity, int type, int tag, const std::vector<int>& nodes) {
        elements[tag] = "gmsh element " + std::to_string(tag) + " type " + std::to_string(type) + " on (" +
                        std::to_string(entity.first) + ", " + std::to_string(entity.second) + ") nodes";
        for (int node : nodes) elements[tag] += " " + std::to_string(node);
    });
    for (const auto& element : elements) out << element.second << '\n';

    gm::vectorpair groups;
    gm::model::getPhysicalGroups(groups, -1);
    std::sort(groups.begin(), groups.end());
    for (const auto& group : groups) {
        std::string name;
        gm::model::getPhysicalName(group.first, group.second, name);
        std::vector<int> members;
        gm::model::getEntitiesForPhysicalGroup(group.first, group.second, members);
        out << "physical group (" << group.first << ", " << group.second << ") \"" << name << "\" entities"
            << sortedList(members) << '\n';
    }
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
            << sortedList(element.origin.namedSetIds) << " nodes";
        for (int node : element.nodeIds) out << ' ' << node;
        out << " attributes " << element.attributes.doubleAttribute << '/' << element.attributes.intAttribute << '/'
            << element.attributes.dimension << " dof";
        for (double dof : element.attributes.degreesOfFreedom) out << ' ' << dof;
        out << '\n';
    }
    out << "active nodes" << sortedList(master.nodeRepository.GetActiveNodes()->NodeIds()) << '\n';
    out << "removed nodes" << sortedList(master.nodeRepository.GetRemovedNodes()->NodeIds()) << '\n';
    std::map<int, std::vector<int>> index;
    master.nodeToElements.ForEach([&](int node, const NodeElementIndex::Entry& entry) {
        index[node].assign(entry.begin(), entry.end());
    });
    for (const auto& entry : index) out << "node " << entry.first << " used by" << sortedList(entry.second) << '\n';

    for (const auto& entry : master.componentMeshes) {
        ComponentMesh& component = const_cast<ComponentMesh&>(entry.second);
        out << "component " << entry.first;
        for (ElementDimension dimension : {DIMENSION_0D, DIMENSION_1D, DIMENSION_2D, DIMENSION_3D}) {
            const ElementSet& set = *component.GetElementsByDimension(dimension);
            out << " | set " << set.GetComponentId() << ':' << sortedList(set.ElementIds());
        }
        out << '\n';
    }
    for (const auto& entry : master.elementSets)
        out << "element set " << entry.first << ':' << sortedList(entry.second.ElementIds()) << '\n';
    for (const auto& entry : master.nodeSets)
        out << "node set " << entry.first << ':' << sortedList(entry.second.NodeIds()) << '\n';
    for (const auto* couplings : {&master.kinematicCouplings, &master.distributingCouplings}) {
        out << (couplings == &master.kinematicCouplings ? "kinematic" : "distributing") << " couplings\n";
        for (const ElementCoupling& coupling : *couplings) {
            out << "  component " << coupling.GetMeshComponentId() << " master " << coupling.GetMasterNodeId()
                << " slaves" << sortedList(coupling.GetNodeIDs()) << " beams"
                << sortedList(coupling.GetRepresentationBeamIds()) << " weights";
            for (double weight : coupling.GetWeights()) out << ' ' << weight;
            out << '\n';
        }
    }
    return out.str();
}

}  // namespace Tarnel

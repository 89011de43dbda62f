// Read-only topology queries of a mesh: the elements at a node or a point,
// and the border of a selection of surface elements as edges, nodes and
// GEOM wires.

#include <algorithm>
#include <list>
#include <map>
#include <unordered_set>

#include "Diagnostics/MorvaneException.h"
#include "Entities/Mesh.h"
#include "GEOMImpl_Gen.hxx"
#include "GEOMImpl_IShapesOperations.hxx"
#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"
#include "Operations/MeshHelper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/Mesh";

using Edge = std::pair<int, int>;

Edge normalised(int a, int b)
{
    return a < b ? Edge(a, b) : Edge(b, a);
}

// The edges a border is made of; false for shapes that have no place in a
// surface selection's border.
bool appendBorderEdges(const Element& element, std::vector<Edge>& edges)
{
    const std::vector<int>& n = element.nodeIds;
    switch (element.shape) {
    case TRIANGLE_3NODE:
        edges.insert(edges.end(), {normalised(n[0], n[1]), normalised(n[1], n[2]), normalised(n[2], n[0])});
        return true;
    case QUAD_4NODE:
        edges.insert(edges.end(), {normalised(n[0], n[1]), normalised(n[1], n[2]), normalised(n[2], n[3]),
                                   normalised(n[3], n[0])});
        return true;
    case LINE_2NODE:
    case TETRA_4NODE:
    case HEXA_8NODE:
    case PRISM_6NODE:
    case PYRAMID_5NODE:
    case POINT_1NODE: return true;
    default: return false;
    }
}

bool isSurfaceShape(ElementShape shape)
{
    return shape == TRIANGLE_3NODE || shape == QUAD_4NODE || shape == TRIANGLE_6NODE || shape == QUAD_9NODE ||
           shape == QUAD_8NODE;
}

// Chains of border edges: each starts at the first unused edge and goes on,
// from its last node, with the first unused edge in list order that touches
// that node, until none does or the chain closes.
std::vector<std::vector<int>> chainBorder(const std::vector<Edge>& border)
{
    std::map<int, std::vector<std::size_t>> edgesOfNode;  // ascending edge positions
    for (std::size_t i = 0; i < border.size(); ++i) {
        edgesOfNode[border[i].first].push_back(i);
        edgesOfNode[border[i].second].push_back(i);
    }
    std::vector<bool> used(border.size(), false);
    std::vector<std::vector<int>> chains;
    for (std::size_t start = 0; start < border.size(); ++start) {
        if (used[start]) continue;
        used[start] = true;
        std::vector<int> chain{border[start].first, border[start].second};
        while (chain.back() != chain.front()) {
            const int last = chain.back();
            const std::vector<std::size_t>& candidates = edgesOfNode[last];
            const auto next = std::find_if(candidates.begin(), candidates.end(), [&](std::size_t i) { return !used[i]; });
            if (next == candidates.end()) break;
            used[*next] = true;
            chain.push_back(border[*next].first == last ? border[*next].second : border[*next].first);
        }
        chains.push_back(std::move(chain));
    }
    return chains;
}

}  // namespace

std::vector<Element> Mesh::GetElementsAssociatedWithNode(int nodeId)
{
    MeshEngineWrapper::getInstance().ActivateMesh(*this);
    const XYZ position = getNodePosition(nodeId);
    std::vector<std::size_t> candidates;
    GmshAdapter::model::mesh::getElementsByCoordinates(position.X(), position.Y(), position.Z(), candidates, -1,
                                                       false);
    // The element's own definition tells whether it uses the node; for the
    // master mesh that is a lookup in its table rather than a gmsh search.
    std::vector<Element> result;
    for (std::size_t tag : candidates) {
        Element element = GetElementDefinition(static_cast<int>(tag));
        if (std::find(element.nodeIds.begin(), element.nodeIds.end(), nodeId) != element.nodeIds.end())
            result.push_back(std::move(element));
    }
    return result;
}

std::vector<Element> Mesh::GetElementsNearPosition(XYZ position)
{
    MeshEngineWrapper::getInstance().ActivateMesh(*this);
    std::vector<std::size_t> candidates;
    GmshAdapter::model::mesh::getElementsByCoordinates(position.X(), position.Y(), position.Z(), candidates, -1,
                                                       false);
    std::vector<Element> result;
    result.reserve(candidates.size());
    for (std::size_t tag : candidates) result.push_back(GetElementDefinition(static_cast<int>(tag)));
    return result;
}

std::vector<std::pair<int, int>> Mesh::GetElementSelectionBorder(const std::vector<int>& elementIds)
{
    std::map<Edge, int> uses;
    std::vector<Edge> edges;
    for (int id : elementIds) {
        edges.clear();
        if (!appendBorderEdges(elements.Get(id), edges)) {
            TARNEL_LOG_ERROR("invalid element shape", "Tarnel::Mesh::GetElementSelectionBorder");
            continue;
        }
        for (const Edge& edge : edges) ++uses[edge];
    }
    std::vector<Edge> border;
    for (const auto& entry : uses)
        if (entry.second == 1) border.push_back(entry.first);
    return border;
}

std::vector<int> Mesh::GetBoundaryNodeIDs(const std::vector<int>& elementIds)
{
    MeshEngineWrapper::getInstance().ActivateMesh(*this);
    std::vector<int> selection = elementIds;
    if (selection.empty()) {
        for (const Element& element : GetAllElements()) {
            GetShapeDimension(element.shape);  // throws "Unknown ElementShape" outside the table
            if (isSurfaceShape(element.shape)) selection.push_back(element.id);
        }
    }
    std::unordered_set<int> nodes;
    for (const Edge& edge : GetElementSelectionBorder(selection)) {
        nodes.insert(edge.first);
        nodes.insert(edge.second);
    }
    return std::vector<int>(nodes.begin(), nodes.end());
}

std::vector<opencascade::handle<GEOM_Object>> Mesh::GenerateBoundingWiresForElements(const std::vector<int>& elementIds)
{
    GEOMImpl_IShapesOperations* shapes = MeshEngineWrapper::getInstance().GetGeomEngine()->GetIShapesOperations();
    std::vector<opencascade::handle<GEOM_Object>> wires;
    for (const std::vector<int>& chain : chainBorder(GetElementSelectionBorder(elementIds))) {
        std::list<opencascade::handle<GEOM_Object>> edges;
        for (std::size_t i = 0; i + 1 < chain.size(); ++i)
            edges.push_back(MeshHelper::ConstructEdgeFromNodes(GetNodeDefinition(chain[i]), GetNodeDefinition(chain[i + 1])));
        wires.push_back(shapes->MakeWire(edges, 1e-9));
    }
    return wires;
}

}  // namespace Tarnel

// Normal reversal and the free edges and faces of a selection: operations on
// element topology alone.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>

#include "Diagnostics/MorvaneException.h"
#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";

using Positions = std::vector<std::array<int, 2>>;
using FacePositions = std::vector<std::vector<int>>;

// The edges of a shape as pairs of positions in its node list; nullptr for
// shapes without an entry.
const Positions* edgesOf(ElementShape shape)
{
    static const std::map<ElementShape, Positions> table = {
        {TRIANGLE_3NODE, {{0, 1}, {1, 2}, {2, 0}}},
        {QUAD_4NODE, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}},
        {TETRA_4NODE, {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 3}, {2, 3}}},
        {HEXA_8NODE, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}}},
        {PRISM_6NODE, {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}}},
        {PYRAMID_5NODE, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 4}, {2, 4}, {3, 4}}},
        {LINE_2NODE, {}},
        {POINT_1NODE, {}}};
    const auto found = table.find(shape);
    return found == table.end() ? nullptr : &found->second;
}

// The faces of a volume shape, each in the order whose normal points out of
// the element; nullptr for other shapes.
const FacePositions* facesOf(ElementShape shape)
{
    static const std::map<ElementShape, FacePositions> table = {
        {TETRA_4NODE, {{2, 1, 0}, {3, 2, 0}, {2, 3, 1}, {1, 3, 0}}},
        {HEXA_8NODE,
         {{0, 3, 2, 1}, {1, 2, 6, 5}, {5, 6, 7, 4}, {0, 4, 7, 3}, {2, 3, 7, 6}, {0, 1, 5, 4}}},
        {PRISM_6NODE, {{2, 1, 0}, {3, 4, 5}, {4, 3, 0, 1}, {3, 5, 2, 0}, {1, 2, 5, 4}}},
        {PYRAMID_5NODE, {{4, 3, 0}, {1, 4, 0}, {4, 1, 2}, {3, 4, 2}, {3, 2, 1, 0}}}};
    const auto found = table.find(shape);
    return found == table.end() ? nullptr : &found->second;
}

// A face by its node IDs sorted ascending (a triangle's fourth is 0).
using FaceKey = std::array<int, 4>;

struct FaceKeyHash {
    std::size_t operator()(const FaceKey& key) const
    {
        std::size_t hash = 0;
        for (int node : key) hash = hash * 1000003u ^ std::hash<int>()(node);
        return hash;
    }
};

// Every occurrence of one face among the listed elements.
struct FaceOccurrences {
    std::vector<int> nodeIds;  // the first occurrence's, oriented as its element has it
    std::vector<int> owners;
};

}  // namespace

std::vector<MeshTransaction> MasterMesh::ReverseNormals(const std::vector<int>& elementIds,
                                                        std::vector<int>& reversedIds,
                                                        std::unordered_map<std::string, int>& solverTypesByShape)
{
    if (elementIds.empty()) throw std::invalid_argument("No element IDs provided for reversing normals.");
    reversedIds.clear();
    const std::vector<ElementShape> batchShapes{TRIANGLE_3NODE, QUAD_4NODE};
    const std::vector<SolverElementType> solverTypes{
        static_cast<SolverElementType>(solverTypesByShape["2"]),
        static_cast<SolverElementType>(solverTypesByShape["3"])};

    // Every shape is checked before anything is added.
    std::unordered_map<int, std::vector<ElementData>> batches;
    for (int id : elementIds) {
        Element element = GetElementDefinition(id);
        if (element.shape == INVALID) continue;
        if (element.shape != TRIANGLE_3NODE && element.shape != QUAD_4NODE)
            throw MorvaneException(std::string("ReverseNormals: Invalid element shape."));
        std::reverse(element.nodeIds.begin(), element.nodeIds.end());
        std::vector<ElementData>& batch = batches[element.origin.componentMeshId];
        if (batch.empty()) batch.resize(batchShapes.size());
        ElementData& slot = batch[element.shape == TRIANGLE_3NODE ? 0 : 1];
        slot.nodeIds.insert(slot.nodeIds.end(), element.nodeIds.begin(), element.nodeIds.end());
        slot.elementIds.push_back(element.solverType);
        reversedIds.push_back(id);
    }

    std::vector<MeshTransaction> transactions;
    for (const auto& entry : batches)
        transactions.push_back(AddElements(entry.first, batchShapes, {}, {}, entry.second, solverTypes,
                                           ElementAttributes(std::vector<double>(6, 1.0), -1.0, 0, NOT_SPECIFIED),
                                           false));
    if (!transactions.empty()) transactions.back().removedElementIds = reversedIds;
    std::unordered_set<int> orphans;
    if (!DeleteElements(std::unordered_set<int>(reversedIds.begin(), reversedIds.end()), orphans, false))
        TARNEL_LOG_ERROR("Failed to delete elements with flipped normals!", "Tarnel::MasterMesh::ReverseNormals");
    return transactions;
}

std::vector<std::vector<int>> MasterMesh::GetFreeElementEdges(const std::vector<int>& elementIds)
{
    std::vector<std::vector<int>> freeEdges;
    for (int id : elementIds) {
        Element element;
        const Positions* edges = elements.Get(id, element) ? edgesOf(element.shape) : nullptr;
        if (edges == nullptr) throw MorvaneException(std::string("GetFreeElementEdges: Invalid element shape."));
        for (const auto& edge : *edges) {
            const int lo = std::min(element.nodeIds[edge[0]], element.nodeIds[edge[1]]);
            const int hi = std::max(element.nodeIds[edge[0]], element.nodeIds[edge[1]]);
            const NodeElementIndex::Entry* atLo = nodeToElements.Find(lo);
            const NodeElementIndex::Entry* atHi = nodeToElements.Find(hi);
            int sharing = 0;
            if (atLo == nullptr || atHi == nullptr) continue;
            for (const int* user = atLo->begin(); user != atLo->end() && sharing < 2; ++user) {
                if (!atHi->contains(*user)) continue;
                if (GetShapeDimensionOrInvalid(elements.GetShape(*user)) >= 2) ++sharing;
            }
            if (sharing < 2) freeEdges.push_back({lo, hi});
        }
    }
    return freeEdges;
}

std::vector<ElementData> MasterMesh::GetFreeElementFaces(const std::vector<int>& elementIds)
{
    // Faces by their sorted node IDs; one map per face size.
    std::unordered_map<FaceKey, FaceOccurrences, FaceKeyHash> triangles, quadrangles;
    for (int id : elementIds) {
        Element element;
        const FacePositions* faces = elements.Get(id, element) ? facesOf(element.shape) : nullptr;
        if (faces == nullptr) throw MorvaneException(std::string("GetFreeElementFaces: Invalid element shape."));
        for (const std::vector<int>& face : *faces) {
            std::vector<int> nodes;
            for (int position : face) nodes.push_back(element.nodeIds[position]);
            std::vector<int> sorted = nodes;
            std::sort(sorted.begin(), sorted.end());
            FaceKey key{0, 0, 0, 0};
            std::copy(sorted.begin(), sorted.end(), key.begin());
            FaceOccurrences& occurrences = (face.size() == 3 ? triangles : quadrangles)[key];
            if (occurrences.owners.empty()) occurrences.nodeIds = std::move(nodes);
            occurrences.owners.push_back(id);
        }
    }
    std::vector<ElementData> result(2);
    for (std::size_t k = 0; k < 2; ++k) {
        for (const auto& entry : k == 0 ? triangles : quadrangles) {
            if (entry.second.owners.size() != 1) continue;
            result[k].nodeIds.insert(result[k].nodeIds.end(), entry.second.nodeIds.begin(), entry.second.nodeIds.end());
            result[k].elementIds.push_back(entry.second.owners.front());
        }
    }
    return result;
}

}  // namespace Tarnel

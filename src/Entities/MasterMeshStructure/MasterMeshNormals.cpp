// Normal reversal and the free edges and faces of a selection: operations on
// element topology alone.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <stdexcept>

#include "Diagnostics/MorvaneException.h"
#include "Internal/LogMacros.h"
#include "Entities/MasterMeshStructure/HugePageAllocator.h"

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
    static const FacePositions tetrahedron{{2, 1, 0}, {3, 2, 0}, {2, 3, 1}, {1, 3, 0}};
    static const FacePositions hexahedron{{0, 3, 2, 1}, {1, 2, 6, 5}, {5, 6, 7, 4},
                                          {0, 4, 7, 3}, {2, 3, 7, 6}, {0, 1, 5, 4}};
    static const FacePositions prism{{2, 1, 0}, {3, 4, 5}, {4, 3, 0, 1}, {3, 5, 2, 0}, {1, 2, 5, 4}};
    static const FacePositions pyramid{{4, 3, 0}, {1, 4, 0}, {4, 1, 2}, {3, 4, 2}, {3, 2, 1, 0}};
    switch (shape) {
        case TETRA_4NODE: return &tetrahedron;
        case HEXA_8NODE: return &hexahedron;
        case PRISM_6NODE: return &prism;
        case PYRAMID_5NODE: return &pyramid;
        default: return nullptr;
    }
}

// One occurrence of a face among the listed elements: its node IDs sorted
// ascending as the key (a triangle's fourth is 0), the position of its
// element in the list and the face's row in the element's face table. The
// oriented nodes are looked up again for the free faces only: a million
// volumes give millions of occurrences, and every byte of them is written
// and read again.
struct FaceOccurrence {
    std::array<int, 4> key;
    std::uint32_t owner;
    std::uint8_t face;
    std::uint8_t size;
};

// Marks every occurrence whose face occurs more than once. The occurrences
// are grouped by their smallest node with a counting sort; the faces of a
// mesh that share a node lie close together in element order, so the groups
// are filled and read nearly in order, and comparing within a group (a dozen
// faces) stays in the cache. A table of all faces would be probed at random
// and grow slower than linearly with the mesh.
std::vector<bool> sharedFaces(const HugePageVector<FaceOccurrence>& faces)
{
    std::vector<bool> shared(faces.size(), false);
    if (faces.empty()) return shared;
    int lowest = faces.front().key[0];
    int highest = lowest;
    for (const FaceOccurrence& face : faces) {
        lowest = std::min(lowest, face.key[0]);
        highest = std::max(highest, face.key[0]);
    }
    const std::size_t groupCount = static_cast<std::size_t>(static_cast<std::int64_t>(highest) - lowest) + 1;
    HugePageVector<std::uint32_t> groupStart(groupCount + 1, 0);
    for (const FaceOccurrence& face : faces) ++groupStart[static_cast<std::size_t>(face.key[0] - lowest) + 1];
    for (std::size_t g = 0; g < groupCount; ++g) groupStart[g + 1] += groupStart[g];
    HugePageVector<std::uint32_t> grouped(faces.size());
    {
        HugePageVector<std::uint32_t> next(groupStart.begin(), groupStart.end() - 1);
        for (std::size_t i = 0; i < faces.size(); ++i)
            grouped[next[static_cast<std::size_t>(faces[i].key[0] - lowest)]++] = static_cast<std::uint32_t>(i);
    }
    const auto keyBefore = [&faces](std::uint32_t a, std::uint32_t b) { return faces[a].key < faces[b].key; };
    for (std::size_t g = 0; g < groupCount; ++g) {
        std::uint32_t* first = grouped.data() + groupStart[g];
        std::uint32_t* last = grouped.data() + groupStart[g + 1];
        if (last - first > 16) {  // a hub node: sorted, so that no group costs the square of its size
            std::sort(first, last, keyBefore);
            for (std::uint32_t* a = first; a + 1 < last; ++a)
                if (faces[a[0]].key == faces[a[1]].key) shared[a[0]] = shared[a[1]] = true;
            continue;
        }
        for (const std::uint32_t* a = first; a != last; ++a)
            for (const std::uint32_t* b = a + 1; b != last; ++b)
                if (faces[*a].key == faces[*b].key) shared[*a] = shared[*b] = true;
    }
    return shared;
}

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
    Element element;
    for (int id : elementIds) {
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

// The free faces come in the order of the list, each element's in table
// order.
std::vector<ElementData> MasterMesh::GetFreeElementFaces(const std::vector<int>& elementIds)
{
    std::size_t faceCount = 0;
    for (int id : elementIds) {
        const FacePositions* positions = facesOf(elements.GetShape(id));
        if (positions != nullptr) faceCount += positions->size();
    }
    HugePageVector<FaceOccurrence> faces;
    faces.reserve(faceCount);
    for (std::size_t i = 0; i < elementIds.size(); ++i) {
        const FacePositions* positions = facesOf(elements.GetShape(elementIds[i]));
        if (positions == nullptr) throw MorvaneException(std::string("GetFreeElementFaces: Invalid element shape."));
        const int* nodes = elements.NodeIdsOf(elementIds[i]).first;
        for (std::size_t f = 0; f < positions->size(); ++f) {
            const std::vector<int>& face = (*positions)[f];
            FaceOccurrence occurrence{{0, 0, 0, 0}, static_cast<std::uint32_t>(i), static_cast<std::uint8_t>(f),
                                      static_cast<std::uint8_t>(face.size())};
            for (std::size_t k = 0; k < face.size(); ++k) occurrence.key[k] = nodes[face[k]];
            for (std::size_t a = 1; a < face.size(); ++a)  // insertion sort of at most four
                for (std::size_t b = a; b > 0 && occurrence.key[b - 1] > occurrence.key[b]; --b)
                    std::swap(occurrence.key[b - 1], occurrence.key[b]);
            faces.push_back(occurrence);
        }
    }
    const std::vector<bool> shared = sharedFaces(faces);
    std::vector<ElementData> result(2);
    std::size_t freeCount[2] = {0, 0};
    for (std::size_t i = 0; i < faces.size(); ++i)
        if (!shared[i]) ++freeCount[faces[i].size == 3 ? 0 : 1];
    for (std::size_t k = 0; k < 2; ++k) {
        result[k].nodeIds.reserve(freeCount[k] * (k == 0 ? 3 : 4));
        result[k].elementIds.reserve(freeCount[k]);
    }
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (shared[i]) continue;
        const int owner = elementIds[faces[i].owner];
        const int* nodes = elements.NodeIdsOf(owner).first;
        ElementData& record = result[faces[i].size == 3 ? 0 : 1];
        for (int position : (*facesOf(elements.GetShape(owner)))[faces[i].face])
            record.nodeIds.push_back(nodes[position]);
        record.elementIds.push_back(owner);
    }
    return result;
}

}  // namespace Tarnel

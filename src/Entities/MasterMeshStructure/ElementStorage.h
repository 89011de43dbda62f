#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Entities/Element.h"
#include "Entities/MasterMeshStructure/HugePageAllocator.h"
#include "Entities/MasterMeshStructure/PagedIdMap.h"

namespace Tarnel {

// Elements by ID: the element cache of every Mesh and the authoritative
// element table of the master mesh.
//
// Invariants: every stored element is stored under its own `id`; the first
// element stored under an ID stays until it is erased; an element arriving
// with the dimension -1 is stored with its shape's dimension. Iteration
// follows the order of storing (erased elements left out), so it is stable
// while the storage is unchanged.
//
// A million-element master mesh must not cost a million small allocations per
// container: elements are kept as flat records, their node lists in one pool
// and their attributes interned (elements share a handful of distinct
// attribute records), and an Element is assembled when one is asked for.
class ElementStorage {
public:
    // Stores a copy unless an element with that ID is already stored.
    void AddElement(const Element& element);
    // Replaces the content by copies of `other`'s elements, in its order.
    void TransferContents(const ElementStorage& other);

    bool Contains(int elementId) const;
    // A copy of the stored element, or a default Element (id 0, INVALID).
    Element Get(int elementId) const;
    // Fills `element` with the stored element, reusing its buffers; false
    // (and `element` untouched) when there is none.
    bool Get(int elementId, Element& element) const;
    // The stored element's shape, or INVALID.
    ElementShape GetShape(int elementId) const;
    // The stored element's node IDs where they are kept, valid until the
    // storage changes; {nullptr, 0} when there is none. For walks over many
    // elements that need nothing else of them.
    std::pair<const int*, std::size_t> NodeIdsOf(int elementId) const;
    bool Erase(int elementId);
    // Records that the element belongs to the named set; false when the
    // element is not stored.
    bool AddNamedSetId(int elementId, int setId);

    void Clear();
    // Makes room for `count` elements in all.
    void Reserve(std::size_t count);
    std::size_t Size() const { return liveCount; }
    bool Empty() const { return liveCount == 0; }

    // Visits every stored element in storage order. The Element passed is
    // reused between calls; copy it to keep it.
    void ForEach(const std::function<void(const Element& element)>& visit) const;
    // Copies of every stored element, in storage order.
    std::vector<Element> GetAll() const;
    // The IDs of the stored elements, in storage order.
    std::vector<int> GetIds() const;

private:
    struct Record {
        int id = 0;
        ElementShape shape = INVALID;
        SolverElementType solverType = SOLVER_TYPE_NONE;
        int componentMeshId = -1;
        int elementSetId = -1;
        bool originValid = false;
        bool alive = false;
        std::uint32_t nodeCount = 0;
        std::size_t nodeOffset = 0;
        std::uint32_t attributesIndex = 0;
        std::uint32_t namedSetsIndex = 0;  // 0: no named set
    };
    // The record index + 1 of an ID; 0 when the ID is not stored.
    struct Slot {
        std::uint32_t recordPlusOne = 0;
    };

    const Record* findRecord(int elementId) const;
    void fill(const Record& record, Element& element) const;
    std::uint32_t internAttributes(const ElementAttributes& attributes);
    void compactIfSparse();

    HugePageVector<Record> records;
    HugePageVector<int> nodePool;
    std::vector<ElementAttributes> attributesTable;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> attributesByHash;
    std::uint32_t lastAttributesIndex = 0;
    std::vector<std::vector<int>> namedSetLists = std::vector<std::vector<int>>(1);
    PagedIdMap<Slot> recordOfId;
    std::size_t liveCount = 0;
};

}  // namespace Tarnel

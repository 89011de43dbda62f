#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "Entities/MasterMeshStructure/PagedIdMap.h"

namespace Tarnel {

// For each node ID, the IDs of the elements that use the node: the master
// mesh's node-to-element index.
//
// Invariants: a node has an entry exactly when at least one element ID is
// recorded for it (removing the last one removes the entry); an entry holds
// each element ID once, in the order of insertion.
//
// Entries are slots of a PagedIdMap, and the few elements of a typical node
// sit inline in its slot without a heap allocation of their own.
class NodeElementIndex {
public:
    // The element IDs of one node.
    class Entry {
    public:
        std::size_t size() const { return count; }
        bool empty() const { return count == 0; }
        const int* begin() const { return count <= kInline ? inlineIds.data() : overflow.data(); }
        const int* end() const { return begin() + count; }
        bool contains(int elementId) const;

    private:
        friend class NodeElementIndex;
        static constexpr std::uint32_t kInline = 6;
        bool insert(int elementId);
        bool erase(int elementId);

        std::uint32_t count = 0;
        std::array<int, kInline> inlineIds{};
        std::vector<int> overflow;
    };

    // Records that `elementId` uses `nodeId`; no effect when already recorded.
    void Insert(int nodeId, int elementId);
    // Forgets that `elementId` uses `nodeId`; the entry goes when it empties.
    void Erase(int nodeId, int elementId);
    // Forgets the node's whole entry.
    void EraseNode(int nodeId);
    // The node's entry, or nullptr when it has none.
    const Entry* Find(int nodeId) const;
    // Number of nodes with an entry.
    std::size_t Size() const { return entryCount; }
    bool Empty() const { return entryCount == 0; }
    void Clear();
    // Visits every entry, by ascending node ID.
    void ForEach(const std::function<void(int nodeId, const Entry& entry)>& visit) const;

private:
    PagedIdMap<Entry> entries;
    std::size_t entryCount = 0;
};

}  // namespace Tarnel

#include "Entities/MasterMeshStructure/NodeElementIndex.h"

#include <algorithm>

namespace Tarnel {

bool NodeElementIndex::Entry::contains(int elementId) const
{
    return std::find(begin(), end(), elementId) != end();
}

bool NodeElementIndex::Entry::insert(int elementId)
{
    if (contains(elementId)) return false;
    if (count < kInline) {
        inlineIds[count++] = elementId;
        return true;
    }
    if (count == kInline) overflow.assign(inlineIds.begin(), inlineIds.end());
    overflow.push_back(elementId);
    ++count;
    return true;
}

bool NodeElementIndex::Entry::erase(int elementId)
{
    if (count <= kInline) {
        int* first = inlineIds.data();
        int* last = first + count;
        int* found = std::find(first, last, elementId);
        if (found == last) return false;
        std::copy(found + 1, last, found);
        --count;
        return true;
    }
    const auto found = std::find(overflow.begin(), overflow.end(), elementId);
    if (found == overflow.end()) return false;
    overflow.erase(found);
    --count;
    if (count == kInline) {
        std::copy(overflow.begin(), overflow.end(), inlineIds.begin());
        std::vector<int>().swap(overflow);
    }
    return true;
}

void NodeElementIndex::Insert(int nodeId, int elementId)
{
    Entry& entry = entries.Slot(nodeId);
    const bool wasEmpty = entry.empty();
    if (entry.insert(elementId) && wasEmpty) ++entryCount;
}

void NodeElementIndex::Erase(int nodeId, int elementId)
{
    Entry* entry = entries.Find(nodeId);
    if (entry == nullptr || !entry->erase(elementId) || !entry->empty()) return;
    --entryCount;
    entries.Release(nodeId);
}

void NodeElementIndex::EraseNode(int nodeId)
{
    Entry* entry = entries.Find(nodeId);
    if (entry == nullptr || entry->empty()) return;
    *entry = Entry();
    --entryCount;
    entries.Release(nodeId);
}

const NodeElementIndex::Entry* NodeElementIndex::Find(int nodeId) const
{
    const Entry* entry = entries.Find(nodeId);
    return entry == nullptr || entry->empty() ? nullptr : entry;
}

void NodeElementIndex::Clear()
{
    entries.Clear();
    entryCount = 0;
}

void NodeElementIndex::ForEach(const std::function<void(int nodeId, const Entry& entry)>& visit) const
{
    entries.ForEach([&](int nodeId, const Entry& entry) {
        if (!entry.empty()) visit(nodeId, entry);
    });
}

}  // namespace Tarnel

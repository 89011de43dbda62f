#include "Entities/MasterMeshStructure/ElementStorage.h"

#include <algorithm>
#include <cstring>

namespace Tarnel {

namespace {

bool sameAttributes(const ElementAttributes& a, const ElementAttributes& b)
{
    return a.degreesOfFreedom == b.degreesOfFreedom &&
           std::memcmp(&a.doubleAttribute, &b.doubleAttribute, sizeof(double)) == 0 &&
           a.intAttribute == b.intAttribute && a.dimension == b.dimension;
}

// FNV-1a over the bytes of the attribute values.
std::uint64_t hashAttributes(const ElementAttributes& attributes)
{
    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](const void* data, std::size_t size) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    for (double value : attributes.degreesOfFreedom) mix(&value, sizeof(value));
    mix(&attributes.doubleAttribute, sizeof(double));
    mix(&attributes.intAttribute, sizeof(int));
    mix(&attributes.dimension, sizeof(attributes.dimension));
    return hash;
}

}  // namespace

std::uint32_t ElementStorage::internAttributes(const ElementAttributes& attributes)
{
    // Elements come in batches with the same attributes.
    if (lastAttributesIndex < attributesTable.size() &&
        sameAttributes(attributesTable[lastAttributesIndex], attributes))
        return lastAttributesIndex;
    std::vector<std::uint32_t>& candidates = attributesByHash[hashAttributes(attributes)];
    for (std::uint32_t index : candidates) {
        if (sameAttributes(attributesTable[index], attributes)) return lastAttributesIndex = index;
    }
    attributesTable.push_back(attributes);
    lastAttributesIndex = static_cast<std::uint32_t>(attributesTable.size() - 1);
    candidates.push_back(lastAttributesIndex);
    return lastAttributesIndex;
}

void ElementStorage::AddElement(const Element& element)
{
    Slot& slot = recordOfId.Slot(element.id);
    if (slot.recordPlusOne != 0) return;

    Record record;
    record.id = element.id;
    record.shape = element.shape;
    record.solverType = element.solverType;
    record.componentMeshId = element.origin.componentMeshId;
    record.elementSetId = element.origin.elementSetId;
    record.originValid = element.origin.isValid;
    record.alive = true;
    record.nodeCount = static_cast<std::uint32_t>(element.nodeIds.size());
    record.nodeOffset = nodePool.size();
    nodePool.insert(nodePool.end(), element.nodeIds.begin(), element.nodeIds.end());
    if (element.attributes.dimension == NOT_SPECIFIED) {
        ElementAttributes attributes = element.attributes;
        attributes.dimension = static_cast<ElementDimension>(GetShapeDimensionOrInvalid(element.shape));
        record.attributesIndex = internAttributes(attributes);
    } else {
        record.attributesIndex = internAttributes(element.attributes);
    }
    if (!element.origin.namedSetIds.empty()) {
        record.namedSetsIndex = static_cast<std::uint32_t>(namedSetLists.size());
        namedSetLists.push_back(element.origin.namedSetIds);
    }
    records.push_back(record);
    slot.recordPlusOne = static_cast<std::uint32_t>(records.size());
    ++liveCount;
}

void ElementStorage::TransferContents(const ElementStorage& other)
{
    if (&other == this) return;
    Clear();
    Reserve(other.Size());
    other.ForEach([this](const Element& element) { AddElement(element); });
}

const ElementStorage::Record* ElementStorage::findRecord(int elementId) const
{
    const Slot* slot = recordOfId.Find(elementId);
    if (slot == nullptr || slot->recordPlusOne == 0) return nullptr;
    return &records[slot->recordPlusOne - 1];
}

void ElementStorage::fill(const Record& record, Element& element) const
{
    element.id = record.id;
    element.nodeIds.assign(nodePool.begin() + static_cast<std::ptrdiff_t>(record.nodeOffset),
                           nodePool.begin() + static_cast<std::ptrdiff_t>(record.nodeOffset + record.nodeCount));
    element.shape = record.shape;
    element.solverType = record.solverType;
    element.origin.componentMeshId = record.componentMeshId;
    element.origin.elementSetId = record.elementSetId;
    element.origin.namedSetIds = namedSetLists[record.namedSetsIndex];
    element.origin.isValid = record.originValid;
    element.attributes = attributesTable[record.attributesIndex];
}

bool ElementStorage::Contains(int elementId) const
{
    return findRecord(elementId) != nullptr;
}

Element ElementStorage::Get(int elementId) const
{
    Element element;
    Get(elementId, element);
    return element;
}

bool ElementStorage::Get(int elementId, Element& element) const
{
    const Record* record = findRecord(elementId);
    if (record == nullptr) return false;
    fill(*record, element);
    return true;
}

ElementShape ElementStorage::GetShape(int elementId) const
{
    const Record* record = findRecord(elementId);
    return record == nullptr ? INVALID : record->shape;
}

std::pair<const int*, std::size_t> ElementStorage::NodeIdsOf(int elementId) const
{
    const Record* record = findRecord(elementId);
    if (record == nullptr) return {nullptr, 0};
    return {nodePool.data() + record->nodeOffset, record->nodeCount};
}

bool ElementStorage::AddNamedSetId(int elementId, int setId)
{
    Slot* slot = recordOfId.Find(elementId);
    if (slot == nullptr || slot->recordPlusOne == 0) return false;
    Record& record = records[slot->recordPlusOne - 1];
    if (record.namedSetsIndex == 0) {
        record.namedSetsIndex = static_cast<std::uint32_t>(namedSetLists.size());
        namedSetLists.emplace_back();
    }
    namedSetLists[record.namedSetsIndex].push_back(setId);
    return true;
}

bool ElementStorage::Erase(int elementId)
{
    Slot* slot = recordOfId.Find(elementId);
    if (slot == nullptr || slot->recordPlusOne == 0) return false;
    Record& record = records[slot->recordPlusOne - 1];
    record.alive = false;
    if (record.namedSetsIndex != 0) std::vector<int>().swap(namedSetLists[record.namedSetsIndex]);
    slot->recordPlusOne = 0;
    recordOfId.Release(elementId);
    --liveCount;
    compactIfSparse();
    return true;
}

// Erased records keep their place (and their nodes) until most of the storage
// is dead; then the live records, node lists and named-set lists are moved
// down over the dead ones, in order. A live record never moves up, so the
// move is done in place: on a million-element model a fresh copy of the
// tables would cost more (its pages are new to the process) than the move.
// The capacity is kept for the elements an edit adds next, unless most of it
// would stay unused.
void ElementStorage::compactIfSparse()
{
    const std::size_t dead = records.size() - liveCount;
    if (dead < 1024 || dead < liveCount) return;
    std::size_t keptRecords = 0, keptNodes = 0;
    // Named-set lists are numbered in the order sets were given, not in
    // record order, so they are gathered afresh (few elements have them).
    std::vector<std::vector<int>> liveNamedSets(1);
    for (std::size_t r = 0; r < records.size(); ++r) {
        Record record = records[r];
        if (!record.alive) continue;
        if (record.nodeOffset != keptNodes)
            std::copy_n(nodePool.begin() + static_cast<std::ptrdiff_t>(record.nodeOffset), record.nodeCount,
                        nodePool.begin() + static_cast<std::ptrdiff_t>(keptNodes));
        record.nodeOffset = keptNodes;
        keptNodes += record.nodeCount;
        if (record.namedSetsIndex != 0) {
            liveNamedSets.push_back(std::move(namedSetLists[record.namedSetsIndex]));
            record.namedSetsIndex = static_cast<std::uint32_t>(liveNamedSets.size() - 1);
        }
        records[keptRecords++] = record;
        recordOfId.Slot(record.id).recordPlusOne = static_cast<std::uint32_t>(keptRecords);
    }
    records.resize(keptRecords);
    nodePool.resize(keptNodes);
    namedSetLists.swap(liveNamedSets);
    if (records.capacity() / 4 > keptRecords) {
        records.shrink_to_fit();
        nodePool.shrink_to_fit();
    }
}

void ElementStorage::Clear()
{
    records.clear();
    nodePool.clear();
    attributesTable.clear();
    attributesByHash.clear();
    lastAttributesIndex = 0;
    namedSetLists.assign(1, std::vector<int>());
    recordOfId.Clear();
    liveCount = 0;
}

void ElementStorage::Reserve(std::size_t count)
{
    if (count <= liveCount) return;
    const std::size_t more = count - liveCount;
    records.reserve(records.size() + more);
    nodePool.reserve(nodePool.size() + 3 * more);
}

void ElementStorage::ForEach(const std::function<void(const Element& element)>& visit) const
{
    Element element;
    for (const Record& record : records) {
        if (!record.alive) continue;
        fill(record, element);
        visit(element);
    }
}

std::vector<Element> ElementStorage::GetAll() const
{
    std::vector<Element> result;
    result.reserve(liveCount);
    ForEach([&result](const Element& element) { result.push_back(element); });
    return result;
}

std::vector<int> ElementStorage::GetIds() const
{
    std::vector<int> ids;
    ids.reserve(liveCount);
    for (const Record& record : records)
        if (record.alive) ids.push_back(record.id);
    return ids;
}

}  // namespace Tarnel

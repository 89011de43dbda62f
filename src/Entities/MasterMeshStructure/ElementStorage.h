#pragma once

#include <cstddef>
#include <unordered_map>

#include "Entities/Element.h"

namespace Tarnel {

// Elements by ID: the element cache of every Mesh and the authoritative
// element table of the master mesh.
//
// Invariants: every stored element is stored under its own `id`; the first
// element stored under an ID stays until it is erased; no stored element has
// the dimension -1 unless its shape has none (an element arriving with -1
// gets its shape's dimension). Iteration
// order is the hash map's own and is stable while the storage is unchanged.
class ElementStorage {
public:
    using Map = std::unordered_map<int, Element>;

    ElementStorage();

    // Stores a copy unless an element with that ID is already stored.
    void AddElement(Element element);
    // Replaces the content by copies of `other`'s elements, in its order.
    void TransferContents(const ElementStorage& other);

    // The stored element, or nullptr.
    const Element* Find(int elementId) const;
    Element* Find(int elementId);
    // A copy of the stored element, or a default Element (id 0, INVALID).
    Element Get(int elementId) const;
    bool Contains(int elementId) const;
    bool Erase(int elementId);
    void Clear();
    void Reserve(std::size_t count);
    std::size_t Size() const;
    bool Empty() const;

    Map::const_iterator begin() const { return elements.begin(); }
    Map::const_iterator end() const { return elements.end(); }

private:
    Map elements;
};

}  // namespace Tarnel

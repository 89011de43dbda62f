#include "Entities/MasterMeshStructure/ElementStorage.h"

#include <utility>

namespace Tarnel {

ElementStorage::ElementStorage()
{
    elements.max_load_factor(1.0f);
}

void ElementStorage::AddElement(Element element)
{
    if (element.attributes.dimension == NOT_SPECIFIED)
        element.attributes.dimension = static_cast<ElementDimension>(GetShapeDimensionOrInvalid(element.shape));
    const int id = element.id;
    elements.try_emplace(id, std::move(element));
}

void ElementStorage::TransferContents(const ElementStorage& other)
{
    if (&other == this) return;
    elements.clear();
    elements.reserve(other.elements.size());
    for (const auto& entry : other.elements) AddElement(entry.second);
}

const Element* ElementStorage::Find(int elementId) const
{
    const auto found = elements.find(elementId);
    return found == elements.end() ? nullptr : &found->second;
}

Element* ElementStorage::Find(int elementId)
{
    const auto found = elements.find(elementId);
    return found == elements.end() ? nullptr : &found->second;
}

Element ElementStorage::Get(int elementId) const
{
    const Element* element = Find(elementId);
    return element != nullptr ? *element : Element();
}

bool ElementStorage::Contains(int elementId) const
{
    return elements.count(elementId) != 0;
}

bool ElementStorage::Erase(int elementId)
{
    return elements.erase(elementId) != 0;
}

void ElementStorage::Clear()
{
    elements.clear();
}

void ElementStorage::Reserve(std::size_t count)
{
    elements.reserve(count);
}

std::size_t ElementStorage::Size() const
{
    return elements.size();
}

bool ElementStorage::Empty() const
{
    return elements.empty();
}

}  // namespace Tarnel

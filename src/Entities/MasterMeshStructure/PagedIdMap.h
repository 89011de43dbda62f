#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Tarnel {

// A slot per ID for the IDs of a gmsh model, which are dense from 1 upwards:
// slots live in pages of consecutive IDs allocated on first use, so a lookup
// is two indexing steps and a mostly dense ID range costs a few bytes per ID.
// Negative IDs, which gmsh never hands out, go to a side table. A slot holds
// a default-constructed T until it is written; what counts as an empty slot
// is the owner's business.
template <class T>
class PagedIdMap {
public:
    // The slot of the ID, or nullptr when its page was never allocated.
    T* Find(int id)
    {
        if (id < 0) {
            const auto found = negatives.find(id);
            return found == negatives.end() ? nullptr : &found->second;
        }
        const std::size_t page = static_cast<std::size_t>(id) >> kPageBits;
        if (page >= pages.size() || !pages[page]) return nullptr;
        return &(*pages[page])[static_cast<std::size_t>(id) & kPageMask];
    }
    const T* Find(int id) const { return const_cast<PagedIdMap*>(this)->Find(id); }

    // The slot of the ID, allocating its page when needed.
    T& Slot(int id)
    {
        if (id < 0) return negatives[id];
        const std::size_t page = static_cast<std::size_t>(id) >> kPageBits;
        if (page >= pages.size()) pages.resize(page + 1);
        if (!pages[page]) pages[page] = std::make_unique<Page>();
        return (*pages[page])[static_cast<std::size_t>(id) & kPageMask];
    }

    // Drops a negative ID's slot; slots of other IDs stay allocated.
    void Release(int id)
    {
        if (id < 0) negatives.erase(id);
    }

    void Clear()
    {
        pages.clear();
        negatives.clear();
    }

    // Visits every allocated slot by ascending ID.
    template <class Visit>
    void ForEach(Visit&& visit) const
    {
        const std::map<int, const T*> sortedNegatives = [this] {
            std::map<int, const T*> sorted;
            for (const auto& item : negatives) sorted.emplace(item.first, &item.second);
            return sorted;
        }();
        for (const auto& item : sortedNegatives) visit(item.first, *item.second);
        for (std::size_t page = 0; page < pages.size(); ++page) {
            if (!pages[page]) continue;
            for (std::size_t index = 0; index < kPageSize; ++index)
                visit(static_cast<int>((page << kPageBits) | index), (*pages[page])[index]);
        }
    }

    PagedIdMap() = default;
    PagedIdMap(const PagedIdMap& other) : negatives(other.negatives)
    {
        pages.reserve(other.pages.size());
        for (const auto& page : other.pages) pages.push_back(page ? std::make_unique<Page>(*page) : nullptr);
    }
    PagedIdMap& operator=(const PagedIdMap& other)
    {
        if (this != &other) {
            PagedIdMap copy(other);
            pages.swap(copy.pages);
            negatives.swap(copy.negatives);
        }
        return *this;
    }
    PagedIdMap(PagedIdMap&&) noexcept = default;
    PagedIdMap& operator=(PagedIdMap&&) noexcept = default;

private:
    static constexpr int kPageBits = 10;
    static constexpr std::size_t kPageSize = std::size_t(1) << kPageBits;
    static constexpr std::size_t kPageMask = kPageSize - 1;
    using Page = std::array<T, kPageSize>;

    std::vector<std::unique_ptr<Page>> pages;
    std::unordered_map<int, T> negatives;
};

}  // namespace Tarnel

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace Tarnel {

// The transparent huge page of x86-64 and of most arm64 kernels.
constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

// For large arrays of a million-element model (working arrays walked once or
// twice, and the flat tables of the element storage): on Linux their memory
// is asked for in transparent huge pages. Filling fresh 4 KiB pages costs
// more than the walk itself on virtual machines (a page fault each), and
// kernels commonly grant huge pages only on request. Small arrays, and other
// systems, take the ordinary allocator.
template <class T>
class HugePageAllocator {
public:
    using value_type = T;

    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
#if defined(__linux__)
        const std::size_t bytes = count * sizeof(T);
        if (bytes >= kHugePageBytes) {
            const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
            void* memory = std::aligned_alloc(kHugePageBytes, rounded);
            if (memory == nullptr) throw std::bad_alloc();
            madvise(memory, rounded, MADV_HUGEPAGE);  // a refusal only costs speed
            return static_cast<T*>(memory);
        }
#endif
        return std::allocator<T>().allocate(count);
    }

    void deallocate(T* memory, std::size_t count) noexcept
    {
#if defined(__linux__)
        if (count * sizeof(T) >= kHugePageBytes) {
            std::free(memory);
            return;
        }
#endif
        std::allocator<T>().deallocate(memory, count);
    }

    template <class U>
    bool operator==(const HugePageAllocator<U>&) const noexcept
    {
        return true;
    }
    template <class U>
    bool operator!=(const HugePageAllocator<U>&) const noexcept
    {
        return false;
    }
};

template <class T>
using HugePageVector = std::vector<T, HugePageAllocator<T>>;

// The same request for an ordinary vector, one that is handed on to the host
// or to gmsh and so cannot take our allocator: reserves room for `count`
// elements and asks for huge pages under the whole huge pages inside that
// room, so a small vector is left as it is. A room that large usually comes
// fresh from the system; the request has to come before it is first touched.
template <class T>
void ReserveInHugePages(std::vector<T>& vector, std::size_t count)
{
    vector.reserve(count);
#if defined(__linux__)
    constexpr std::uintptr_t page = kHugePageBytes;
    const auto begin = reinterpret_cast<std::uintptr_t>(vector.data());
    const std::uintptr_t end = begin + vector.capacity() * sizeof(T);
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = end / page * page;
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

// A copy of a large list, converted to the element type gmsh takes, in huge
// pages as above.
template <class To, class From>
std::vector<To> ConvertedInHugePages(const std::vector<From>& values)
{
    std::vector<To> converted;
    ReserveInHugePages(converted, values.size());
    converted.assign(values.begin(), values.end());
    return converted;
}

}  // namespace Tarnel

#pragma once
// Large arrays asked to lie on the kernel's transparent huge pages: a fresh page costs one
// fault, and on a virtual machine a fault can cost more than filling its page; a huge page
// takes the faults of 512.

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <vector>

/// Advises huge pages for the 2 MiB-aligned part of [p, p + bytes); nothing for less than 4 MiB.
inline void adviseHugePages(void* p, std::size_t bytes) {
    constexpr std::uintptr_t huge = std::uintptr_t{1} << 21;
    if (bytes < 2 * huge) return;
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(p) + huge - 1) & ~(huge - 1);
    const std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(huge - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

/// v.assign(n, value), new memory advised for huge pages before it is first touched.
template <typename T>
void assignLarge(std::vector<T>& v, std::size_t n, const T& value) {
    if (v.capacity() < n) {
        std::vector<T> fresh;
        fresh.reserve(n);
        adviseHugePages(fresh.data(), n * sizeof(T));
        v.swap(fresh);
    }
    v.assign(n, value);
}

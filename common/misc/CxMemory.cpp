#include "CxMemory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr size_t kLarge = size_t(2) << 20; // the large page of x86-64 and arm64

} // namespace

void CxMemory::Release::operator()(char* p) const
{
    std::free(p);
}

CxMemory::Block CxMemory::Allocate(size_t n)
{
    n = n ? n : 1;
    void* p = nullptr;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (n >= kLarge / 2) {
        // Aligned and rounded to whole large pages, so that all of it can be one.
        const size_t nRounded = (n + kLarge - 1) & ~(kLarge - 1);
        p = std::aligned_alloc(kLarge, nRounded);
        if (p)
            ::madvise(p, nRounded, MADV_HUGEPAGE);
    }
#endif
    if (!p)
        p = std::malloc(n);
    if (!p)
        throw std::bad_alloc();
    return Block(static_cast<char*>(p));
}

void CxMemory::PrepareToFill(void* p, size_t n)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kLarge - 1) & ~(kLarge - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + n) & ~(kLarge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    // The block is about to be filled: its pages in one call, not one fault each.
    const uintptr_t page = uintptr_t(4096);
    const uintptr_t first = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
    const uintptr_t last = (reinterpret_cast<uintptr_t>(p) + n) & ~(page - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#endif
#else
    (void)p;
    (void)n;
#endif
}

// rkstage's large buffers come straight from the system in huge pages.
//
// A full-size render works on a few buffers of tens of megabytes each (the frame, the
// painter's copy of the picture, the PNG's filtered rows and its output). Fresh memory costs
// one page fault per 4 KiB page on first touch; for a 4000 x 3000 stage that was 38,000
// faults, a third of the whole run. Mapped with huge pages advised, the same buffers take a
// few hundred. Small allocations go to malloc as usual.
//
// Replacing the global operator new and delete is the one place that reaches the buffers
// core allocates too. Left out under the address sanitizer, which must see every allocation.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define RKSTAGE_PLAIN_ALLOCATION 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RKSTAGE_PLAIN_ALLOCATION 1
#endif
#endif

#ifndef RKSTAGE_PLAIN_ALLOCATION
namespace {
constexpr std::size_t largeBytes = std::size_t(4) << 20;
constexpr std::size_t hugePage = std::size_t(2) << 20;

// The mappings handed out, so that delete knows them from malloc's blocks. rkstage holds only
// a few large buffers at a time; when the table is full, further ones come from malloc.
struct Mapping {
    void* address;
    std::size_t bytes;
};
constexpr int tableSize = 32;
Mapping table[tableSize];

void* mapLarge(std::size_t n) {
    for (Mapping& m : table) {
        if (m.address)
            continue;
        const std::size_t bytes = (n + hugePage - 1) / hugePage * hugePage;
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            return nullptr;
        madvise(p, bytes, MADV_HUGEPAGE); // advice only: the mapping works without it
        m = {p, bytes};
        return p;
    }
    return std::malloc(n);
}

// True when `p` was mapped here (and is now unmapped).
bool unmapLarge(void* p) {
    for (Mapping& m : table) {
        if (m.address == p) {
            munmap(p, m.bytes);
            m = {nullptr, 0};
            return true;
        }
    }
    return false;
}

void* allocate(std::size_t n) {
    void* p = n >= largeBytes ? mapLarge(n) : std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void release(void* p) noexcept {
    if (p && !unmapLarge(p))
        std::free(p);
}
} // namespace

void* operator new(std::size_t n) {
    return allocate(n);
}
void* operator new[](std::size_t n) {
    return allocate(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return allocate(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept {
    return operator new(n, t);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    release(p);
}
#endif

#include "picture/pictureblock.h"

#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace {

std::int32_t readInt32(const std::uint8_t* p) {
    std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                      std::uint32_t(p[3]) << 24;
    return static_cast<std::int32_t>(v);
}

// Blocks from this size up are mapped directly, in whole huge pages. Builds with
// AddressSanitizer keep every block on its checked heap, where a write past the end is caught.
constexpr std::size_t hugePage = std::size_t(2) << 20;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool mapLargeBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool mapLargeBlocks = false;
#else
constexpr bool mapLargeBlocks = true;
#endif
#else
constexpr bool mapLargeBlocks = true;
#endif

} // namespace

PictureBlock::PictureBlock(std::size_t bytes) : size_(bytes) {
    if (mapLargeBlocks && bytes >= hugePage) {
        // A length in whole huge pages lets the system align the mapping for them. Faulting
        // in 2 MiB at a time instead of 4 KiB makes filling a large picture markedly faster.
        const std::size_t mapped = (bytes + hugePage - 1) / hugePage * hugePage;
        void* p = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        madvise(p, mapped, MADV_HUGEPAGE); // only advice: the block works without it
        bytes_ = {static_cast<std::uint8_t*>(p), Release{mapped}};
    } else {
        bytes_.reset(static_cast<std::uint8_t*>(std::calloc(bytes ? bytes : 1, 1)));
    }
    if (!bytes_)
        throw std::bad_alloc();
}

void PictureBlock::Release::operator()(std::uint8_t* p) const {
    if (mappedBytes)
        munmap(p, mappedBytes);
    else
        std::free(p);
}

std::int32_t PictureBlock::width() const {
    return size_ >= headerSize ? readInt32(bytes_.get() + 4) : 0;
}

std::int32_t PictureBlock::height() const {
    return size_ >= headerSize ? readInt32(bytes_.get() + 8) : 0;
}

std::size_t PictureBlock::strideFor(std::int32_t width) {
    if (width <= 0)
        return 0;
    return (std::size_t(width) * 3 + 3) / 4 * 4;
}

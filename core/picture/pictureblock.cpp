#include "picture/pictureblock.h"

#include <cstdlib>
#include <new>

namespace {
std::int32_t readInt32(const std::uint8_t* p) {
    std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                      std::uint32_t(p[3]) << 24;
    return static_cast<std::int32_t>(v);
}
} // namespace

PictureBlock::PictureBlock(std::size_t bytes)
    : bytes_(static_cast<std::uint8_t*>(std::calloc(bytes ? bytes : 1, 1))), size_(bytes) {
    if (!bytes_)
        throw std::bad_alloc();
}

void PictureBlock::Free::operator()(std::uint8_t* p) const {
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

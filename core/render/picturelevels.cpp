#include "render/picturelevels.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "render/paintworkers.h"

namespace {
using i64 = std::int64_t;

void put32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = std::uint8_t(v >> (8 * i));
}

// Every r-th pixel of every r-th row of `from` (a bottom-up 24-bit block), counted from the
// top-left corner: a block of ceil(W / r) x ceil(H / r) pixels.
std::shared_ptr<const PictureBlock> reduce(const PictureBlock& from, int r) {
    const i64 fw = from.width(), fh = from.height();
    const i64 w = (fw + r - 1) / r, h = (fh + r - 1) / r;
    const std::size_t fromStride = PictureBlock::strideFor(std::int32_t(fw));
    const std::size_t stride = PictureBlock::strideFor(std::int32_t(w));
    auto block = std::make_shared<PictureBlock>(PictureBlock::headerSize + stride * std::size_t(h));
    std::uint8_t* p = block->data();
    put32(p, 40);
    put32(p + 4, std::uint32_t(w));
    put32(p + 8, std::uint32_t(h));
    p[12] = 1;  // planes
    p[14] = 24; // bits per pixel; no compression
    const std::uint8_t* src = from.data() + PictureBlock::headerSize;
    std::uint8_t* dst = p + PictureBlock::headerSize;
    // Rows are independent: the parts copy runs of them side by side (reading the picture's
    // rows is bound by memory, as a paint is).
    const int parts = PaintWorkers::partsFor(w * h * r);
    const i64 partRows = (h + parts - 1) / parts;
    PaintWorkers::run(parts, [&](int part) {
        const i64 end = std::min(h, (part + 1) * partRows);
        for (i64 n = part * partRows; n < end; ++n) {
            // Row n from the top is stored h - 1 - n rows from the start (bottom-up).
            const std::uint8_t* in = src + std::size_t(fh - 1 - n * r) * fromStride;
            std::uint8_t* out = dst + std::size_t(h - 1 - n) * stride;
            const std::size_t step = 3 * std::size_t(r);
            for (i64 m = 0; m < w; ++m, in += step, out += 3)
                std::memcpy(out, in, 3);
        }
    });
    return block;
}

// The levels someone holds, by picture. Weak on both sides: an entry keeps neither the
// picture nor its levels.
struct Entry {
    std::weak_ptr<const PictureBlock> picture;
    std::weak_ptr<PictureLevels> levels;
};
std::mutex registryMutex;
std::vector<Entry> registry;
} // namespace

std::shared_ptr<PictureLevels> PictureLevels::of(const PictureHolder& picture) {
    if (picture.empty())
        return nullptr;
    const std::lock_guard lock(registryMutex);
    std::erase_if(registry,
                  [](const Entry& e) { return e.picture.expired() || e.levels.expired(); });
    for (const Entry& e : registry)
        if (e.picture.lock() == picture.block)
            if (auto levels = e.levels.lock())
                return levels;
    auto levels = std::make_shared<PictureLevels>();
    registry.push_back({picture.block, levels});
    return levels;
}

int PictureLevels::levelFor(const StageZoom& zoom, i64 width, i64 height) {
    const i64 longer = std::max(width, height);
    int k = 0;
    while (k < maxLevel && (i64(2) << k) * zoom.num() <= zoom.den() && (i64(1) << k) < longer)
        ++k;
    return k;
}

std::shared_ptr<const PictureBlock> PictureLevels::level(const PictureBlock& picture, int k) {
    if (k < 1 || k > maxLevel)
        return nullptr;
    const std::lock_guard lock(mutex_);
    if (levels_[std::size_t(k)])
        return levels_[std::size_t(k)];
    // From the finest level made so far above k (fewer bytes to read than the picture).
    int from = k - 1;
    while (from > 0 && !levels_[std::size_t(from)])
        --from;
    const PictureBlock& source = from > 0 ? *levels_[std::size_t(from)] : picture;
    try {
        levels_[std::size_t(k)] = reduce(source, 1 << (k - from));
    } catch (const std::bad_alloc&) {
        return nullptr; // the paint reads the picture itself
    }
    return levels_[std::size_t(k)];
}

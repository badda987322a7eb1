#include "render/picturelevels.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "render/paintworkers.h"

namespace {
using i64 = std::int64_t;

// Every r-th pixel of every r-th row, counted from the top-left corner, of a w x h picture
// whose pixel (x, y) is pixel(x, y): a level of ceil(w / r) x ceil(h / r) pixels.
template <class Pixel>
std::shared_ptr<const PictureLevel> reduce(i64 fw, i64 fh, int r, const Pixel& pixel) {
    auto level = std::make_shared<PictureLevel>();
    level->width = int((fw + r - 1) / r);
    level->height = int((fh + r - 1) / r);
    // Written whole below: not cleared first.
    level->pixels.reset(new std::uint32_t[std::size_t(level->width) * std::size_t(level->height)]);
    const i64 w = level->width, h = level->height;
    // Rows are independent: the parts copy runs of them side by side (reading the picture's
    // rows is bound by memory, as a paint is).
    const int parts = PaintWorkers::partsFor(w * h * r);
    const i64 partRows = (h + parts - 1) / parts;
    PaintWorkers::run(parts, [&](int part) {
        const i64 end = std::min(h, (part + 1) * partRows);
        for (i64 n = part * partRows; n < end; ++n) {
            std::uint32_t* out = level->pixels.get() + std::size_t(n) * std::size_t(w);
            for (i64 m = 0; m < w; ++m)
                out[m] = pixel(m * r, n * r);
        }
    });
    return level;
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

std::shared_ptr<const PictureLevel> PictureLevels::level(const PictureBlock& picture, int k) {
    if (k < 1 || k > maxLevel)
        return nullptr;
    const std::lock_guard lock(mutex_);
    if (levels_[std::size_t(k)])
        return levels_[std::size_t(k)];
    // From the finest level made so far above k (fewer bytes to read than the picture).
    int from = k - 1;
    while (from > 0 && !levels_[std::size_t(from)])
        --from;
    const int r = 1 << (k - from);
    try {
        if (from > 0) {
            const PictureLevel& source = *levels_[std::size_t(from)];
            levels_[std::size_t(k)] = reduce(source.width, source.height, r,
                                             [&](i64 x, i64 y) { return source.row(int(y))[x]; });
        } else {
            // The picture's rows are bottom-up, 3 bytes a pixel (blue, green, red).
            const i64 fh = picture.height();
            const std::size_t stride = PictureBlock::strideFor(picture.width());
            const std::uint8_t* bits = picture.data() + PictureBlock::headerSize;
            levels_[std::size_t(k)] = reduce(picture.width(), fh, r, [&](i64 x, i64 y) {
                const std::uint8_t* p =
                    bits + std::size_t(fh - 1 - y) * stride + 3 * std::size_t(x);
                return 0xFF000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
            });
        }
    } catch (const std::bad_alloc&) {
        return nullptr; // the paint reads the picture itself
    }
    return levels_[std::size_t(k)];
}

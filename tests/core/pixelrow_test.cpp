#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render/pixelrow.h"

namespace {
// A row of distinct pixels, so that a pixel picked from the wrong place shows.
std::vector<std::uint32_t> numberedRow(int width) {
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        row[std::size_t(x)] = 0xFF000000u | std::uint32_t(x * 2654435761u >> 8);
    return row;
}

// Picks with `index` and checks every pixel against row[index[x]], and that nothing past
// the count is written.
void expectPicked(const std::vector<std::uint32_t>& row, const std::vector<std::uint32_t>& index) {
    const int count = int(index.size());
    std::vector<std::uint32_t> out(index.size() + 8, 0x12345678u);
    pickPixels(row.data(), index.data(), out.data(), count, std::uint32_t(row.size()));
    for (int x = 0; x < count; ++x)
        ASSERT_EQ(out[std::size_t(x)], row[index[std::size_t(x)]]) << "pixel " << x;
    for (std::size_t x = index.size(); x < out.size(); ++x)
        ASSERT_EQ(out[x], 0x12345678u) << "written past the count at " << x;
}

// Non-decreasing indexes with steps drawn from `steps`, starting at `first`, as long as they
// stay within the row.
std::vector<std::uint32_t> walk(std::mt19937& random, const std::vector<std::uint32_t>& steps,
                                std::uint32_t first, int count, int width) {
    std::vector<std::uint32_t> index;
    std::uint32_t at = first;
    std::uniform_int_distribution<std::size_t> pick(0, steps.size() - 1);
    while (int(index.size()) < count && at < std::uint32_t(width)) {
        index.push_back(at);
        at += steps[pick(random)];
    }
    return index;
}
} // namespace

// The reduced copies' paints step one or two pixels a column; other steps (a level's last
// column held, repeats, wide jumps) and rows that end within a step of 16 pixels must give
// the same pixels.
TEST(PickPixels, EveryStepPatternPicksTheIndexedPixels) {
    std::mt19937 random(27);
    const std::vector<std::vector<std::uint32_t>> stepSets = {
        {1}, {2}, {1, 2}, {0, 1}, {0, 1, 2}, {1, 2, 3}, {0, 5, 9}, {2, 3}, {17}};
    for (const int width : {1, 7, 16, 17, 31, 100, 1000}) {
        const std::vector<std::uint32_t> row = numberedRow(width);
        for (const auto& steps : stepSets)
            for (const int count : {1, 8, 9, 15, 16, 23, 64, 943})
                for (const std::uint32_t first : {0u, 3u, std::uint32_t(width / 2)}) {
                    const auto index = walk(random, steps, first, count, width);
                    SCOPED_TRACE(testing::Message()
                                 << "width " << width << ", count " << index.size() << ", first "
                                 << first << ", steps up to " << steps.back());
                    expectPicked(row, index);
                }
    }
}

// Columns past the level's last one hold its last pixel: a run of one index up to the
// row's end, where 16 pixels from the run's start would read past the row.
TEST(PickPixels, TheLastPixelHeldToTheRowsEnd) {
    const std::vector<std::uint32_t> row = numberedRow(40);
    std::vector<std::uint32_t> index;
    for (std::uint32_t x = 20; x < 40; ++x)
        index.push_back(x);
    index.insert(index.end(), 30, 39u);
    expectPicked(row, index);
}

// The stage painter against plain memory copies of the same frame, and the drag rectangle
// on small and large frames. Ratios: paint time / memcpy time of the same frame size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "render/framebuffer.h"
#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"

namespace {
PictureHolder makePicture(int w, int h) {
    const std::size_t stride = PictureBlock::strideFor(w);
    auto block = std::make_shared<PictureBlock>(PictureBlock::headerSize + stride * h);
    std::uint8_t* p = block->data();
    const std::uint32_t header[3] = {40, std::uint32_t(w), std::uint32_t(h)};
    std::memcpy(p, header, sizeof header); // little-endian host
    p[12] = 1;
    p[14] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3 * w; ++x)
            p[40 + std::size_t(y) * stride + x] = std::uint8_t(x * 7 + y * 3);
    return PictureHolder{block};
}

// A w x h picture with blocks 15 x 12, barSpace 150, every cell a block.
struct Scene {
    CRKeditDoc doc;
    PictureHolder picture;
    FrameBuffer frame;
    Scene(int w, int h) : picture(makePicture(w, h)) {
        doc.graphicWidth = decimalText(w);
        doc.graphicHeight = decimalText(h);
        doc.block.fill(1);
        doc.bgcolorGame = 0x00203040;
        frame.resize(w, h + 150);
    }
};

void RenderPaint(benchmark::State& state) {
    Scene s(int(state.range(0)), int(state.range(1)));
    StagePainter painter;
    painter.paint(s.frame, s.doc, s.picture, 2, 1);
    for (auto _ : state) {
        painter.paint(s.frame, s.doc, s.picture, 2, 1);
        benchmark::DoNotOptimize(s.frame.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(s.frame.pixels.size()) * 4);
}

void RenderFirstPaint(benchmark::State& state) {
    Scene s(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        StagePainter painter; // nothing kept from an earlier paint
        painter.paint(s.frame, s.doc, s.picture, 2, 1);
        benchmark::DoNotOptimize(s.frame.pixels.data());
        benchmark::ClobberMemory();
    }
}

void RenderFrameCopy(benchmark::State& state) {
    Scene s(int(state.range(0)), int(state.range(1)));
    FrameBuffer target;
    target.resize(s.frame.width, s.frame.height);
    const std::size_t bytes = s.frame.pixels.size() * 4;
    for (auto _ : state) {
        std::memcpy(target.pixels.data(), s.frame.pixels.data(), bytes);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
}

// Draws and erases the rectangle over cells (2, 2)..(12, 10) on a painted frame.
void RenderDragRectangle(benchmark::State& state) {
    Scene s(int(state.range(0)), int(state.range(1)));
    StagePainter painter;
    painter.paint(s.frame, s.doc, s.picture, 2, 1);
    for (auto _ : state) {
        StagePainter::drawDragRectangle(s.frame, 2, 2, 12, 10, 15, 12);
        StagePainter::drawDragRectangle(s.frame, 2, 2, 12, 10, 15, 12);
        benchmark::ClobberMemory();
    }
}
} // namespace

BENCHMARK(RenderPaint)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderFrameCopy)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderFirstPaint)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderDragRectangle)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);

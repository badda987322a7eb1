// The stage painter as the view uses it, against plain memory copies of the same frame
// (RenderFrameCopy), on small and large frames. Ratios: time / memcpy time of the same frame
// size in the same run.
//
// RenderFirstPaint: a stage window's first paint after opening: the view's paint inputs, a
// frame allocated for the client area, the painter with nothing cached (converting the
// picture) and the size write-back.
// RenderPaint: a repaint after an edit (the painter keeps the converted picture).
// RenderDragStep: a mouse move during a drag, through the view's paint: it builds the paint
// inputs, finds them equal to the last paint's and reuses the frame (the rectangle itself is
// XOR-ed by the window system's painter over the frame, outside the core).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "render/framebuffer.h"
#include "render/stagepainter.h"
#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"
#include "view/paintinputs.h"

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
    const int w = s.frame.width, h = s.frame.height;
    for (auto _ : state) {
        // What a new view holds before its first paint: no frame, no last inputs, a painter
        // with nothing cached.
        FrameBuffer frame;
        StagePainter painter;
        std::unique_ptr<PaintInputs> last;
        PaintInputs inputs = PaintInputs::of(s.doc, s.picture, 2, 1, w, h);
        PaintResult result;
        if (!last || !(*last == inputs)) {
            frame.resize(w, h);
            result = painter.paint(frame, s.doc, s.picture, 2, 1);
            last = std::make_unique<PaintInputs>(std::move(inputs));
        }
        benchmark::DoNotOptimize(frame.pixels.data());
        bool changed = writeBackPictureSize(s.doc, result);
        benchmark::DoNotOptimize(changed);
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

// One drag step: the view's paint after the drag rectangle moved. Nothing the stage shows has
// changed, so the inputs compare equal and the last frame is handed over as it is.
void RenderDragStep(benchmark::State& state) {
    Scene s(int(state.range(0)), int(state.range(1)));
    const int w = s.frame.width, h = s.frame.height;
    StagePainter painter;
    PaintResult lastResult = painter.paint(s.frame, s.doc, s.picture, 2, 1);
    auto last = std::make_unique<PaintInputs>(PaintInputs::of(s.doc, s.picture, 2, 1, w, h));
    std::int64_t repaints = 0;
    for (auto _ : state) {
        PaintInputs inputs = PaintInputs::of(s.doc, s.picture, 2, 1, w, h);
        if (!(*last == inputs)) {
            s.frame.resize(w, h);
            lastResult = painter.paint(s.frame, s.doc, s.picture, 2, 1);
            last = std::make_unique<PaintInputs>(std::move(inputs));
            ++repaints;
        }
        benchmark::DoNotOptimize(s.frame.pixels.data());
        benchmark::DoNotOptimize(lastResult);
        benchmark::ClobberMemory();
    }
    // A drag step that paints the stage again would show here (it must stay 0).
    state.counters["repaints"] = double(repaints);
}
} // namespace

BENCHMARK(RenderPaint)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderFrameCopy)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderFirstPaint)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderDragStep)->Args({640, 480})->Args({4000, 3000})->Unit(benchmark::kMicrosecond);

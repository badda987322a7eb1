// A stage window's view of 1366 x 768 device pixels over large stages: the first paint of
// what is visible (nothing kept from an earlier paint) and a drag step (pointer to cell,
// the drag rectangle moved on the painted frame), against a memcpy of the visible frame.
// Ratios: ZoomFirstPaint / ZoomVisibleFrameCopy, ZoomDragStep / ZoomVisibleFrameCopy; the
// whole-stage paint with the picture's reduced copies (levels:1) against without (levels:0).
//
// ZoomVisibleFrameCopy copies between two frames that stay in the processor's cache. A first
// paint has to read the picture's rows from memory (the picture is far larger than any
// cache), so ZoomVisibleFrameCopyFromMemory gives the other baseline: the same memcpy with
// its source taken in turn from 16 frames (67 MB), which memory, not the cache, delivers.
//
// The stage: a 100 x 100 grid of blocks (every cell one) with grid lines, blocks drawn
// merge-pen-not (the view's initial display choices), barSpace 256.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "render/framebuffer.h"
#include "render/paintarea.h"
#include "render/picturelevels.h"
#include "render/stagepainter.h"
#include "render/stagezoom.h"
#include "stage/CRKeditDoc.h"
#include "stage/cellblock.h"
#include "stage/cellwriter.h"
#include "stage/settingtext.h"

namespace {
constexpr int viewWidth = 1366;
constexpr int viewHeight = 768;
constexpr int barSpace = 256;

PictureHolder makePicture(int w, int h) {
    const std::size_t stride = PictureBlock::strideFor(w);
    auto block = std::make_shared<PictureBlock>(PictureBlock::headerSize + stride * h);
    std::uint8_t* p = block->data();
    const std::uint32_t header[3] = {40, std::uint32_t(w), std::uint32_t(h)};
    std::memcpy(p, header, sizeof header); // little-endian host
    p[12] = 1;
    p[14] = 24;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = p + 40 + std::size_t(y) * stride;
        for (int x = 0; x < 3 * w; ++x)
            row[x] = std::uint8_t(x * 7 + y * 3);
    }
    return PictureHolder{block};
}

// One picture per size for the whole run (an 8000 x 8000 block is 192 MB).
const PictureHolder& picture(int w, int h) {
    static PictureHolder pictures[2];
    PictureHolder& p = pictures[w > 4000 ? 1 : 0];
    if (p.empty())
        p = makePicture(w, h);
    return p;
}

CRKeditDoc stageFor(int w, int h) {
    CRKeditDoc doc;
    doc.graphicWidth = decimalText(w);
    doc.graphicHeight = decimalText(h);
    doc.blockWidth = decimalText(w / 100);
    doc.blockHeight = decimalText(h / 100);
    doc.barSpace = decimalText(barSpace);
    doc.block.fill(1);
    doc.bgcolorGame = 0x00203040;
    return doc;
}

// Zoom argument: 0 the whole stage in the view (the zoom a large stage opens at), else a
// percentage.
StageZoom zoomFor(int percent, int h) {
    if (percent == 0)
        return StageZoom(viewHeight, h + barSpace); // the height is the limit here
    return StageZoom(percent, 100);
}

// The view's scroll position: the stage's middle in view (or the top-left corner when the
// whole stage fits).
PaintArea viewArea(const StageZoom& zoom, int w, int h) {
    PaintArea area = PaintArea::scaledStage(zoom, w, h + barSpace);
    area.canvasWidth = std::max<std::int64_t>(area.canvasWidth, viewWidth);
    area.canvasHeight = std::max<std::int64_t>(area.canvasHeight, viewHeight);
    area.left = (area.canvasWidth - viewWidth) / 2;
    area.top = (area.canvasHeight - viewHeight) / 2;
    return area;
}

void ZoomVisibleFrameCopy(benchmark::State& state) {
    FrameBuffer from, to;
    from.resize(viewWidth, viewHeight);
    to.resize(viewWidth, viewHeight);
    std::memset(from.pixels.data(), 0x5A, from.pixels.size() * 4);
    const std::size_t bytes = from.pixels.size() * 4;
    for (auto _ : state) {
        std::memcpy(to.pixels.data(), from.pixels.data(), bytes);
        benchmark::DoNotOptimize(to.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
}

void ZoomVisibleFrameCopyFromMemory(benchmark::State& state) {
    constexpr int sources = 16;
    std::vector<FrameBuffer> from(sources);
    for (FrameBuffer& f : from) {
        f.resize(viewWidth, viewHeight);
        std::memset(f.pixels.data(), 0x5A, f.pixels.size() * 4);
    }
    FrameBuffer to;
    to.resize(viewWidth, viewHeight);
    const std::size_t bytes = to.pixels.size() * 4;
    int k = 0;
    for (auto _ : state) {
        std::memcpy(to.pixels.data(), from[std::size_t(k)].pixels.data(), bytes);
        k = (k + 1) % sources;
        benchmark::DoNotOptimize(to.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
}

// Args: picture width, height, zoom (0: whole stage), parts (0: as many as the painter
// chooses for the frame, 1: the whole paint on one processor), levels (1: the picture's
// reduced copies read below 1/2, as the view does; 0: the picture itself, the old paint).
// The reduced copy is made once per picture, before the timing (ZoomMakeLevel times that).
void ZoomFirstPaint(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const CRKeditDoc doc = stageFor(w, h);
    const PictureHolder& pic = picture(w, h);
    const PaintArea area = viewArea(zoomFor(int(state.range(2)), h), w, h);
    const bool levels = state.range(4) != 0;
    FrameBuffer frame;
    frame.resize(viewWidth, viewHeight);
    // The picture's copies, kept here as the view's painter keeps them; the one this zoom
    // needs is made by this first paint.
    const auto keep = PictureLevels::of(pic);
    StagePainter().paintRegion(frame, doc, pic, 2, 1, area);
    for (auto _ : state) {
        StagePainter painter; // nothing kept from an earlier paint but the picture's copies
        painter.setParts(int(state.range(3)));
        painter.setUseLevels(levels);
        painter.paintRegion(frame, doc, pic, 2, 1, area);
        benchmark::DoNotOptimize(frame.pixels.data());
        benchmark::ClobberMemory();
    }
}

// Args: picture width, height. Making the reduced copy a whole-stage paint of the picture
// reads (a new set of levels each time, from the picture): the one-off cost of the first
// whole-stage paint of a picture, on top of ZoomFirstPaint.
void ZoomMakeLevel(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const PictureHolder& pic = picture(w, h);
    const int k = PictureLevels::levelFor(zoomFor(0, h), w, h);
    for (auto _ : state) {
        PictureLevels levels;
        benchmark::DoNotOptimize(levels.level(*pic.block, k).get());
    }
    state.counters["level"] = k;
}

// Args: zoom percent. A 4000 x 3000 stage; the drag runs from the first cell in view to one
// near the view's far corner, and each step moves the pointer by one cell and back.
void ZoomDragStep(benchmark::State& state) {
    const int w = 4000, h = 3000;
    const CRKeditDoc doc = stageFor(w, h);
    const int bw = w / 100, bh = h / 100;
    const StageZoom zoom = zoomFor(int(state.range(0)), h);
    const PaintArea area = viewArea(zoom, w, h);
    FrameBuffer frame;
    frame.resize(viewWidth, viewHeight);
    StagePainter().paintRegion(frame, doc, picture(w, h), 2, 1, area);
    // Device pixel (pointer) -> stage pixel -> cell, as the view maps the mouse.
    auto cellAt = [&](std::int64_t px, std::int64_t py) {
        return std::pair<int, int>(int(zoom.toStage(area.left + px) / bw),
                                   int(zoom.toStage(area.top + py) / bh));
    };
    const auto [startX, startY] = cellAt(4, 4);
    auto rectFor = [&](std::pair<int, int> end) {
        return StagePainter::toDevice(
            StagePainter::dragRectangle(startX, startY, end.first, end.second, bw, bh), zoom);
    };
    const std::int64_t cellPixels = zoom.toDevice(bw) + 1;
    const std::int64_t pointer[2][2] = {{viewWidth - 2 * cellPixels, viewHeight - 2 * cellPixels},
                                        {viewWidth - cellPixels, viewHeight - cellPixels}};
    PixelRect shown = rectFor(cellAt(pointer[0][0], pointer[0][1]));
    StagePainter::moveDragRectangle(frame, area, {}, shown);
    std::int64_t changedPixels = 0;
    int k = 1;
    for (auto _ : state) {
        const PixelRect next = rectFor(cellAt(pointer[k][0], pointer[k][1]));
        const PixelRect changed = StagePainter::moveDragRectangle(frame, area, shown, next);
        shown = next;
        k ^= 1;
        changedPixels += (changed.right - changed.left) * (changed.bottom - changed.top);
        benchmark::DoNotOptimize(frame.pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["changedBoxPixels"] = benchmark::Counter(
        double(changedPixels) / double(std::max<std::int64_t>(1, state.iterations())));
}
// Args: zoom percent. A pen step on the 4000 x 3000 stage as the view runs it: the pointer
// moves to the next cell, the writer sets the cells of the path, and the frame pixels of the
// changed cells are painted again (with the drag rectangle, here none). The step alternates
// between two neighbouring cells and two kinds, so that every step changes a cell.
// Ratio: ToolPenStep / ZoomDragStep (today's drag step), same zoom.
void ToolPenStep(benchmark::State& state) {
    const int w = 4000, h = 3000;
    CRKeditDoc doc = stageFor(w, h);
    const int bw = w / 100, bh = h / 100;
    const StageZoom zoom = zoomFor(int(state.range(0)), h);
    const PaintArea area = viewArea(zoom, w, h);
    FrameBuffer frame;
    frame.resize(viewWidth, viewHeight);
    StagePainter painter;
    painter.paintRegion(frame, doc, picture(w, h), 2, 1, area);
    // A cell in the middle of the view.
    const int cx = int(zoom.toStage(area.left + viewWidth / 2) / bw);
    const int cy = int(zoom.toStage(area.top + viewHeight / 2) / bh);
    int k = 0;
    for (auto _ : state) {
        CellWriter writer(doc);
        const CellRect changed = writer.line(cx + (k & 1), cy, cx + 1 - (k & 1), cy, 2 + (k & 2));
        const PixelRect stage{changed.x * bw, changed.y * bh, changed.right() * bw,
                              changed.bottom() * bh};
        painter.repaintPart(frame, doc, picture(w, h), 2, 1, area,
                            StagePainter::toDevice(stage, zoom), {});
        ++k;
        benchmark::DoNotOptimize(frame.pixels.data());
        benchmark::ClobberMemory();
    }
}

// Args: zoom percent. A rectangle tool's drag step: the pointer's cell held to the stage,
// the rectangle from the pressed cell to it moved on the painted frame.
// Ratio: ToolRectangleStep / ZoomDragStep, same zoom.
void ToolRectangleStep(benchmark::State& state) {
    const int w = 4000, h = 3000;
    const CRKeditDoc doc = stageFor(w, h);
    const int bw = w / 100, bh = h / 100;
    const StageZoom zoom = zoomFor(int(state.range(0)), h);
    const PaintArea area = viewArea(zoom, w, h);
    FrameBuffer frame;
    frame.resize(viewWidth, viewHeight);
    StagePainter().paintRegion(frame, doc, picture(w, h), 2, 1, area);
    const CellRect stage = CellWriter::stageOf(doc);
    auto cellAt = [&](std::int64_t px, std::int64_t py) {
        return std::pair<int, int>(
            std::clamp(int(zoom.toStage(area.left + px) / bw), stage.x, stage.right() - 1),
            std::clamp(int(zoom.toStage(area.top + py) / bh), stage.y, stage.bottom() - 1));
    };
    const auto [startX, startY] = cellAt(4, 4);
    auto rectFor = [&](std::pair<int, int> end) {
        const CellRect cells = CellRect::spanning(startX, startY, end.first, end.second);
        return StagePainter::toDevice(StagePainter::dragRectangle(cells.x, cells.y,
                                                                  cells.right() - 1,
                                                                  cells.bottom() - 1, bw, bh),
                                      zoom);
    };
    const std::int64_t cellPixels = zoom.toDevice(bw) + 1;
    const std::int64_t pointer[2][2] = {{viewWidth - 2 * cellPixels, viewHeight - 2 * cellPixels},
                                        {viewWidth - cellPixels, viewHeight - cellPixels}};
    PixelRect shown = rectFor(cellAt(pointer[0][0], pointer[0][1]));
    StagePainter::moveDragRectangle(frame, area, {}, shown);
    int k = 1;
    for (auto _ : state) {
        const PixelRect next = rectFor(cellAt(pointer[k][0], pointer[k][1]));
        StagePainter::moveDragRectangle(frame, area, shown, next);
        shown = next;
        k ^= 1;
        benchmark::DoNotOptimize(frame.pixels.data());
        benchmark::ClobberMemory();
    }
}

// A flood fill of an empty 100 x 100 stage (every cell), alternately with a kind and back
// to empty so that each fill changes all 10 000 cells. Goal: under 1 ms.
void ToolFloodFill100(benchmark::State& state) {
    CRKeditDoc doc;
    doc.graphicWidth = doc.graphicHeight = "1000";
    doc.blockWidth = doc.blockHeight = "10";
    int k = 0;
    for (auto _ : state) {
        CellWriter writer(doc);
        benchmark::DoNotOptimize(writer.flood(50, 50, (k++ & 1) ? 0 : 4));
    }
}
// Args: 0 a move, 1 a paste. A 100 x 100 selection (the whole 4000 x 3000 stage) moved one
// cell as the arrow key does (lifted, its place emptied, put down one cell right), or the
// clipboard's 100 x 100 cells pasted; then the changed cells' pixels of a 1366 x 768 view at
// 100 % painted again. Goal: under 1 ms each.
void ToolMoveOrPasteSelection(benchmark::State& state) {
    const int w = 4000, h = 3000;
    CRKeditDoc doc = stageFor(w, h);
    const int bw = w / 100, bh = h / 100;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            doc.cell(x, y) = (x + y) % 9;
    const StageZoom zoom = zoomFor(100, h);
    const PaintArea area = viewArea(zoom, w, h);
    FrameBuffer frame;
    frame.resize(viewWidth, viewHeight);
    StagePainter painter;
    painter.paintRegion(frame, doc, picture(w, h), 2, 1, area);
    const CellRect all{0, 0, 100, 100};
    const CellBlock clipboard = CellBlock::copyOf(doc, all).flippedHorizontally();
    const bool paste = state.range(0) == 1;
    int k = 0;
    for (auto _ : state) {
        CellWriter writer(doc);
        CellRect changed;
        if (paste) {
            changed = writer.paste(k & 1 ? clipboard : clipboard.flippedVertically(), 0, 0, true);
        } else {
            const CellBlock lifted = CellBlock::copyOf(doc, all);
            changed = writer.fill(all, 0).united(writer.paste(lifted, k & 1 ? -1 : 1, 0, true));
        }
        ++k;
        const PixelRect stage{changed.x * bw, changed.y * bh, changed.right() * bw,
                              changed.bottom() * bh};
        painter.repaintPart(frame, doc, picture(w, h), 2, 1, area,
                            StagePainter::toDevice(stage, zoom), {});
        benchmark::DoNotOptimize(frame.pixels.data());
        benchmark::ClobberMemory();
    }
}
} // namespace

BENCHMARK(ZoomVisibleFrameCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(ZoomVisibleFrameCopyFromMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(ZoomFirstPaint)
    ->ArgNames({"w", "h", "zoom%", "parts", "levels"})
    ->ArgsProduct({{4000}, {3000}, {0}, {0, 1}, {1, 0}})
    ->ArgsProduct({{4000}, {3000}, {100}, {0, 1}, {1}})
    ->ArgsProduct({{8000}, {8000}, {0}, {0, 1}, {1, 0}})
    ->ArgsProduct({{8000}, {8000}, {100}, {0, 1}, {1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ZoomMakeLevel)
    ->ArgNames({"w", "h"})
    ->Args({4000, 3000})
    ->Args({8000, 8000})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ZoomDragStep)
    ->ArgNames({"zoom%"})
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ToolPenStep)
    ->ArgNames({"zoom%"})
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ToolRectangleStep)
    ->ArgNames({"zoom%"})
    ->Arg(25)
    ->Arg(100)
    ->Arg(400)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ToolFloodFill100)->Unit(benchmark::kMicrosecond);
BENCHMARK(ToolMoveOrPasteSelection)
    ->ArgNames({"paste"})
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

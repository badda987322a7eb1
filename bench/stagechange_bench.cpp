// Recording an edit as an undo step: the panel-to-document transfer runs on every pointer
// movement over the properties panel, so recording one that changed nothing must cost next
// to nothing, and a whole-grid toggle little more.
#include <benchmark/benchmark.h>

#include "stage/CRKeditDoc.h"
#include "stage/stagechange.h"

namespace {

CRKeditDoc busyStage() {
    CRKeditDoc doc;
    doc.graphicWidth = "1500";
    doc.graphicHeight = "1200";
    for (int x = 0; x < CRKeditDoc::gridSize; ++x)
        for (int y = 0; y < CRKeditDoc::gridSize; ++y)
            doc.cell(x, y) = (x * 7 + y * 3) % 5 == 0 ? 1 : 0;
    for (int i = 0; i < 100; ++i)
        doc.command += "OnHit play\r\n";
    return doc;
}

// The capture before the edit (a copy of the stage) and the comparison after it.
void BM_RecordUnchangedTransfer(benchmark::State& state) {
    const CRKeditDoc doc = busyStage();
    for (auto _ : state) {
        const CRKeditDoc before = doc;
        StageChange change = StageChange::between(before, doc);
        benchmark::DoNotOptimize(change);
    }
}
BENCHMARK(BM_RecordUnchangedTransfer);

void BM_RecordWholeGridToggle(benchmark::State& state) {
    CRKeditDoc doc = busyStage();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const CRKeditDoc before = doc;
        for (std::int32_t& cell : doc.block)
            cell = cell == 0 ? 1 : 0;
        StageChange change = StageChange::between(before, doc);
        bytes = change.memoryBytes();
        benchmark::DoNotOptimize(change);
    }
    state.counters["bytesPerStep"] = double(bytes);
}
BENCHMARK(BM_RecordWholeGridToggle);

void BM_UndoWholeGridToggle(benchmark::State& state) {
    CRKeditDoc doc = busyStage();
    const CRKeditDoc before = doc;
    for (std::int32_t& cell : doc.block)
        cell = cell == 0 ? 1 : 0;
    const StageChange change = StageChange::between(before, doc);
    bool forward = false;
    for (auto _ : state) {
        change.apply(doc, forward);
        forward = !forward;
        benchmark::DoNotOptimize(doc.block);
    }
}
BENCHMARK(BM_UndoWholeGridToggle);

} // namespace

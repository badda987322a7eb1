// Reading and writing a stage with a full 100 x 100 grid and a 1,000-line script: both must
// stay far below what a user could notice on Open and Save.
#include <benchmark/benchmark.h>

#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"

namespace {

CRKeditDoc fullStage() {
    CRKeditDoc doc;
    doc.graphicWidth = "1500";  // 100 columns of 15
    doc.graphicHeight = "1200"; // 100 rows of 12
    for (int x = 0; x < CRKeditDoc::gridSize; ++x)
        for (int y = 0; y < CRKeditDoc::gridSize; ++y)
            doc.cell(x, y) = (x * 7 + y) % 9;
    for (int i = 0; i < 1000; ++i)
        doc.command += "OnHit block " + std::to_string(i) + " play sound\r\n";
    doc.title = "\x83\x58\x83\x65\x81\x5b\x83\x57";
    return doc;
}

void BM_WriteFullStage(benchmark::State& state) {
    const CRKeditDoc doc = fullStage();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string record = writeStageRecord(doc);
        bytes = record.size();
        benchmark::DoNotOptimize(record.data());
    }
    state.counters["recordBytes"] = double(bytes);
}
BENCHMARK(BM_WriteFullStage)->Unit(benchmark::kMicrosecond);

void BM_ReadFullStage(benchmark::State& state) {
    const std::string record = writeStageRecord(fullStage());
    for (auto _ : state) {
        const CRKeditDoc doc = parseStageRecord(record);
        benchmark::DoNotOptimize(doc.block.data());
    }
}
BENCHMARK(BM_ReadFullStage)->Unit(benchmark::kMicrosecond);

} // namespace

// Reading and writing a stage with a full 100 x 100 grid and a 1,000-line script: both must
// stay far below what a user could notice on Open and Save.
#include <benchmark/benchmark.h>

#include "host/host.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagerecord.h"

namespace {

class QuietHost : public Host {
public:
    void messageBox(const std::string&) override {}
    void updateAllViews(CRKeditDoc&) override {}
    std::optional<std::string> takeEventToolScript(const CRKeditDoc&) override {
        return std::nullopt;
    }
};

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
    CRKeditDoc doc = fullStage();
    QuietHost host;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string record = writeStageRecord(doc, host);
        bytes = record.size();
        benchmark::DoNotOptimize(record.data());
    }
    state.counters["recordBytes"] = double(bytes);
}
BENCHMARK(BM_WriteFullStage)->Unit(benchmark::kMicrosecond);

void BM_ReadFullStage(benchmark::State& state) {
    CRKeditDoc source = fullStage();
    QuietHost host;
    const std::string record = writeStageRecord(source, host);
    for (auto _ : state) {
        CRKeditDoc doc;
        // The picture lies in a folder that does not exist: the loader gives up at once.
        readStageRecord(doc, record, "/nonexistent-rkedit-bench/stage.txt", host);
        benchmark::DoNotOptimize(doc.block.data());
    }
}
BENCHMARK(BM_ReadFullStage)->Unit(benchmark::kMicrosecond);

} // namespace

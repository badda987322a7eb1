// The picture loader against a plain libjpeg decode of the same file, in the same run.
//
//   rkbench --benchmark_filter=Picture
//
// PictureLoad is loadPicture into a fresh block each time (as every load in the editor is).
// PicturePlainDecode is the bare library loop: open, header, start, every row into a scratch buffer
// allocated once, finish, close. PlainDecodeFreshBuffer allocates its buffer on every run, as
// a decode into new memory must. PictureLoadVsPlainDecode alternates the loader and the bare
// loop so that both see the same machine load, and reports their mean processor times and
// the ratio (--benchmark_min_time raises the number of rounds).
#include <benchmark/benchmark.h>

#include <cstdio>

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <jpeglib.h>
#include <time.h>
#include <unistd.h>

#include "host/host.h"
#include "jpegmaker.h"
#include "picture/pictureloader.h"

namespace {

constexpr int benchWidth = 4000;
constexpr int benchHeight = 3000;

class QuietHost : public Host {
public:
    void messageBox(const Message&) override {}
};

// A photograph-like 4000 x 3000 picture (smooth shading with fine texture), 4:2:0 at quality
// 90, written once to a temporary file.
const std::string& benchFile() {
    static const std::string path = [] {
        JpegRecipe recipe;
        recipe.width = benchWidth;
        recipe.height = benchHeight;
        recipe.quality = 90;
        recipe.fullChroma = false;
        recipe.sample = [](int x, int y, int c) {
            const double shade = 128 + 90 * std::sin(x * 0.003 + c) * std::cos(y * 0.004 - c);
            const int texture =
                int((std::uint32_t(x * 2654435761u) ^ std::uint32_t(y * 40503u)) % 23u) - 11;
            const int v = int(shade) + texture;
            return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
        };
        char name[] = "/tmp/rkbench_picture_XXXXXX";
        close(mkstemp(name));
        writeBytesToFile(name, makeJpeg(recipe));
        static std::string made = name;
        std::atexit([] { unlink(made.c_str()); });
        return made;
    }();
    return path;
}

void loadOnce(PictureHolder& holder) {
    QuietHost host;
    if (!loadPicture(benchFile(), holder, host))
        std::abort();
    benchmark::DoNotOptimize(holder.block->data());
}

void plainDecode(std::uint8_t* scratch) {
    std::FILE* f = std::fopen(benchFile().c_str(), "rb");
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    const std::size_t rowBytes = std::size_t(cinfo.output_width) * cinfo.output_components;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = scratch + cinfo.output_scanline * rowBytes;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    benchmark::DoNotOptimize(scratch);
}

constexpr std::size_t scratchBytes = std::size_t(benchWidth) * benchHeight * 3;

void PictureLoad(benchmark::State& state) {
    benchFile();
    PictureHolder holder;
    for (auto _ : state) {
        holder = {};
        loadOnce(holder);
    }
}
BENCHMARK(PictureLoad)->Unit(benchmark::kMillisecond);

void PicturePlainDecode(benchmark::State& state) {
    benchFile();
    auto scratch = std::make_unique<std::uint8_t[]>(scratchBytes); // zeroed: pages touched
    for (auto _ : state)
        plainDecode(scratch.get());
}
BENCHMARK(PicturePlainDecode)->Unit(benchmark::kMillisecond);

void PicturePlainDecodeFreshBuffer(benchmark::State& state) {
    benchFile();
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> scratch(new std::uint8_t[scratchBytes]);
        plainDecode(scratch.get());
    }
}
BENCHMARK(PicturePlainDecodeFreshBuffer)->Unit(benchmark::kMillisecond);

// Processor time of this thread, user and system (page faults included): unlike wall time it
// does not grow while other processes hold the processor.
double threadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void PictureLoadVsPlainDecode(benchmark::State& state) {
    benchFile();
    auto scratch = std::make_unique<std::uint8_t[]>(scratchBytes);
    PictureHolder holder;
    double loaderSeconds = 0, plainSeconds = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        holder = {};
        loadOnce(holder);
        const double t1 = threadSeconds();
        plainDecode(scratch.get());
        const double t2 = threadSeconds();
        loaderSeconds += t1 - t0;
        plainSeconds += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["loader_ms"] = loaderSeconds / n * 1e3;
    state.counters["plain_ms"] = plainSeconds / n * 1e3;
    state.counters["ratio"] = loaderSeconds / plainSeconds;
}
BENCHMARK(PictureLoadVsPlainDecode)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

// Resampling and rotation beside their peers, measured in the same run: Pillow's bicubic resize
// (bench/peers/pillow_resize.py under /usr/bin/python3), a cache-blocked transpose and memcpy.
#include "bench/support/Corpus.h"
#include "editor/FilterTable.h"
#include "editor/Resample.h"
#include "editor/Rotation.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <time.h>

namespace {

constexpr int kTargetWidth = 1280;
constexpr int kTargetHeight = 720;

// Per-iteration seconds of each peer, filled by the peer benchmarks that run first.
double pillowSeconds = 0;
double transposeSeconds = 0;
double memcpySeconds = 0;

const std::string& screenshotPath()
{
    static const std::string path = corpusDir() + "/desktop-1920x1080.png";
    return path;
}

const Bitmap& screenshot()
{
    return corpusImage("desktop-1920x1080.png");
}

// 3840 × 2160: the screenshot four times.
const Bitmap& largeImage()
{
    static const Bitmap image = [] {
        const Bitmap& tile = screenshot();
        Bitmap big(tile.width() * 2, tile.height() * 2);
        for (int ty = 0; ty < 2; ++ty) {
            for (int tx = 0; tx < 2; ++tx) {
                big.copyRect({tx * tile.width(), ty * tile.height()}, tile, {0, 0, tile.width(), tile.height()});
            }
        }
        return big;
    }();
    return image;
}

void reportRatio(benchmark::State& state, double peerSeconds, const char* name, double ourSeconds)
{
    if (peerSeconds > 0 && state.iterations() > 0) {
        state.counters[name] = ourSeconds / peerSeconds;
    }
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs `body` in the timed loop and returns the processor seconds of one iteration: the ratios
// compare processor time, which other work on a shared machine disturbs less than wall time.
template <typename Body> double timedLoop(benchmark::State& state, Body&& body)
{
    double start = cpuSeconds();
    for (auto _ : state) {
        body();
    }
    double total = cpuSeconds() - start;
    return state.iterations() > 0 ? total / static_cast<double>(state.iterations()) : 0;
}

void PillowBicubicResize(benchmark::State& state)
{
    std::filesystem::path script = std::filesystem::path(ZENTRAP_SOURCE_DIR) / "bench" / "peers" / "pillow_resize.py";
    std::string command = "/usr/bin/python3 '" + script.string() + "' '" + screenshotPath() + "' " +
                          std::to_string(kTargetWidth) + " " + std::to_string(kTargetHeight) + " 25";
    for (auto _ : state) {
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        double seconds = 0;
        if (!pipe || std::fscanf(pipe.get(), "%lf", &seconds) != 1 || seconds <= 0) {
            state.SkipWithError("the Pillow peer did not run (python3-pil missing?)");
            return;
        }
        // The script reports processor seconds of one resize, like the ratios below.
        state.SetIterationTime(seconds);
        pillowSeconds = seconds;
    }
}

void MitchellResize(benchmark::State& state)
{
    const Bitmap& source = screenshot();
    Bitmap destination(kTargetWidth, kTargetHeight);
    double seconds = timedLoop(state, [&] {
        ResampleBitmap(source, destination, MitchellFilter, 2.0F);
        benchmark::DoNotOptimize(destination.bits());
    });
    reportRatio(state, pillowSeconds, "vs_pillow", seconds);
}

// The peer of the 90° turn: a plain 32 × 32-tiled transpose of the same three-byte pixels.
void BlockedTranspose(benchmark::State& state)
{
    const Bitmap& source = largeImage();
    Bitmap destination(source.height(), source.width());
    constexpr int kTile = 32;
    transposeSeconds = timedLoop(state, [&] {
        for (int y0 = 0; y0 < source.height(); y0 += kTile) {
            for (int x0 = 0; x0 < source.width(); x0 += kTile) {
                int y1 = std::min(source.height(), y0 + kTile);
                int x1 = std::min(source.width(), x0 + kTile);
                for (int y = y0; y < y1; ++y) {
                    const uint8_t* in = source.row(y);
                    for (int x = x0; x < x1; ++x) {
                        std::memcpy(destination.row(x) + static_cast<size_t>(y) * 3, in + static_cast<size_t>(x) * 3,
                                    3);
                    }
                }
            }
        }
        benchmark::DoNotOptimize(destination.bits());
    });
}

void Memcpy(benchmark::State& state)
{
    const Bitmap& source = largeImage();
    std::vector<uint8_t> destination(source.byteCount());
    memcpySeconds = timedLoop(state, [&] {
        std::memcpy(destination.data(), source.bits(), source.byteCount());
        benchmark::DoNotOptimize(destination.data());
    });
}

void Rotate(benchmark::State& state, RotationAngle angle)
{
    const Bitmap& source = largeImage();
    Bitmap destination;
    RotateBitmap(source, destination, angle); // sizes the destination outside the timed loop
    double seconds = timedLoop(state, [&] {
        RotateBitmap(source, destination, angle);
        benchmark::DoNotOptimize(destination.bits());
    });
    if (angle == RotationAngle::Rotate180) {
        reportRatio(state, memcpySeconds, "vs_memcpy", seconds);
    } else {
        reportRatio(state, transposeSeconds, "vs_transpose", seconds);
    }
}

void Rotate90(benchmark::State& state)
{
    Rotate(state, RotationAngle::Rotate90);
}
void Rotate180(benchmark::State& state)
{
    Rotate(state, RotationAngle::Rotate180);
}
void Rotate270(benchmark::State& state)
{
    Rotate(state, RotationAngle::Rotate270);
}

} // namespace

// Peers first: each of ours reports its time as a ratio to the peer measured just before.
BENCHMARK(PillowBicubicResize)
    ->Name("peer/pillow_bicubic_1920x1080_to_1280x720")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(MitchellResize)->Name("mitchell_1920x1080_to_1280x720")->Unit(benchmark::kMillisecond);
BENCHMARK(BlockedTranspose)->Name("peer/blocked_transpose_3840x2160")->Unit(benchmark::kMillisecond);
BENCHMARK(Rotate90)->Name("rotate90_3840x2160")->Unit(benchmark::kMillisecond);
BENCHMARK(Rotate270)->Name("rotate270_3840x2160")->Unit(benchmark::kMillisecond);
BENCHMARK(Memcpy)->Name("peer/memcpy_3840x2160x3")->Unit(benchmark::kMillisecond);
BENCHMARK(Rotate180)->Name("rotate180_3840x2160")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

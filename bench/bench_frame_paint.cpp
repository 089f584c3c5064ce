// One paint of the Capture Frame (800 x 600, rulers on) into its frame buffer and onto the window's
// surface, beside a plain copy of the same pixels as the floor.
#include "capture/ui/FramePainter.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

FramePaintInput frameInput(int units, bool rulers)
{
    FramePaintInput input;
    input.frame.borderWidth = 14;
    input.frame.client = {800, 600};
    input.frame.clientOrigin = {333, 217};
    input.frame.pixelsPerInch = 96;
    input.frame.units = units;
    input.showRulers = rulers;
    return input;
}

void paintFrame(benchmark::State& state, int units, bool rulers)
{
    FramePainter painter(96, FrameColours{});
    QImage buffer;
    QImage window(800, 600, QImage::Format_RGB32);
    FramePaintInput input = frameInput(units, rulers);
    for (auto _ : state) {
        // The frame moves by a pixel each time, as while dragging, so the labels change.
        input.frame.clientOrigin.x ^= 1;
        painter.paint(buffer, input);
        QPainter(&window).drawImage(0, 0, buffer);
        benchmark::DoNotOptimize(window.constBits());
    }
}

void BM_FramePaintPixels(benchmark::State& state)
{
    paintFrame(state, 0, true);
}
void BM_FramePaintInches(benchmark::State& state)
{
    paintFrame(state, 1, true);
}
void BM_FramePaintCentimetres(benchmark::State& state)
{
    paintFrame(state, 2, true);
}
void BM_FramePaintGrip(benchmark::State& state)
{
    paintFrame(state, 0, false);
}

// The floor: copying the 800 x 600 buffer once.
void BM_Memcpy800x600(benchmark::State& state)
{
    std::vector<uint32_t> from(800 * 600, 0xFFF0F0F0), to(800 * 600);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
    }
}

BENCHMARK(BM_FramePaintPixels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FramePaintInches)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FramePaintCentimetres)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FramePaintGrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy800x600)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // Fonts need the application object; no display is needed for painting into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Memory of the clipboard keeper serving a 3840 x 2160 capture: its peak resident size beside the
// PNG it holds, once a program has pasted the PNG, and once one has pasted the BMP (made on request
// and freed after the transfer). Needs an X display (scripts/run-benchmarks gives one) and xclip.
#include "formats/PngWriter.h"
#include "platform/x11/ClipboardKeeperLaunch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/wait.h>

namespace {

const std::string kKeeper = ZENTRAP_BIN_DIR "/zentrap-keeper";

// A desktop-like picture: flat window areas, gradients and rows of small glyph-like marks.
Bitmap desktopLike(int width, int height)
{
    Bitmap picture(width, height);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture.row(y);
        for (int x = 0; x < width; ++x) {
            const bool window = (x / 640 + y / 360) % 3 != 0;
            uint8_t blue = window ? 236 : static_cast<uint8_t>(x * 255 / width);
            uint8_t green = window ? 236 : static_cast<uint8_t>(y * 255 / height);
            uint8_t red = window ? 240 : 90;
            seed = seed * 1664525U + 1013904223U;
            if (window && y % 18 < 12 && x % 640 < 500 && (seed >> 28) < 5) {
                blue = green = red = 30; // a mark of text
            }
            row[3 * x] = blue;
            row[3 * x + 1] = green;
            row[3 * x + 2] = red;
        }
    }
    return picture;
}

long peakKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return -1;
}

bool paste(const char* type)
{
    const std::string command = std::string("xclip -selection clipboard -t ") + type + " -o >/dev/null";
    return std::system(command.c_str()) == 0;
}

// An xclip that owns the clipboard until it is ended; its output goes nowhere, so that it never
// holds the benchmark's output open (a pipe reading it would wait for xclip). Its process id, or 0.
pid_t takeClipboard()
{
    FILE* shell = ::popen("xclip -selection clipboard -quiet </dev/null >/dev/null 2>&1 & echo $!", "r");
    if (shell == nullptr) {
        return 0;
    }
    long owner = 0;
    if (std::fscanf(shell, "%ld", &owner) != 1) {
        owner = 0;
    }
    ::pclose(shell);
    return static_cast<pid_t>(owner);
}

void BM_KeeperMemory3840x2160(benchmark::State& state)
{
    VectorSink png;
    writePng(desktopLike(3840, 2160), png);
    long afterPng = 0;
    long afterBmp = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        const std::string failure = startClipboardKeeper(kKeeper, png.bytes, std::chrono::seconds(2), &pid);
        if (!failure.empty()) {
            state.SkipWithError(failure.c_str());
            return;
        }
        if (!paste("image/png")) {
            state.SkipWithError("no PNG from the keeper (is xclip installed?)");
            return;
        }
        afterPng = peakKiB(pid);
        if (!paste("image/bmp")) {
            state.SkipWithError("no BMP from the keeper");
            return;
        }
        afterBmp = peakKiB(pid);
        // Another client takes the clipboard: the keeper ends.
        const pid_t owner = takeClipboard();
        waitpid(pid, nullptr, 0);
        if (owner > 0) {
            ::kill(owner, SIGTERM);
        }
    }
    const auto pngKiB = static_cast<double>(png.bytes.size()) / 1024.0;
    state.counters["png_KiB"] = pngKiB;
    state.counters["peak_png_served_KiB"] = static_cast<double>(afterPng);
    state.counters["beyond_png_KiB"] = static_cast<double>(afterPng) - pngKiB;
    state.counters["peak_bmp_served_KiB"] = static_cast<double>(afterBmp);
}

} // namespace

BENCHMARK(BM_KeeperMemory3840x2160)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

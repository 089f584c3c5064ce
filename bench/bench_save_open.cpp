// Opening the Save As window on a 1920 x 1080 screenshot with the four default variants (BMP,
// JPEG 75 progressive, GIF "Optimized Windows", PNG) until every pane has its encoding, beside
// the single encoders doing the same work in the same run, and the window's peak memory with a
// 3840 x 2160 capture. Runs on Qt's offscreen platform.
#include "bench/support/Corpus.h"
#include "bench/support/PeakMemory.h"
#include "bench/support/WindowRig.h"
#include "common/SettingsFile.h"
#include "formats/OutputFormats.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "save/ui/SaveAsDialog.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const char* const kScreenshot = "desktop-1920x1080.png";

// The services of one window opening: an empty settings key (the default variants) and a
// settings file in a temporary folder.
// A screen that cannot be grabbed, as the windows see it during these measurements.
struct SaveRig : WindowRig {
    SaveRig() : WindowRig("save", Bitmap(1920, 1080)) { screen.available = false; }

    int32_t captureNumber = 1;
    bool notSaved = true;
};

// The window's whole opening: the working copy, the BMP gauge length, the four encodings.
void BM_OpenSaveAs(benchmark::State& state)
{
    const Bitmap& image = corpusImage(kScreenshot);
    SaveRig rig;
    for (auto _ : state) {
        rig.hive.loadText(""); // no stored values: the four defaults every time
        SaveAsDialog form(rig.platform, rig.ini, SaveAsDialogHost{image, rig.captureNumber, rig.notSaved});
        benchmark::DoNotOptimize(form.session().variant(4).encodedLength);
    }
}
BENCHMARK(BM_OpenSaveAs)->Unit(benchmark::kMillisecond)->UseRealTime();

size_t measureOnce(const Bitmap& image, ImageFormat format)
{
    FormatSettings settings;
    settings.format = format;
    return measureFormat(image, settings).length;
}

// The same work with the single encoders: the gauge's BMP, then the four variants.
void BM_SingleEncodersSum(benchmark::State& state)
{
    const Bitmap& image = corpusImage(kScreenshot);
    for (auto _ : state) {
        size_t total = measureOnce(image, ImageFormat::Bmp);
        for (ImageFormat f : {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Gif, ImageFormat::Png}) {
            total += measureOnce(image, f);
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_SingleEncodersSum)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SingleEncoder(benchmark::State& state, ImageFormat format)
{
    const Bitmap& image = corpusImage(kScreenshot);
    size_t length = 0;
    for (auto _ : state) {
        length = measureOnce(image, format);
        benchmark::DoNotOptimize(length);
    }
    state.counters["out_bytes"] = static_cast<double>(length);
}
BENCHMARK_CAPTURE(BM_SingleEncoder, bmp, ImageFormat::Bmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SingleEncoder, jpeg, ImageFormat::Jpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SingleEncoder, gif, ImageFormat::Gif)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SingleEncoder, png, ImageFormat::Png)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 3840 x 2160 capture made of the screenshot four times.
Bitmap ultraHdCapture()
{
    const Bitmap& tile = corpusImage(kScreenshot);
    Bitmap big(tile.width() * 2, tile.height() * 2);
    for (int ty = 0; ty < 2; ++ty) {
        for (int tx = 0; tx < 2; ++tx) {
            big.copyRect({tx * tile.width(), ty * tile.height()}, tile,
                         Rect::fromSize(0, 0, tile.width(), tile.height()));
        }
    }
    return big;
}

// Measured before any benchmark runs, so that the process's peak is the window's.
void reportPeakMemory()
{
    Bitmap capture = ultraHdCapture();
    SaveRig rig;
    size_t idle = peakResidentBytes();
    {
        SaveAsDialog form(rig.platform, rig.ini, SaveAsDialogHost{capture, rig.captureNumber, rig.notSaved});
        form.show();
        QApplication::processEvents();
        form.updateLayout();
        for (int n = 1; n <= kVariantCount; ++n) {
            form.findChild<SavePreviewPane*>(QString("paintBox%1").arg(n))->renderOffscreen();
        }
    }
    size_t peak = peakResidentBytes();
    double raw = static_cast<double>(capture.byteCount());
    std::printf("Save As with a 3840 x 2160 capture: peak %.1f MiB above idle = %.2f x the raw image (%.1f MiB); "
                "target at most 8 x\n",
                static_cast<double>(peak - idle) / (1 << 20), static_cast<double>(peak - idle) / raw, raw / (1 << 20));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    corpusImage(kScreenshot);
    reportPeakMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

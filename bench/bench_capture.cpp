// Time from the Capture command to the image in image and on the clipboard, for a 1920 x 1080
// full-screen capture without the hide wait, beside the parts it is made of and beside Qt's own
// screen grab and clipboard path. Needs an X display (run it on the test desktop).
#include "app/DesktopPlatform.h"
#include "app/ui/RemoteControlWindow.h"
#include "capture/ScreenGrabber.h"
#include "platform/FileRegistryHive.h"
#include "platform/fake/FakeHelpService.h"
#include "platform/fake/FakeMessageService.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

struct CaptureRig {
    CaptureRig()
    {
        // The bench measures the capture itself, not the 300 ms wait for the screen to repaint.
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n\"HideRemote\"=dword:00000000\n"
                          "\"FCursor\"=dword:00000000\n");
        form = std::make_unique<RemoteControlWindow>(platform);
        form->findChild<QToolButton*>("fullScreenButton")->click();
        capture = form->findChild<QToolButton*>("captureButton");
    }

    FakeHelpService help;
    FakeMessageService messages;
    DesktopPlatform desktop{
        {.programFolder = "./", .useHiveFiles = false, .globalKeys = false, .help = &help, .messages = &messages}};
    FileRegistryHive& userHive = desktop.userHive();
    Platform& platform = desktop.platform();
    std::unique_ptr<RemoteControlWindow> form;
    QToolButton* capture = nullptr;
};

CaptureRig& rig()
{
    static CaptureRig instance;
    return instance;
}

// Paint and clipboard events between iterations are served outside the timed part. With
// `settle`, the clipboard's encodings of the last capture are also waited for, as they would have
// finished long before a user takes the next capture.
void serveEvents(benchmark::State& state, bool settle)
{
    state.PauseTiming();
    if (settle) {
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) {
            benchmark::DoNotOptimize(data->data("image/png").size());
            benchmark::DoNotOptimize(data->data("image/bmp").size());
        }
    }
    QCoreApplication::processEvents();
    state.ResumeTiming();
}

void captureCommand(benchmark::State& state, bool settle)
{
    CaptureRig& r = rig();
    for (auto _ : state) {
        r.capture->click();
        serveEvents(state, settle);
    }
    const QImage last = QGuiApplication::clipboard()->image();
    state.counters["width"] = last.width();
    state.counters["height"] = last.height();
}

void BM_CaptureCommandFullScreen(benchmark::State& state)
{
    captureCommand(state, true);
}
BENCHMARK(BM_CaptureCommandFullScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

// Captures in quick succession: the clipboard gives up the previous capture's content each time.
void BM_CaptureCommandBackToBack(benchmark::State& state)
{
    captureCommand(state, false);
}
BENCHMARK(BM_CaptureCommandBackToBack)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GrabScreenOnly(benchmark::State& state)
{
    CaptureRig& r = rig();
    const Size size = r.platform.screen.primaryScreenSize();
    Bitmap image;
    for (auto _ : state) {
        GrabScreen(0, 0, size.width, size.height, image, false, r.platform.screen);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_GrabScreenOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ClipboardOnly(benchmark::State& state)
{
    CaptureRig& r = rig();
    const Size size = r.platform.screen.primaryScreenSize();
    Bitmap image;
    GrabScreen(0, 0, size.width, size.height, image, false, r.platform.screen);
    for (auto _ : state) {
        r.platform.clipboard.setBitmap(image);
        serveEvents(state, true);
    }
}
BENCHMARK(BM_ClipboardOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// The peer: Qt's own grab and clipboard, which encodes PNG on the GUI thread only when a program
// asks for it (so a paste then stalls the user interface).
void BM_QtGrabWindowAndSetImage(benchmark::State& state)
{
    rig();
    QScreen* screen = QGuiApplication::primaryScreen();
    for (auto _ : state) {
        QPixmap pixmap = screen->grabWindow(0);
        QGuiApplication::clipboard()->setImage(pixmap.toImage());
        serveEvents(state, false);
    }
}
BENCHMARK(BM_QtGrabWindowAndSetImage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "bench_capture: needs an X display (run it on the test desktop)\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

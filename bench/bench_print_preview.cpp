// The Print Preview: one drag step (the pointer moves, both offset fields are rewritten, the
// layout and the whole preview are redrawn and shown) on a 1000 x 800 window with a 1920 x 1080
// capture, and opening the window on that capture including the printer's page. With a printer
// reachable through CUPS (CUPS_SERVER) the opening reads it from the scheduler; otherwise a fake
// printer stands in and the label says so. Runs on Qt's offscreen platform.
#include "bench/support/Corpus.h"
#include "bench/support/WindowRig.h"
#include "common/SettingsFile.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakePrintService.h"
#include "platform/x11/QtPrintService.h"
#include "print/ui/OpenPrintPreview.h"
#include "print/ui/PreviewPaintBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

const char* const kScreenshot = "desktop-1920x1080.png";

// A screen that cannot be grabbed, as the windows see it during these measurements.
struct PrintRig : WindowRig {
    PrintRig() : WindowRig("print", Bitmap(1920, 1080))
    {
        screen.available = false;
        fake.pageMetrics = {300, 300, 75, 225, 2325, 2925, 2550, 3300};
        useCups = !cups.printers().empty();
    }

    FakePrintService fake;
    QtPrintService cups;
    bool useCups = false;
    bool notSaved = true;
};

PreviewPaintBox* paintBoxOf(QWidget& window)
{
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (auto* box = dynamic_cast<PreviewPaintBox*>(w)) {
            return box;
        }
    }
    return nullptr;
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint p, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(p), target->mapToGlobal(QPointF(p)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void BM_PreviewDragStep(benchmark::State& state)
{
    const Bitmap& image = corpusImage(kScreenshot);
    PrintRig rig;
    rig.fake.selectCurrentPrinter();
    rig.platform.printing = &rig.fake;
    // Placed by offsets, half on the sheet, so every drawing step has work to do.
    std::ofstream(rig.iniPath) << "[Print]\nCenterHorz=0\nCenterVert=0\nXOffset=2\nYOffset=3\nZoom=50\n";
    PrintPreviewWindow window(rig.platform, rig.ini, {image, rig.notSaved, true});
    window.resize(1000, 800);
    window.show();
    QApplication::processEvents();
    PreviewPaintBox* box = paintBoxOf(window);
    Rect on = window.model().imageOnPreview();
    QPoint start(on.left + 5, on.top + 5);
    sendMouse(box, QEvent::MouseButtonPress, start, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        sendMouse(box, QEvent::MouseMove, start + QPoint(step, step / 2), Qt::LeftButton);
        box->repaint();
    }
    sendMouse(box, QEvent::MouseButtonRelease, start, Qt::NoButton);
    state.SetLabel(std::to_string(box->width()) + "x" + std::to_string(box->height()) + " preview");
}
BENCHMARK(BM_PreviewDragStep)->Unit(benchmark::kMillisecond);

void BM_OpenPrintPreview(benchmark::State& state)
{
    const Bitmap& image = corpusImage(kScreenshot);
    PrintRig rig;
    for (auto _ : state) {
        // A new service each time: the first Print command of a session asks CUPS for everything.
        QtPrintService cups;
        rig.platform.printing = rig.useCups ? static_cast<PrintService*>(&cups) : &rig.fake;
        auto window = openPrintPreview(rig.platform, rig.ini, {image, rig.notSaved, true}, nullptr);
        window->show();
        QApplication::processEvents(); // the first layout and drawing come with the first paint
        benchmark::DoNotOptimize(window->model().preview().bits());
        state.PauseTiming(); // closing (writing the settings) is not opening
        window.reset();
        state.ResumeTiming();
    }
    state.SetLabel(rig.useCups ? "printer read from CUPS" : "fake printer (no CUPS destination)");
}
BENCHMARK(BM_OpenPrintPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

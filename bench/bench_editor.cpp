// The Image Editor on a 1920 x 1080 screenshot: opening it until its view is painted, one step of
// the moving selection marks with a selection around the whole image, and crop, rotate and Apply
// (Mitchell) each with its undo snapshot. Beside them, one memcpy of the image: the cost of the
// snapshot alone, the floor of every edit. Runs on Qt's offscreen platform.
#include "bench/support/Corpus.h"
#include "bench/support/WindowRig.h"
#include "common/SettingsFile.h"
#include "editor/ImageEditorModel.h"
#include "editor/ui/EditorView.h"
#include "editor/ui/ImageEditorWindow.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

const char* const kScreenshot = "desktop-1920x1080.png";

struct EditorRig : WindowRig {
    EditorRig() : WindowRig("editor", Bitmap(16, 16))
    {
        screen.areas = std::vector<Rect>{Rect::fromSize(0, 0, 1920, 1080)};
    }
};

void BM_MemcpyImage(benchmark::State& state)
{
    const Bitmap& image = corpusImage(kScreenshot);
    std::vector<uint8_t> copy(image.byteCount());
    for (auto _ : state) {
        std::memcpy(copy.data(), image.bits(), image.byteCount());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyImage)->Unit(benchmark::kMillisecond);

// The Remote Control's working copy, the window, its first paint. Target: under 50 ms.
void BM_OpenEditorToFirstPaint(benchmark::State& state)
{
    const Bitmap& captured = corpusImage(kScreenshot);
    EditorRig rig;
    for (auto _ : state) {
        Bitmap edit = captured;
        Bitmap undo;
        ImageEditorWindow window(rig.platform, rig.ini, ImageEditorHost{captured, edit, undo});
        window.show();
        QApplication::processEvents(); // mapped and exposed, the first paint done
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenEditorToFirstPaint)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Erase, next phase, draw and repaint with a selection around the whole image, in a window as large
// as the screen. Target: under 2 ms of CPU (of the whole process: Qt converts large images on
// several threads), so that the marks running every 100 ms cost under 2 % of a core.
void BM_MarkTimerStep(benchmark::State& state)
{
    const Bitmap& captured = corpusImage(kScreenshot);
    EditorRig rig;
    Bitmap edit = captured;
    Bitmap undo;
    ImageEditorWindow window(rig.platform, rig.ini, ImageEditorHost{captured, edit, undo});
    window.resize(1920, 1080); // the view as large as the screen: the most a repaint covers
    window.show();
    QApplication::processEvents(); // exposed: repaints now paint
    window.findChild<QToolButton*>("sbSelect")->click();
    QWidget* area = window.findChild<QWidget*>("paintArea");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(0, 0), QPointF(0, 0), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(area, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5000, 5000), QPointF(5000, 5000), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(area, &release);
    if (!window.model().cropEnabled()) {
        state.SkipWithError("no selection");
        return;
    }
    state.counters["view_pixels"] = area->width() * area->height();
    for (auto _ : state) {
        window.MarkTimerStep();
        QApplication::processEvents(); // the repaint the step asked for
    }
}
BENCHMARK(BM_MarkTimerStep)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// One edit on a fresh working copy, the undo snapshot included. Target: under 30 ms each.
template <typename Edit> void runEdit(benchmark::State& state, Edit edit, Size expected)
{
    const Bitmap& captured = corpusImage(kScreenshot);
    for (auto _ : state) {
        state.PauseTiming();
        Bitmap working = captured;
        Bitmap undo;
        {
            ImageEditorModel model(EditorImages{captured, working, undo});
            model.setViewArea({350, 360});
            state.ResumeTiming();
            edit(model);
            state.PauseTiming();
            if (model.imageSize() != expected) {
                state.SkipWithError("the edit did not happen");
            }
        }
        state.ResumeTiming();
    }
}

void BM_Crop(benchmark::State& state)
{
    runEdit(state,
            [](ImageEditorModel& model) {
                model.press(EditorTool::Select, {20, 10});
                model.release({3000, 3000});
                benchmark::DoNotOptimize(model.crop());
            },
            {1900, 1070});
}
BENCHMARK(BM_Crop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Rotate90(benchmark::State& state)
{
    runEdit(state, [](ImageEditorModel& model) { benchmark::DoNotOptimize(model.rotate(RotationAngle::Rotate90)); },
            {1080, 1920});
}
BENCHMARK(BM_Rotate90)->Unit(benchmark::kMillisecond)->UseRealTime();

// 1280 x 600 is exactly the 768000-pixel limit, which Apply refuses; 1280 x 599 is the largest
// accepted size of that width.
void BM_ApplyMitchell1280x599(benchmark::State& state)
{
    runEdit(state,
            [](ImageEditorModel& model) {
                model.setKeepRatio(false);
                model.setFieldText(SizeField::Width, "1280");
                model.setFieldText(SizeField::Height, "599");
                EditOutcome outcome = model.apply();
                benchmark::DoNotOptimize(outcome);
            },
            {1280, 599});
}
BENCHMARK(BM_ApplyMitchell1280x599)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    corpusImage(kScreenshot);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Time from a hotkey press (the X server's key event, made with XTest) to the clipboard's owner
// change, for a 1920 x 1080 full-screen capture without the hide wait, beside a direct GrabScreen
// of the same screen in the same run. Needs an X display (run it on the test desktop).
#include "app/DesktopPlatform.h"
#include "app/ui/RemoteControlWindow.h"
#include "capture/ScreenGrabber.h"
#include "platform/FileRegistryHive.h"
#include "platform/fake/FakeHelpService.h"
#include "platform/fake/FakeMessageService.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QToolButton>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xfixes.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// A second X client that presses keys like a keyboard and watches who owns the clipboard.
class KeyboardDriver {
public:
    KeyboardDriver() : connection_(xcb_connect(nullptr, nullptr))
    {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        std::free(xcb_xfixes_query_version_reply(connection_, xcb_xfixes_query_version(connection_, 5, 0), nullptr));
        xfixesEvent_ = xcb_get_extension_data(connection_, &xcb_xfixes_id)->first_event;
        const char* name = "CLIPBOARD";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        xcb_xfixes_select_selection_input(connection_, root_, atom->atom,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
        std::free(atom);
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
        control_ = firstKeycode(symbols, XK_Control_L);
        shift_ = firstKeycode(symbols, XK_Shift_L);
        c_ = firstKeycode(symbols, XK_c);
        xcb_key_symbols_free(symbols);
        xcb_flush(connection_);
    }
    ~KeyboardDriver() { xcb_disconnect(connection_); }

    void holdModifiers(bool down)
    {
        key(control_, down);
        key(shift_, down);
        xcb_flush(connection_);
    }
    void pressC()
    {
        key(c_, true);
        key(c_, false);
        xcb_flush(connection_);
    }
    // Whether an owner change of the clipboard has been reported.
    bool ownerChanged()
    {
        bool changed = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            changed |= (event->response_type & 0x7F) == xfixesEvent_ + XCB_XFIXES_SELECTION_NOTIFY;
            std::free(event);
        }
        return changed;
    }

private:
    static xcb_keycode_t firstKeycode(xcb_key_symbols_t* symbols, xcb_keysym_t keysym)
    {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        const xcb_keycode_t code = codes != nullptr ? codes[0] : 0;
        std::free(codes);
        return code;
    }
    void key(xcb_keycode_t code, bool down)
    {
        xcb_test_fake_input(connection_, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    uint8_t xfixesEvent_ = 0;
    xcb_keycode_t control_ = 0;
    xcb_keycode_t shift_ = 0;
    xcb_keycode_t c_ = 0;
};

struct HotkeyRig {
    HotkeyRig()
    {
        // The bench measures the capture itself, not the 300 ms wait for the screen to repaint.
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n\"HideRemote\"=dword:00000000\n"
                          "\"FCursor\"=dword:00000000\n\"UsePrintScreen\"=dword:00000000\n");
        form = std::make_unique<RemoteControlWindow>(platform);
        form->findChild<QToolButton*>("fullScreenButton")->click();
        form->show();
        QCoreApplication::processEvents();
    }

    FakeHelpService help;
    FakeMessageService messages;
    // The real hotkeys: the press under test goes through the X server's key grab.
    DesktopPlatform desktop{
        {.programFolder = "./", .useHiveFiles = false, .globalKeys = true, .help = &help, .messages = &messages}};
    FileRegistryHive& userHive = desktop.userHive();
    Platform& platform = desktop.platform();
    std::unique_ptr<RemoteControlWindow> form;
    KeyboardDriver driver;
};

// Made on first use and ended before the application object, which its window needs.
std::unique_ptr<HotkeyRig> theRig;

HotkeyRig& rig()
{
    if (!theRig) {
        theRig = std::make_unique<HotkeyRig>();
    }
    return *theRig;
}

// The clipboard's encodings of the last capture finish before the next press, as they would long
// before a user presses the hotkey again.
void settle()
{
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) {
        benchmark::DoNotOptimize(data->data("image/png").size());
    }
    QCoreApplication::processEvents();
}

void BM_HotkeyToClipboardOwner(benchmark::State& state)
{
    HotkeyRig& r = rig();
    r.driver.holdModifiers(true);
    r.driver.ownerChanged();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        r.driver.pressC();
        const auto deadline = start + std::chrono::seconds(5);
        bool changed = false;
        while (!changed && std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents();
            changed = r.driver.ownerChanged();
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!changed) {
            state.SkipWithError("no clipboard owner change within 5 s of the hotkey");
            break;
        }
        state.SetIterationTime(elapsed.count());
        settle();
    }
    r.driver.holdModifiers(false);
    const QImage last = QGuiApplication::clipboard()->image();
    state.counters["width"] = last.width();
    state.counters["height"] = last.height();
}
BENCHMARK(BM_HotkeyToClipboardOwner)->Unit(benchmark::kMillisecond)->UseManualTime();

// The floor: the grab alone, without the key event, the window or the clipboard.
void BM_GrabScreenDirect(benchmark::State& state)
{
    HotkeyRig& r = rig();
    ScreenSource& screen = r.platform.screen;
    const Size size = screen.primaryScreenSize();
    Bitmap image;
    for (auto _ : state) {
        GrabScreen(0, 0, size.width, size.height, image, false, screen);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_GrabScreenDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "bench_hotkey: needs an X display (run it on the test desktop)\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theRig.reset();
    return 0;
}

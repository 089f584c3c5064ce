// Time from the capture hotkey to a picture another program can paste, on the real program: an
// independent X client presses Ctrl+Shift+C with XTest, asks the clipboard for image/png as soon
// as its owner changes and stops the clock when a whole PNG has arrived. Three layouts at
// 1920 x 1080, over a window that repaints when uncovered (a screenshot-like picture): the Remote
// Control over the Capture Frame's hole, beside it, and full screen; beside them flameshot's
// `full -c` from its launch, when flameshot is installed. Prints the medians, their ratios to
// flameshot and the steps (hide, repaint wait with the grab, clipboard owner, PNG ready).
// Needs an X display with a window manager (run it on the test desktop).
#include "bench/support/Corpus.h"
#include "capture/ScreenGrabber.h"
#include "platform/x11/X11ScreenSource.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xfixes.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kOver = "(a) over the hole";
constexpr const char* kBeside = "(b) beside the hole";
constexpr const char* kFullScreen = "(c) full screen";
constexpr const char* kFlameshot = "flameshot full -c";

double msBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// One hotkey (or launch) and what followed it, in milliseconds from the press.
struct Sample {
    double total = 0;
    std::optional<double> unmapped; // the Remote Control left the screen
    double owner = 0;               // the clipboard's owner changed
};

std::map<std::string, std::vector<Sample>>& samples()
{
    static std::map<std::string, std::vector<Sample>> all;
    return all;
}

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs `argv` with `environment` added; returns its process id.
pid_t launch(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int stdoutFd = -1)
{
    const pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& variable : environment) {
            putenv(strdup(variable.c_str()));
        }
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(stdoutFd >= 0 ? stdoutFd : devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

void endProcess(pid_t pid)
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

bool onPath(const char* program)
{
    const std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// The X client that presses the keys and reads the clipboard as a pasting program would.
class PasteReader {
public:
    PasteReader() : connection_(xcb_connect(nullptr, nullptr))
    {
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        root_ = screen->root;
        window_ = xcb_generate_id(connection_);
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        clipboard_ = atom("CLIPBOARD");
        png_ = atom("image/png");
        incr_ = atom("INCR");
        property_ = atom("ZENTRAP_BENCH_PASTE");
        clientList_ = atom("_NET_CLIENT_LIST");
        wmName_ = atom("_NET_WM_NAME");
        std::free(xcb_xfixes_query_version_reply(connection_, xcb_xfixes_query_version(connection_, 5, 0), nullptr));
        xfixesEvent_ = xcb_get_extension_data(connection_, &xcb_xfixes_id)->first_event;
        xcb_xfixes_select_selection_input(connection_, window_, clipboard_,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
        control_ = keycode(symbols, XK_Control_L);
        shift_ = keycode(symbols, XK_Shift_L);
        c_ = keycode(symbols, XK_c);
        f_ = keycode(symbols, XK_f);
        xcb_key_symbols_free(symbols);
        xcb_flush(connection_);
    }
    ~PasteReader() { xcb_disconnect(connection_); }
    PasteReader(const PasteReader&) = delete;
    PasteReader& operator=(const PasteReader&) = delete;

    // The top-level window named `name` (as the window manager lists it), waiting up to 20 s.
    std::optional<xcb_window_t> findWindow(const std::string& name)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < deadline) {
            auto* list = xcb_get_property_reply(
                connection_, xcb_get_property(connection_, 0, root_, clientList_, XCB_ATOM_WINDOW, 0, 1024), nullptr);
            const int count = list != nullptr ? xcb_get_property_value_length(list) / 4 : 0;
            const auto* windows = list != nullptr ? static_cast<xcb_window_t*>(xcb_get_property_value(list)) : nullptr;
            for (int i = 0; i < count; ++i) {
                if (windowName(windows[i]) == name) {
                    const xcb_window_t found = windows[i];
                    std::free(list);
                    return found;
                }
            }
            std::free(list);
            QCoreApplication::processEvents();
            usleep(50000);
        }
        return std::nullopt;
    }

    // Reports the window's unmaps from now on.
    void watch(xcb_window_t window)
    {
        watched_ = window;
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }

    // Owns the clipboard, so that only a new capture changes its owner.
    void takeClipboard()
    {
        xcb_set_selection_owner(connection_, window_, clipboard_, XCB_CURRENT_TIME);
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        drain();
    }

    void pressWithControlShift(bool fullScreenKey)
    {
        const xcb_keycode_t key = fullScreenKey ? f_ : c_;
        for (const auto& [code, down] : {std::pair{control_, true},
                                         {shift_, true},
                                         {key, true},
                                         {key, false},
                                         {shift_, false},
                                         {control_, false}}) {
            xcb_test_fake_input(connection_, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE,
                                0, 0, 0);
        }
        xcb_flush(connection_);
    }

    // Waits (serving the bench's own window meanwhile) until another client owns the clipboard and
    // has handed over a whole PNG; false after 10 s.
    bool awaitPaste(Clock::time_point start, Sample& sample)
    {
        const auto deadline = start + std::chrono::seconds(10);
        bool asked = false;
        bool incremental = false;
        png_bytes_.clear();
        while (Clock::now() < deadline) {
            QCoreApplication::processEvents();
            xcb_generic_event_t* event = xcb_poll_for_event(connection_);
            if (event == nullptr) {
                usleep(200);
                continue;
            }
            const uint8_t type = event->response_type & 0x7F;
            if (type == xfixesEvent_ + XCB_XFIXES_SELECTION_NOTIFY && !asked) {
                const auto* notify = reinterpret_cast<xcb_xfixes_selection_notify_event_t*>(event);
                if (notify->owner != window_ && notify->owner != XCB_NONE) {
                    sample.owner = msBetween(start, Clock::now());
                    xcb_convert_selection(connection_, window_, clipboard_, png_, property_, notify->timestamp);
                    xcb_flush(connection_);
                    asked = true;
                }
            } else if (type == XCB_UNMAP_NOTIFY && !sample.unmapped) {
                if (reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window == watched_) {
                    sample.unmapped = msBetween(start, Clock::now());
                }
            } else if (type == XCB_SELECTION_NOTIFY && asked) {
                const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event);
                if (notify->property == XCB_NONE) {
                    std::free(event);
                    return false;
                }
                incremental = readProperty();
                if (!incremental) {
                    std::free(event);
                    return wholePng();
                }
            } else if (type == XCB_PROPERTY_NOTIFY && incremental) {
                const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
                if (notify->atom == property_ && notify->state == XCB_PROPERTY_NEW_VALUE) {
                    const size_t before = png_bytes_.size();
                    readProperty();
                    if (png_bytes_.size() == before) {
                        std::free(event);
                        return wholePng();
                    }
                }
            }
            std::free(event);
        }
        return false;
    }

    // Reads and deletes the transfer property; true when it announces an incremental transfer.
    bool readProperty()
    {
        auto* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 1, window_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, 1u << 28),
            nullptr);
        if (reply == nullptr) {
            return false;
        }
        const bool incr = reply->type == incr_;
        if (!incr) {
            const auto* bytes = static_cast<const uint8_t*>(xcb_get_property_value(reply));
            png_bytes_.insert(png_bytes_.end(), bytes, bytes + xcb_get_property_value_length(reply));
        }
        std::free(reply);
        xcb_flush(connection_);
        return incr;
    }

    const std::vector<uint8_t>& pngBytes() const { return png_bytes_; }

private:
    xcb_atom_t atom(const char* name)
    {
        auto* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply != nullptr ? reply->atom : XCB_ATOM_NONE;
        std::free(reply);
        return a;
    }
    static xcb_keycode_t keycode(xcb_key_symbols_t* symbols, xcb_keysym_t keysym)
    {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        const xcb_keycode_t code = codes != nullptr ? codes[0] : 0;
        std::free(codes);
        return code;
    }
    std::string windowName(xcb_window_t window)
    {
        auto* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, wmName_, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
        std::string name;
        if (reply != nullptr) {
            name.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                        static_cast<size_t>(xcb_get_property_value_length(reply)));
        }
        std::free(reply);
        return name;
    }
    void drain()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            std::free(event);
        }
    }
    // A PNG signature at the start and the IEND chunk at the end.
    bool wholePng() const
    {
        static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        static constexpr uint8_t kEnd[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
        return png_bytes_.size() > sizeof kSignature + sizeof kEnd &&
               std::equal(std::begin(kSignature), std::end(kSignature), png_bytes_.begin()) &&
               std::equal(std::begin(kEnd), std::end(kEnd), png_bytes_.end() - sizeof kEnd);
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_window_t window_ = 0;
    xcb_window_t watched_ = 0;
    xcb_atom_t clipboard_ = 0, png_ = 0, incr_ = 0, property_ = 0, clientList_ = 0, wmName_ = 0;
    uint8_t xfixesEvent_ = 0;
    xcb_keycode_t control_ = 0, shift_ = 0, c_ = 0, f_ = 0;
    std::vector<uint8_t> png_bytes_;
};

// The program window behind the capture: a screenshot-like picture over the whole screen that
// repaints from its own memory when uncovered, as an ordinary program's window does.
class DesktopPicture : public QWidget {
public:
    DesktopPicture()
    {
        const Bitmap& picture = corpusImage("desktop-1920x1080.png");
        image_ = QImage(picture.bits(), picture.width(), picture.height(), static_cast<qsizetype>(picture.stride()),
                        QImage::Format_BGR888)
                     .copy();
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setGeometry(0, 0, image_.width(), image_.height());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image_); }

private:
    QImage image_;
};

PasteReader& reader()
{
    static PasteReader instance;
    return instance;
}

// Lets the screen settle between presses (the thumbnail, the shown-again windows, the encoders).
void settle()
{
    const auto until = Clock::now() + std::chrono::milliseconds(400);
    while (Clock::now() < until) {
        QCoreApplication::processEvents();
        usleep(2000);
    }
}

// A running Zentrap with its own settings folder, ended at the end of the layout.
class ZentrapRun {
public:
    explicit ZentrapRun(const std::string& values)
    {
        folder_ = std::filesystem::temp_directory_path() / ("zentrap-bench-paste-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "zentrap");
        std::ofstream(folder_ / "zentrap" / "user.reg")
            << "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n\"FCursor\"=dword:00000000\n"
               "\"UsePrintScreen\"=dword:00000000\n\"ShowHint\"=dword:00000000\n"
            << values;
        pid_ = launch({ZENTRAP_BIN_DIR "/zentrap"}, {"XDG_CONFIG_HOME=" + folder_.string(),
                                                     "ZENTRAP_MACHINE_HIVE=" + (folder_ / "none.reg").string()});
        remote_ = reader().findWindow("Zentrap Remote Control");
        settle();
    }
    ~ZentrapRun()
    {
        endProcess(pid_);
        std::filesystem::remove_all(folder_);
    }
    ZentrapRun(const ZentrapRun&) = delete;
    ZentrapRun& operator=(const ZentrapRun&) = delete;

    std::optional<xcb_window_t> remote() const { return remote_; }

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    std::optional<xcb_window_t> remote_;
};

void recordAndTime(benchmark::State& state, const char* label, Clock::time_point start, Sample& sample, bool pasted)
{
    if (!pasted) {
        state.SkipWithError("no whole PNG on the clipboard within 10 s");
        return;
    }
    sample.total = msBetween(start, Clock::now());
    state.SetIterationTime(sample.total / 1000.0);
    samples()[label].push_back(sample);
}

void hotkeyToPaste(benchmark::State& state, const char* label, const std::string& values, bool fullScreen)
{
    ZentrapRun run(values);
    if (!run.remote()) {
        state.SkipWithError("the Remote Control did not appear");
        return;
    }
    PasteReader& r = reader();
    r.watch(*run.remote());
    if (fullScreen) {
        r.pressWithControlShift(true);
        settle();
    }
    for (auto _ : state) {
        r.takeClipboard();
        Sample sample;
        const auto start = Clock::now();
        r.pressWithControlShift(false);
        recordAndTime(state, label, start, sample, r.awaitPaste(start, sample));
        state.PauseTiming();
        settle();
        state.ResumeTiming();
    }
    state.counters["png_bytes"] = static_cast<double>(r.pngBytes().size());
}

// (a) The default layout: the Remote Control (910,410) over the frame's hole (480,270, 960 x 540).
void BM_HotkeyToPasteOverTheHole(benchmark::State& state)
{
    hotkeyToPaste(state, kOver, "", false);
}
BENCHMARK(BM_HotkeyToPasteOverTheHole)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();

// (b) The Remote Control at 1700,100, beside the frame.
void BM_HotkeyToPasteBesideTheHole(benchmark::State& state)
{
    hotkeyToPaste(state, kBeside, "\"Left\"=dword:000006a4\n\"Top\"=dword:00000064\n", false);
}
BENCHMARK(BM_HotkeyToPasteBesideTheHole)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();

// (c) Full screen (switched on with its hotkey): the Remote Control is always on the picture.
void BM_HotkeyToPasteFullScreen(benchmark::State& state)
{
    hotkeyToPaste(state, kFullScreen, "", true);
}
BENCHMARK(BM_HotkeyToPasteFullScreen)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();

// The peer: `flameshot full -c` from its launch, with its daemon already running on a private
// session bus (as it runs in a user's tray), to a whole PNG read from the clipboard.
void BM_FlameshotFullToPaste(benchmark::State& state)
{
    if (!onPath("flameshot") || !onPath("dbus-daemon")) {
        state.SkipWithError("flameshot is not installed (make bench installs it)");
        return;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zentrap-bench-flameshot-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "flameshot");
    std::ofstream(folder / "flameshot" / "flameshot.ini")
        << "[General]\nshowDesktopNotification=false\nshowHelp=false\nstartupLaunch=false\ndisabledTrayIcon=true\n";
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        state.SkipWithError("no pipe for the session bus address");
        return;
    }
    const pid_t bus = launch({"dbus-daemon", "--session", "--nofork", "--print-address"}, {}, pipeFds[1]);
    close(pipeFds[1]);
    std::string address;
    char c = 0;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') {
        address += c;
    }
    close(pipeFds[0]);
    const std::vector<std::string> environment{"DBUS_SESSION_BUS_ADDRESS=" + address,
                                               "XDG_CONFIG_HOME=" + folder.string()};
    const pid_t daemon = launch({"flameshot"}, environment);
    PasteReader& r = reader();
    // The first request waits for the daemon to be on the bus.
    bool ready = false;
    for (int attempt = 0; attempt < 20 && !ready; ++attempt) {
        r.takeClipboard();
        Sample warmUp;
        const pid_t client = launch({"flameshot", "full", "-c"}, environment);
        ready = r.awaitPaste(Clock::now(), warmUp);
        waitpid(client, nullptr, 0);
    }
    for (auto _ : state) {
        if (!ready) {
            state.SkipWithError("flameshot's daemon did not answer");
            break;
        }
        r.takeClipboard();
        Sample sample;
        const auto start = Clock::now();
        const pid_t client = launch({"flameshot", "full", "-c"}, environment);
        recordAndTime(state, kFlameshot, start, sample, r.awaitPaste(start, sample));
        state.PauseTiming();
        waitpid(client, nullptr, 0);
        settle();
        state.ResumeTiming();
    }
    endProcess(daemon);
    endProcess(bus);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FlameshotFullToPaste)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();

// The grab alone, in this process, for the step table.
double grabMilliseconds(int width, int height)
{
    X11ScreenSource screen;
    Bitmap image;
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        const auto start = Clock::now();
        GrabScreen(0, 0, width, height, image, false, screen);
        times.push_back(msBetween(start, Clock::now()));
    }
    return median(times);
}

void printSummary()
{
    const auto column = [](const std::vector<Sample>& list, auto field) {
        std::vector<double> values;
        for (const Sample& s : list) {
            if (const std::optional<double> v = field(s)) {
                values.push_back(*v);
            }
        }
        return values;
    };
    const auto totalOf = [](const Sample& s) { return std::optional(s.total); };
    const double peerMedian = median(column(samples()[kFlameshot], totalOf));
    std::printf("\nhotkey -> pasteable PNG, medians in ms from the press (unmapped: the Remote Control left the "
                "screen; then: from there to the clipboard's new owner, the repaint wait and the grab; owner: the "
                "clipboard's owner changed, after the grab; png: from then to a whole PNG)\n");
    std::printf("%-22s %4s %8s %9s %8s %8s %8s %8s %8s\n", "layout", "n", "total", "unmapped", "then", "owner", "png",
                "ratio", "target");
    const std::pair<const char*, double> rows[] = {{kOver, 0.5}, {kBeside, 0.25}, {kFullScreen, 0.5}, {kFlameshot, 0}};
    for (const auto& [label, target] : rows) {
        const std::vector<Sample>& list = samples()[label];
        if (list.empty()) {
            std::printf("%-22s no samples\n", label);
            continue;
        }
        const double total = median(column(list, totalOf));
        const std::vector<double> unmapped = column(list, [](const Sample& s) { return s.unmapped; });
        const double owner = median(column(list, [](const Sample& s) { return std::optional(s.owner); }));
        const double png = median(column(list, [](const Sample& s) { return std::optional(s.total - s.owner); }));
        char unmappedText[16] = "-";
        char thenText[16] = "-";
        if (!unmapped.empty()) {
            std::snprintf(unmappedText, sizeof unmappedText, "%.1f", median(unmapped));
            const std::vector<double> then = column(
                list, [](const Sample& s) { return s.unmapped ? std::optional(s.owner - *s.unmapped) : std::nullopt; });
            std::snprintf(thenText, sizeof thenText, "%.1f", median(then));
        }
        char ratio[16] = "-";
        char targetText[16] = "";
        if (target > 0) {
            std::snprintf(targetText, sizeof targetText, "<= %.2f", target);
            if (peerMedian > 0) {
                std::snprintf(ratio, sizeof ratio, "%.2f", total / peerMedian);
            }
        }
        std::printf("%-22s %4zu %8.1f %9s %8s %8.1f %8.1f %8s %8s\n", label, list.size(), total, unmappedText, thenText,
                    owner, total - owner, ratio, targetText);
    }
    std::printf("the grab alone: the hole (932 x 512) %.2f ms, the whole screen %.2f ms\n", grabMilliseconds(932, 512),
                grabMilliseconds(1920, 1080));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "bench_hotkey_to_paste: needs an X display (run it on the test desktop)\n");
        return 1;
    }
    DesktopPicture desktop;
    desktop.show();
    settle();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}

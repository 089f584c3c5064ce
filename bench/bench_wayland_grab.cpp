// A capture in a Wayland session (sway with XWayland on the shared Wayland rig): GrabScreen through
// the compositor's screencopy, of the whole 1920 x 1080 output and of a 400 x 300 part, beside the
// same grab through the desktop's Screenshot portal and beside grim (the compositor's own grabber,
// writing an uncompressed picture to a pipe) as a process. Started outside a Wayland session, the
// program runs itself again in one under scripts/with-wayland-session.
#include "bench/support/MinimumTimeReporter.h"
#include "capture/ScreenGrabber.h"
#include "platform/wayland/ScreencopyScreenSource.h"
#include "platform/x11/PortalScreenSource.h"
#include "platform/x11/XcbScreenSource.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

ScreenSource* gScreencopy = nullptr;
ScreenSource* gPortal = nullptr;

void grabWith(benchmark::State& state, ScreenSource& screen)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Bitmap bitmap(80, 80);
    for (auto _ : state) {
        if (!GrabScreen(0, 0, width, height, bitmap, false, screen)) {
            state.SkipWithError(screen.unreadableReason().c_str());
            return;
        }
        benchmark::DoNotOptimize(bitmap.bits());
    }
}

void BM_Screencopy(benchmark::State& state)
{
    grabWith(state, *gScreencopy);
}

void BM_Portal(benchmark::State& state)
{
    grabWith(state, *gPortal);
}

void BM_GrimProcess(benchmark::State& state)
{
    const std::string geometry = "0,0 " + std::to_string(state.range(0)) + "x" + std::to_string(state.range(1));
    std::vector<char*> args{const_cast<char*>("grim"),
                            const_cast<char*>("-t"),
                            const_cast<char*>("ppm"),
                            const_cast<char*>("-g"),
                            const_cast<char*>(geometry.c_str()),
                            const_cast<char*>("/dev/null"),
                            nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, "grim", nullptr, nullptr, args.data(), environ) != 0) {
            state.SkipWithError("grim cannot be started");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("grim failed");
            return;
        }
    }
}

double minimum(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

constexpr int kSizes[][2] = {{1920, 1080}, {400, 300}};

void registerAll()
{
    auto repeated = [](benchmark::internal::Benchmark* b) {
        b->Repetitions(3)->ComputeStatistics("min", minimum)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
    };
    for (const auto& size : kSizes) {
        repeated(benchmark::RegisterBenchmark("screencopy", BM_Screencopy)->Args({size[0], size[1]}));
        // A portal screenshot goes through a PNG file: a few suffice.
        repeated(benchmark::RegisterBenchmark("portal", BM_Portal)->Args({size[0], size[1]})->Iterations(5));
        repeated(benchmark::RegisterBenchmark("grim process", BM_GrimProcess)->Args({size[0], size[1]}));
    }
}

// Prints the table as usual and then, per size, screencopy beside the portal and grim.
class ComparingReporter : public MinimumTimeReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& size : kSizes) {
            const std::string args = "/" + std::to_string(size[0]) + "/" + std::to_string(size[1]);
            const double screencopy = minimumMilliseconds("screencopy" + args);
            const double portal = minimumMilliseconds("portal" + args);
            const double grim = minimumMilliseconds("grim process" + args);
            if (screencopy == 0) {
                continue;
            }
            std::printf("minimum of 3 runs, %dx%d: screencopy %.2f ms; portal %.2f ms (%.1fx); grim process %.2f ms "
                        "(%.1fx)\n",
                        size[0], size[1], screencopy, portal, portal / screencopy, grim, grim / screencopy);
        }
    }
};

[[noreturn]] void runInWaylandSession(char** argv)
{
    const std::filesystem::path script = std::filesystem::path(ZENTRAP_SOURCE_DIR) / "scripts" / "with-wayland-session";
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    std::vector<char*> args{const_cast<char*>("bash"), const_cast<char*>(script.c_str()),
                            const_cast<char*>(self.c_str())};
    for (char** a = argv + 1; *a != nullptr; ++a) {
        args.push_back(*a);
    }
    args.push_back(nullptr);
    ::execvp("bash", args.data());
    std::perror("bench_wayland_grab: with-wayland-session");
    std::exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland == nullptr || *wayland == '\0') {
        runInWaylandSession(argv);
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    XcbScreenSource x11;
    std::string notOffered;
    std::unique_ptr<ScreencopyScreenSource> screencopy = ScreencopyScreenSource::offered(x11, notOffered);
    if (!screencopy) {
        std::fprintf(stderr, "bench_wayland_grab: %s\n", notOffered.c_str());
        return 1;
    }
    PortalScreenSource portal(x11);
    gScreencopy = screencopy.get();
    gPortal = &portal;
    registerAll();
    benchmark::Initialize(&argc, argv);
    ComparingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

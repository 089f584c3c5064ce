// zentrap-cli as a user runs it, whole processes timed from start to exit: --help, a 1080p BMP
// resized to 720p with the Mitchell filter, and a 4K BMP turned by 90 degrees, each beside
// ImageMagick's convert doing the same in the same run (when it is installed). Targets: --help
// under 3 ms; resize at most 0.4 and rotation at most 0.5 of ImageMagick's time.
#include "bench/support/Corpus.h"
#include "common/AtomicFile.h"
#include "formats/BmpWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct ProcessCost {
    double wallMs = 0;
    double cpuMs = 0;
    bool ok = false;
};

// Runs `argv` with its output thrown away and waits for it.
ProcessCost runProcess(const std::vector<std::string>& argv)
{
    ProcessCost cost;
    auto start = std::chrono::steady_clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> args;
        std::vector<std::string> copies = argv;
        for (std::string& a : copies) {
            args.push_back(a.data());
        }
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    cost.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    cost.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return cost;
}

// ImageMagick 6's own program, not a wrapper in front of it.
std::string imageMagick()
{
    for (const char* candidate : {"/usr/bin/convert-im6.q16", "/usr/bin/convert"}) {
        if (::access(candidate, X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

struct Inputs {
    fs::path folder;
    fs::path hd;  // 1920 x 1080, 24-bit BMP
    fs::path uhd; // 3840 x 2160, 24-bit BMP
};

const Inputs& inputs()
{
    static const Inputs made = [] {
        Inputs in;
        in.folder = fs::temp_directory_path() / ("zentrap-bench-cli-" + std::to_string(::getpid()));
        fs::create_directories(in.folder);
        const Bitmap& photo = corpusImage("photo-1920x1080.png");
        Bitmap uhd(photo.width() * 2, photo.height() * 2);
        for (int i = 0; i < 4; ++i) {
            uhd.copyRect({(i % 2) * photo.width(), (i / 2) * photo.height()}, photo,
                         Rect::fromSize(0, 0, photo.width(), photo.height()));
        }
        in.hd = in.folder / "photo-1080p.bmp";
        in.uhd = in.folder / "photo-2160p.bmp";
        writeFileAtomically(in.hd, [&](ByteSink& sink) { writeBmpFile(photo, sink); });
        writeFileAtomically(in.uhd, [&](ByteSink& sink) { writeBmpFile(uhd, sink); });
        return in;
    }();
    return made;
}

const std::string kCli = std::string(ZENTRAP_BIN_DIR) + "/zentrap-cli";

struct Job {
    std::string name;
    std::vector<std::string> ours;
    std::vector<std::string> peer; // empty: no peer
    double target;                 // ratio to the peer, or milliseconds when there is no peer
};

std::vector<Job> jobs()
{
    const Inputs& in = inputs();
    std::string im = imageMagick();
    fs::path out = in.folder / "out.bmp";
    std::vector<Job> list = {
        {"--help", {kCli, "--help"}, {}, 3.0},
        {"resize 1080p to 720p, Mitchell",
         {kCli, "resize", "--width", "1280", "--height", "720", "--filter", "mitchell", in.hd, out},
         {im, in.hd.string(), "-filter", "Mitchell", "-resize", "1280x720!", out.string()},
         0.4},
        {"rotate 4K by 90",
         {kCli, "rotate", "90", in.uhd, out},
         {im, in.uhd.string(), "-rotate", "90", out.string()},
         0.5},
    };
    if (im.empty()) {
        for (Job& job : list) {
            job.peer.clear();
        }
    }
    return list;
}

std::map<std::string, std::vector<double>> wallTimes;
std::map<std::string, std::vector<double>> cpuTimes;

void BM_Process(benchmark::State& state, std::vector<std::string> argv, const std::string& key)
{
    for (auto _ : state) {
        ProcessCost cost = runProcess(argv);
        if (!cost.ok) {
            state.SkipWithError(("failed: " + argv[0]).c_str());
            return;
        }
        state.SetIterationTime(cost.wallMs / 1e3);
        wallTimes[key].push_back(cost.wallMs);
        cpuTimes[key].push_back(cost.cpuMs);
    }
}

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const std::vector<Job> list = jobs();
    for (const Job& job : list) {
        benchmark::RegisterBenchmark(("zentrap-cli " + job.name).c_str(), BM_Process, job.ours, "ours " + job.name)
            ->UseManualTime()
            ->Iterations(15)
            ->Unit(benchmark::kMillisecond);
        if (!job.peer.empty()) {
            benchmark::RegisterBenchmark(("ImageMagick " + job.name).c_str(), BM_Process, job.peer, "peer " + job.name)
                ->UseManualTime()
                ->Iterations(15)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nzentrap-cli whole-process medians (wall / CPU), beside ImageMagick %s\n",
                imageMagick().empty() ? "(not installed)" : imageMagick().c_str());
    for (const Job& job : list) {
        double wall = median(wallTimes["ours " + job.name]);
        double cpu = median(cpuTimes["ours " + job.name]);
        if (job.peer.empty() && job.target < 1) {
            std::printf("  %-34s %8.2f / %8.2f ms   (no peer to compare with)\n", job.name.c_str(), wall, cpu);
            continue;
        }
        if (job.peer.empty()) {
            std::printf("  %-34s %8.2f / %8.2f ms   target < %.0f ms: %s\n", job.name.c_str(), wall, cpu, job.target,
                        wall < job.target ? "met" : "MISSED");
            continue;
        }
        double peerWall = median(wallTimes["peer " + job.name]);
        double peerCpu = median(cpuTimes["peer " + job.name]);
        double ratio = peerWall > 0 ? wall / peerWall : 0;
        std::printf("  %-34s %8.2f / %8.2f ms   ImageMagick %8.2f / %8.2f ms   ratio %.2f (CPU %.2f), target <= "
                    "%.1f: %s\n",
                    job.name.c_str(), wall, cpu, peerWall, peerCpu, ratio, peerCpu > 0 ? cpu / peerCpu : 0, job.target,
                    ratio <= job.target ? "met" : "MISSED");
    }
    std::error_code ignored;
    fs::remove_all(inputs().folder, ignored);
    return 0;
}

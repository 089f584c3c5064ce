// Reading a settings file at its size cap (16 MB) and writing one value into it: an .ini of
// blank lines, and a hive of sections holding one tiny value each (read, and saved). Besides the
// time, each run reports the memory the operation takes at its peak (peak_mb, the resident size's
// rise from before it) and that as a multiple of the file (peak_per_file). Targets: the .ini and
// the hive's read and save within about 4 x the file, each well under 1 s.
#include "bench/support/PeakMemory.h"
#include "common/SettingsFile.h"
#include "common/SettingsFileText.h"
#include "platform/FileRegistryHive.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <malloc.h>

namespace {

std::string blankIni()
{
    std::string text = "[Edit]\nLeft=1\n";
    text.append(kMaxSettingsFileBytes - 64 - text.size(), '\n');
    return text + "[Save]\nFormat=2\n";
}

std::string tinySectionHive()
{
    std::string text = "REGEDIT4\n\n";
    char line[64];
    for (int key = 0; text.size() < kMaxSettingsFileBytes - 64; ++key) {
        std::snprintf(line, sizeof line, "[HKEY_CURRENT_USER\\%x]\n@=\"\"\n", key);
        text += line;
    }
    return text;
}

// The rise of the resident size over what it was at the start, at its highest in the parts
// measured (each from startPart() to endPart()).
class PeakRise {
public:
    PeakRise() : before_(residentBytes()) {}

    void startPart() { exact_ = resetPeakResident() && exact_; }
    void endPart() { highest_ = std::max(highest_, peakResidentBytes()); }

    void report(benchmark::State& state, size_t fileBytes) const
    {
        const double rise = highest_ > before_ ? static_cast<double>(highest_ - before_) : 0.0;
        state.counters["peak_mb"] = rise / (1024.0 * 1024.0);
        state.counters["peak_per_file"] = rise / static_cast<double>(fileBytes);
        state.counters["file_mb"] = static_cast<double>(fileBytes) / (1024.0 * 1024.0);
        if (!exact_) {
            state.SetLabel("peak of the whole process (the kernel refused to reset it)");
        }
    }

private:
    size_t before_;
    size_t highest_ = 0;
    bool exact_ = true;
};

// Writes the file and frees its text, so that the peaks measured are the reader's and writer's.
size_t writeFile(const std::string& path, std::string text)
{
    std::ofstream(path, std::ios::binary) << text;
    return text.size();
}

std::string benchPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_IniOfBlankLines_ReadAndWrite(benchmark::State& state)
{
    const std::string path = benchPath("zentrap-bench-blank.ini");
    const size_t fileBytes = writeFile(path, blankIni());
    SettingsFile file(path);
    PeakRise peak;
    peak.startPart();
    for (auto _ : state) {
        ProfileText profile = file.read();
        benchmark::DoNotOptimize(ProfileSection(profile, "Save").readInteger("Format", 0));
        file.writeInteger("Save", "Format", 3);
    }
    peak.endPart();
    peak.report(state, fileBytes);
    std::filesystem::remove(path);
}

void BM_HiveOfTinySections_Read(benchmark::State& state)
{
    const std::string path = benchPath("zentrap-bench-tiny.reg");
    const size_t fileBytes = writeFile(path, tinySectionHive());
    PeakRise peak;
    peak.startPart();
    for (auto _ : state) {
        FileRegistryHive hive(path, "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
        benchmark::DoNotOptimize(hive.value("5", ""));
    }
    peak.endPart();
    peak.report(state, fileBytes);
    std::filesystem::remove(path);
}

// The peak counts the hive held while it saves (read beforehand, untimed).
void BM_HiveOfTinySections_Save(benchmark::State& state)
{
    const std::string path = benchPath("zentrap-bench-tiny.reg");
    const size_t fileBytes = writeFile(path, tinySectionHive());
    PeakRise peak;
    for (auto _ : state) {
        state.PauseTiming();
        auto hive = std::make_unique<FileRegistryHive>(path, "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
        hive->setValue("5", "Name", RegValue(std::string("x"))); // the same text from the second save on
        peak.startPart();
        state.ResumeTiming();
        benchmark::DoNotOptimize(hive->flush());
        state.PauseTiming();
        peak.endPart();
        hive.reset();
        state.ResumeTiming();
    }
    peak.report(state, fileBytes);
    std::filesystem::remove(path);
}

} // namespace

BENCHMARK(BM_IniOfBlankLines_ReadAndWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HiveOfTinySections_Read)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HiveOfTinySections_Save)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    // Freed blocks of a megabyte or more go back to the system at once, so that the resident size
    // follows the memory in use (by default the allocator keeps such blocks after the first).
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

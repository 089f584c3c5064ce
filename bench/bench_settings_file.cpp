// Reading a settings file at its size cap (16 MB) and writing one value into it: an .ini of
// blank lines, and a hive of sections holding one tiny value each. Besides the time, each run
// reports the process's peak memory (max_rss_mb) against the file's size. Target: peak memory a
// small multiple of the file, each read or write well under 1 s.
#include "common/SettingsFile.h"
#include "common/SettingsFileText.h"
#include "platform/FileRegistryHive.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>

namespace {

std::string writeFile(const std::string& name, const std::string& text)
{
    std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

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

void reportPeak(benchmark::State& state, size_t fileBytes)
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["max_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["file_mb"] = static_cast<double>(fileBytes) / (1024.0 * 1024.0);
}

void BM_IniOfBlankLines_ReadAndWrite(benchmark::State& state)
{
    const std::string text = blankIni();
    const std::string path = writeFile("zentrap-bench-blank.ini", text);
    SettingsFile file(path);
    for (auto _ : state) {
        ProfileText profile = file.read();
        benchmark::DoNotOptimize(ProfileSection(profile, "Save").readInteger("Format", 0));
        file.writeInteger("Save", "Format", 3);
    }
    reportPeak(state, text.size());
    std::filesystem::remove(path);
}

void BM_HiveOfTinySections_ReadAndWrite(benchmark::State& state)
{
    const std::string text = tinySectionHive();
    const std::string path = writeFile("zentrap-bench-tiny.reg", text);
    for (auto _ : state) {
        FileRegistryHive hive(path, "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
        hive.setValue("5", "Name", RegValue(std::string("x")));
        benchmark::DoNotOptimize(hive.flush());
    }
    reportPeak(state, text.size());
    std::filesystem::remove(path);
}

} // namespace

// The peak is the whole process's: run each alone (--benchmark_filter) for its own figure.
BENCHMARK(BM_IniOfBlankLines_ReadAndWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HiveOfTinySections_ReadAndWrite)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();

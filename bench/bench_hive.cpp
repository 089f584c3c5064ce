// Loading and saving the user hive at its size cap (16 MB): one key holding every value, the
// worst case for a reader that looks values up by scanning, and the same bytes spread over many
// keys. Reading the file's bytes alone is the floor. Target: load and save each under 1 s.
#include "common/RegularFile.h"
#include "common/SettingsFileText.h"
#include "platform/FileRegistryHive.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr std::string_view kZentrapKey = "SOFTWARE\\Morvane\\Zentrap";

// A hive of just under the cap: sections of `valuesPerKey` values each, strings and double
// words mixed, with a comment now and then as a hand-edited file has.
std::string hiveText(int valuesPerKey)
{
    std::string text = "REGEDIT4\n\n";
    const size_t limit = kMaxSettingsFileBytes - 4096;
    char line[128];
    for (int value = 0; text.size() < limit; ++value) {
        if (value % valuesPerKey == 0) {
            std::snprintf(line, sizeof line, "\n[HKEY_CURRENT_USER\\SOFTWARE\\Bench\\Key%05d]\n", value / valuesPerKey);
            text += line;
        }
        if (value % 2) {
            std::snprintf(line, sizeof line, "\"Value%07d\"=dword:%08x\n", value, value * 2654435761u);
        } else {
            std::snprintf(line, sizeof line, "\"Value%07d\"=\"a string of some length, number %d\"\n", value, value);
        }
        text += line;
        if (value % 1000 == 0) {
            text += "; a comment line\n";
        }
    }
    return text;
}

// One file per shape for the whole run.
struct HiveFile {
    explicit HiveFile(int valuesPerKey)
        : path((std::filesystem::temp_directory_path() / ("zentrap-bench-" + std::to_string(valuesPerKey) + ".reg"))
                   .string())
    {
        std::ofstream(path, std::ios::binary) << hiveText(valuesPerKey);
        size = std::filesystem::file_size(path);
    }
    ~HiveFile() { std::filesystem::remove(path); }

    std::string path;
    std::uintmax_t size = 0;
};

constexpr int kOneKey = 1 << 30;
constexpr int kManyKeys = 300;

// The argument is the number of values per key.
const HiveFile& hiveFile(int valuesPerKey)
{
    static HiveFile oneKey(kOneKey);
    static HiveFile manyKeys(kManyKeys);
    return valuesPerKey == kOneKey ? oneKey : manyKeys;
}

void BM_ReadBytesFloor(benchmark::State& state)
{
    const HiveFile& file = hiveFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto bytes = readRegularFile(file.path, kMaxSettingsFileBytes);
        benchmark::DoNotOptimize(bytes.bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
}

void BM_HiveLoad(benchmark::State& state)
{
    const HiveFile& file = hiveFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        FileRegistryHive hive(file.path, "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadOnly);
        benchmark::DoNotOptimize(hive.keyExists("SOFTWARE\\Bench"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
}

// What closing the Remote Control does: load, write its values, save the file.
void BM_HiveLoadAndSave(benchmark::State& state)
{
    const HiveFile& file = hiveFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        FileRegistryHive hive(file.path, "HKEY_CURRENT_USER", FileRegistryHive::Access::ReadWrite);
        hive.createKey(kZentrapKey);
        for (int i = 0; i < 20; ++i) {
            hive.setValue(kZentrapKey, "Setting" + std::to_string(i), static_cast<uint32_t>(i));
        }
        hive.setValue("SOFTWARE\\Bench\\Key00000", "Value0000001", std::string("changed"));
        if (!hive.flush()) {
            state.SkipWithError("flush failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
}

} // namespace

BENCHMARK(BM_ReadBytesFloor)->Arg(kOneKey)->Arg(kManyKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HiveLoad)->Arg(kOneKey)->Arg(kManyKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HiveLoadAndSave)->Arg(kOneKey)->Arg(kManyKeys)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

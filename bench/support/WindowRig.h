// What a window benchmark opens its window with: the fake desktop and a settings file of its own in
// the temporary folder, empty at the start and removed at the end.
#pragma once

#include "common/Bitmap.h"
#include "common/SettingsFile.h"
#include "platform/fake/FakePlatform.h"

#include <filesystem>
#include <string>
#include <utility>

struct WindowRig {
    WindowRig(const std::string& name, Bitmap screenPixels)
        : iniPath((std::filesystem::temp_directory_path() / ("zentrap-bench-" + name + ".ini")).string()), ini(iniPath),
          fakes(std::move(screenPixels))
    {
        std::filesystem::remove(iniPath);
    }
    ~WindowRig() { std::filesystem::remove(iniPath); }
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;

    std::string iniPath;
    SettingsFile ini;
    FakePlatform fakes;
    FileRegistryHive& hive = fakes.userHive;
    FakeScreenSource& screen = fakes.screen;
    Platform& platform = fakes.platform;
};

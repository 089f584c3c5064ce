// The fake desktop of a window test, with short names for the services tests look at most. A
// fixture derives from it (before its own members, which may need the platform).
#pragma once

#include "common/Bitmap.h"
#include "platform/fake/FakePlatform.h"

#include <utility>

struct WindowTestFakes {
    explicit WindowTestFakes(Bitmap screenPixels) : fakes(std::move(screenPixels)) {}

    FakePlatform fakes;
    FileRegistryHive& userHive = fakes.userHive;
    FakeScreenSource& screen = fakes.screen;
    FakeClipboard& clipboard = fakes.clipboard;
    FakeHelpService& help = fakes.help;
    FakeMessageService& messages = fakes.messages;
    Platform& platform = fakes.platform;
};

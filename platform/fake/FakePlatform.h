// Every desktop service as a fake, with an in-memory user hive and no machine hive: the Platform
// that window tests and window benchmarks hand to the windows.
#pragma once

#include "platform/FileRegistryHive.h"
#include "platform/Platform.h"
#include "platform/fake/FakeClipboard.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeHelpService.h"
#include "platform/fake/FakeHotkeyService.h"
#include "platform/fake/FakeKeyWatcher.h"
#include "platform/fake/FakeMessageService.h"
#include "platform/fake/FakePrintService.h"
#include "platform/fake/FakeScreenSource.h"
#include "platform/fake/FakeTrayService.h"
#include "platform/fake/FakeUncoverWatch.h"
#include "platform/fake/FakeWindowManager.h"

#include <string>
#include <utility>

struct FakePlatform {
    explicit FakePlatform(Bitmap screenPixels = Bitmap(640, 480), std::string programFolder = "/opt/zentrap/")
        : screen(std::move(screenPixels)), platform{userHive,  nullptr,      screen,         clipboard,
                                                    help,      messages,     clock,          std::move(programFolder),
                                                    &hotkeys,  &keyWatcher,  &windowManager, &tray,
                                                    &printing, &uncoverWatch}
    {
    }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FileRegistryHive userHive;
    FakeScreenSource screen;
    FakeClipboard clipboard;
    FakeHelpService help;
    FakeMessageService messages;
    FakeClock clock;
    FakeHotkeyService hotkeys;
    FakeKeyWatcher keyWatcher;
    FakePrintService printing;
    FakeTrayService tray;
    FakeWindowManager windowManager;
    FakeUncoverWatch uncoverWatch;
    Platform platform;
};

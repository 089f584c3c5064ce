// The desktop services handed to the windows: the real desktop from DesktopPlatform (app/), fakes
// from FakePlatform (platform/fake/). A new service gets a member here, a real implementation in
// platform/x11/ built by DesktopPlatform and a fake in platform/fake/ held by FakePlatform.
#pragma once

#include "common/RegistryHive.h"
#include "platform/ClipboardService.h"
#include "platform/Clock.h"
#include "platform/HelpService.h"
#include "platform/HotkeyService.h"
#include "platform/KeyWatcher.h"
#include "platform/MessageService.h"
#include "platform/PrintService.h"
#include "platform/ScreenSource.h"
#include "platform/TrayService.h"
#include "platform/UncoverWatch.h"
#include "platform/WindowManager.h"

#include <string>

struct Platform {
    RegistryHive& userHive;
    // Read-only; null when the machine hive does not exist.
    const RegistryHive* machineHive;
    ScreenSource& screen;
    ClipboardService& clipboard;
    HelpService& help;
    MessageService& messages;
    Clock& clock;
    // Folder of the program file, with a trailing '/'.
    std::string programFolder;
    // The keyboard, window-manager and printing services; null where a program or test has none,
    // and the windows then keep only their states.
    HotkeyService* hotkeys = nullptr;
    KeyWatcher* keyWatcher = nullptr;
    WindowManager* windowManager = nullptr;
    // Null: the application runs without a notification-area icon.
    TrayService* tray = nullptr;
    PrintService* printing = nullptr;
    // Null: a window hidden for a capture waits the full repaint time.
    UncoverWatch* uncoverWatch = nullptr;
    // The screen's pixels per inch that windows lay themselves out at; 0: the toolkit's screen.
    int pixelsPerInch = 0;
};

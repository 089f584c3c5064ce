// The desktop services handed to the windows: real ones in main(), fakes in tests.
#pragma once

#include "common/RegistryHive.h"
#include "platform/ClipboardService.h"
#include "platform/HelpService.h"
#include "platform/HotkeyService.h"
#include "platform/KeyWatcher.h"
#include "platform/MessageService.h"
#include "platform/ScreenSource.h"
#include "platform/WindowManager.h"

#include <string>

class TrayService;

struct Platform {
    RegistryHive& userHive;
    // Read-only; null when the machine hive does not exist.
    const RegistryHive* machineHive;
    ScreenSource& screen;
    ClipboardService& clipboard;
    HelpService& help;
    MessageService& messages;
    // Folder of the program file, with a trailing '/'.
    std::string programFolder;
    // The keyboard and window-manager services; null where a program or test has none, and the
    // windows then keep only their states.
    HotkeyService* hotkeys = nullptr;
    KeyWatcher* keyWatcher = nullptr;
    WindowManager* windowManager = nullptr;
    // Null: the application runs without a notification-area icon.
    TrayService* tray = nullptr;
};

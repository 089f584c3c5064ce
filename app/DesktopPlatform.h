// The real desktop: the settings hives in their files, the X11 screen and window manager, the
// clipboard with the program's BMP and PNG writers, the help window, message boxes and printers. The program,
// the test harness programs and the benchmarks all take their Platform from here.
#pragma once

#include "platform/Platform.h"

#include <memory>
#include <string>

class FileRegistryHive;
class X11ClipboardService;

struct DesktopPlatformOptions {
    // The folder of the program file, with a trailing '/'.
    std::string programFolder;
    // False: an empty user hive in memory and no machine hive (benchmarks).
    bool useHiveFiles = true;
    // False: no system-wide hotkeys and no PrintScreen watch (benchmarks must not take keys).
    bool globalKeys = true;
    // Stand-ins for the help window and the message boxes (benchmarks must never wait for a box).
    HelpService* help = nullptr;
    MessageService* messages = nullptr;
    // The notification-area icon, made by the program with its picture; null: none.
    TrayService* tray = nullptr;
};

class DesktopPlatform {
public:
    explicit DesktopPlatform(DesktopPlatformOptions options);
    ~DesktopPlatform();
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    Platform& platform() { return *platform_; }
    FileRegistryHive& userHive();
    // The clipboard's hand-over at start and at exit.
    X11ClipboardService& clipboard();

private:
    struct Services;
    std::unique_ptr<Services> services_;
    std::unique_ptr<Platform> platform_;
};

// The Remote Control's persisted values: their names, kinds, defaults and the order in which they
// are read at creation and written at destruction.
#pragma once

#include "common/Geometry.h"
#include "platform/Shortcut.h"

#include <cstdint>
#include <string>

class SettingsKey;

struct RemoteControlSettings {
    Point position;
    bool updateRulers = true;
    bool showRulers = true;
    bool usePrintScreen = true;
    bool hideRemote = true;
    bool exitConfirmation = true;
    bool trayMinimize = false;
    bool showHint = true;
    std::string skin;
    Shortcut hkCapture = 0x6043;
    Shortcut hkFullScreen = 0x6046;
    Shortcut hkEdit = 0x6045;
    Shortcut hkSave = 0x6053;
    Shortcut hkPrint = 0x6050;
    bool globalHotkeys = true;
    bool captureCursor = true;
    // Full-screen mode takes every monitor rather than the Remote Control's.
    bool fullScreenAllMonitors = false;
};

// The stored name of the hotkeys' enabled state: read at creation and written (with the second,
// older name as well) at destruction, so that switching the hotkeys off survives a restart.
inline constexpr const char* kGlobalHotkeysName = "GlobalHotkeys";
inline constexpr const char* kGlobalHotkeysSecondName = "FGlobalHotkeys";
// Whether full-screen mode takes all monitors (else the one holding the Remote Control).
inline constexpr const char* kFullScreenAllMonitorsName = "FullScreenAllMonitors";

// The default position centres the 100 x 260 window on the primary monitor.
Point defaultRemoteControlPosition(const Rect& primaryMonitor);

// Reads every value; `key` falls back to the machine-wide key by itself.
RemoteControlSettings readRemoteControlSettings(const SettingsKey& key, const Rect& primaryMonitor);

// Writes every value, always in the same order; the hotkeys' enabled state goes under both
// "FGlobalHotkeys" and "GlobalHotkeys".
void writeRemoteControlSettings(SettingsKey& key, const RemoteControlSettings& settings);

// The Remote Control's persisted values: the record, its defaults and the table of their stored
// names (read at creation, written at destruction; app/StoredSettings.h lists the table).
#pragma once

#include "app/CommandTable.h"
#include "common/Geometry.h"
#include "common/SettingTable.h"
#include "hotkeys/GlobalHotkeys.h"
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
    // In identifier order (kHotkeyCapture first).
    HotkeyShortcuts hotkeys = defaultHotkeys();
    bool globalHotkeys = true;
    bool captureCursor = true;
    // Full-screen mode takes every monitor rather than the Remote Control's.
    bool fullScreenAllMonitors = false;

    bool operator==(const RemoteControlSettings&) const = default;
};

// Every stored value, in the order they are written. The hotkeys' enabled state has two rows: one
// read and written, and an older name only written, for readers that know it by that name.
SettingTable<RemoteControlSettings> remoteControlSettingsTable();

// The default position centres the 100 x 260 window on the primary monitor.
Point defaultRemoteControlPosition(const Rect& primaryMonitor);

// Reads every value; `key` falls back to the machine-wide key by itself.
RemoteControlSettings readRemoteControlSettings(const SettingsKey& key, const Rect& primaryMonitor);

// Writes every value, always in the table's order.
void writeRemoteControlSettings(SettingsKey& key, const RemoteControlSettings& settings);

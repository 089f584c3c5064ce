#include "app/RemoteControlSettings.h"

#include "common/SettingsStore.h"

namespace {

// The hotkeys' stored names, in identifier order.
constexpr const char* kHotkeyNames[kHotkeyCount] = {"FHKCapture", "FHKFullScreen", "FHKEdit", "FHKSave", "FHKPrint"};

} // namespace

Point defaultRemoteControlPosition(const Rect& primaryMonitor)
{
    // "div" rounds toward zero, as C++ integer division does.
    return {primaryMonitor.left + primaryMonitor.width() / 2 - 50,
            primaryMonitor.top + primaryMonitor.height() / 2 - 130};
}

RemoteControlSettings readRemoteControlSettings(const SettingsKey& key, const Rect& primaryMonitor)
{
    const Point centred = defaultRemoteControlPosition(primaryMonitor);
    RemoteControlSettings s;
    s.position.x = key.readInteger("Left", centred.x);
    s.position.y = key.readInteger("Top", centred.y);
    s.updateRulers = key.readBoolean("UpdateRulers", true);
    s.showRulers = key.readBoolean("ShowRulers", true);
    s.usePrintScreen = key.readBoolean("UsePrintScreen", true);
    s.hideRemote = key.readBoolean("HideRemote", true);
    s.exitConfirmation = key.readBoolean("ExitConfirmation", true);
    s.trayMinimize = key.readBoolean("TrayMinimize", false);
    s.showHint = key.readBoolean("ShowHint", true);
    s.skin = key.readString("Skin", "");
    const HotkeyShortcuts defaults = defaultHotkeys();
    for (size_t slot = 0; slot < defaults.size(); ++slot) {
        s.hotkeys[slot] = shortcutFromStored(key.readInteger(kHotkeyNames[slot], defaults[slot]));
    }
    s.globalHotkeys = key.readBoolean(kGlobalHotkeysName, true);
    s.captureCursor = key.readBoolean("FCursor", true);
    s.fullScreenAllMonitors = key.readBoolean(kFullScreenAllMonitorsName, false);
    return s;
}

void writeRemoteControlSettings(SettingsKey& key, const RemoteControlSettings& s)
{
    key.writeBoolean("FCursor", s.captureCursor);
    key.writeBoolean(kGlobalHotkeysSecondName, s.globalHotkeys);
    key.writeBoolean("ShowRulers", s.showRulers);
    key.writeBoolean("UpdateRulers", s.updateRulers);
    key.writeBoolean("HideRemote", s.hideRemote);
    key.writeBoolean("ExitConfirmation", s.exitConfirmation);
    key.writeBoolean("TrayMinimize", s.trayMinimize);
    key.writeBoolean("ShowHint", s.showHint);
    key.writeBoolean("UsePrintScreen", s.usePrintScreen);
    key.writeBoolean(kGlobalHotkeysName, s.globalHotkeys);
    key.writeString("Skin", s.skin);
    key.writeInteger("Top", s.position.y);
    key.writeInteger("Left", s.position.x);
    for (size_t slot = 0; slot < s.hotkeys.size(); ++slot) {
        key.writeInteger(kHotkeyNames[slot], s.hotkeys[slot]);
    }
    key.writeBoolean(kFullScreenAllMonitorsName, s.fullScreenAllMonitors);
}

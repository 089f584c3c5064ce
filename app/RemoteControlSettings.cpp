#include "app/RemoteControlSettings.h"

#include "common/SettingsStore.h"

namespace {

Shortcut readShortcut(const SettingsKey& key, const char* name, Shortcut defaultValue)
{
    return shortcutFromStored(key.readInteger(name, defaultValue));
}

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
    s.hkCapture = readShortcut(key, "FHKCapture", 0x6043);
    s.hkFullScreen = readShortcut(key, "FHKFullScreen", 0x6046);
    s.hkEdit = readShortcut(key, "FHKEdit", 0x6045);
    s.hkSave = readShortcut(key, "FHKSave", 0x6053);
    s.hkPrint = readShortcut(key, "FHKPrint", 0x6050);
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
    key.writeInteger("FHKCapture", s.hkCapture);
    key.writeInteger("FHKFullScreen", s.hkFullScreen);
    key.writeInteger("FHKEdit", s.hkEdit);
    key.writeInteger("FHKSave", s.hkSave);
    key.writeInteger("FHKPrint", s.hkPrint);
    key.writeBoolean(kFullScreenAllMonitorsName, s.fullScreenAllMonitors);
}

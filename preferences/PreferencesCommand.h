// The Preferences command without its window: what the window is filled with, and the order in
// which an accepted window is applied to the Remote Control, the Capture Frame and the desktop.
#pragma once

#include "app/RemoteControlSettings.h"
#include "hotkeys/GlobalHotkeys.h"

#include <optional>
#include <string>

// What the Preferences window shows and hands back: a copy of the Remote Control's options and
// the Capture Frame's unit.
struct PreferencesValues {
    RemoteControlSettings options;
    // 0 pixels, 1 inches, 2 centimetres; nothing when no unit is ticked.
    std::optional<int> unit;
    // "Update rulers while dragging" is ticked and greyed while the desktop drags full windows.
    bool updateRulersLocked = false;
};

// The Remote Control as the Preferences command reaches it.
class PreferencesHost {
public:
    virtual ~PreferencesHost() = default;

    // The fields as a settings object: hotkeys' enabled state, PrintScreen watch and tooltips
    // included (the position is not used).
    virtual RemoteControlSettings currentOptions() const = 0;
    virtual bool dragFullWindows() const = 0;
    virtual std::optional<int> frameUnit() const = 0;
    // Runs the Capture Frame's unit menu item, which sets its unit and repaints it.
    virtual void chooseFrameUnit(int unit) = 0;
    virtual void setShortcuts(const HotkeyShortcuts& shortcuts) = 0;
    virtual void setReportHotkeyFailures(bool report) = 0;
    virtual void setHotkeysEnabled(bool enable) = 0;
    virtual void setCaptureCursor(bool on) = 0;
    virtual void setShowRulers(bool on) = 0;
    virtual void setUpdateRulers(bool on) = 0;
    // The Capture Frame takes the "Update rulers while dragging" option into its mouse handling.
    virtual void applyDragOption() = 0;
    virtual void setShowHint(bool on) = 0;
    virtual void setPrintScreenWatch(bool on) = 0;
    virtual void setHideRemote(bool on) = 0;
    virtual void setExitConfirmation(bool on) = 0;
    virtual void setTrayMinimize(bool on) = 0;
    virtual void setFullScreenAllMonitors(bool on) = 0;
    // Shows the warning itself when the file cannot be used.
    virtual void loadSkin(const std::string& path) = 0;
    virtual void setSkin(const std::string& path) = 0;
};

// The window's contents. Switches the hotkeys off afterwards (so that combinations typed into a
// hotkey field reach the field) and returns their state before, for the Cancel path.
PreferencesValues fillPreferences(PreferencesHost& host, bool& hotkeysWereEnabled);

// "OK": unit, shortcuts, hotkeys (refusals reported), cursor, rulers, the drag option unless the
// desktop drags full windows, tooltips, PrintScreen watch, hide, exit question, tray, full-screen
// monitors, skin.
void applyPreferences(PreferencesHost& host, const PreferencesValues& values);

// "Cancel": the hotkeys come back as they were, with their old shortcuts; nothing else changes.
void cancelPreferences(PreferencesHost& host, bool hotkeysWereEnabled);

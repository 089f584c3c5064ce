#include "app/RemoteControlSettings.h"

#include "common/SettingField.h"
#include "common/SettingsStore.h"
#include "common/WindowPlacement.h"

namespace {

using Settings = RemoteControlSettings;

int& left(Settings& s)
{
    return s.position.x;
}

int& top(Settings& s)
{
    return s.position.y;
}

template <size_t Slot> Shortcut& hotkey(Settings& s)
{
    return s.hotkeys[Slot];
}

// A stored number outside 16 bits is no shortcut at all (0, which no desktop accepts), rather than
// an unrelated combination made of its low bits.
constexpr int64_t kNoShortcut = 0;
constexpr int64_t kLargestShortcut = 0xFFFF;

// Hotkeys in identifier order (kHotkeyCapture first).
const SettingRow<Settings> kRows[] = {
    {"FCursor", settingField<&Settings::captureCursor>},
    {"FGlobalHotkeys", settingField<&Settings::globalHotkeys>, INT32_MIN, INT32_MAX, {}, OutOfRange::Default, true},
    {"ShowRulers", settingField<&Settings::showRulers>},
    {"UpdateRulers", settingField<&Settings::updateRulers>},
    {"HideRemote", settingField<&Settings::hideRemote>},
    {"ExitConfirmation", settingField<&Settings::exitConfirmation>},
    {"TrayMinimize", settingField<&Settings::trayMinimize>},
    {"ShowHint", settingField<&Settings::showHint>},
    {"UsePrintScreen", settingField<&Settings::usePrintScreen>},
    {"GlobalHotkeys", settingField<&Settings::globalHotkeys>},
    {"Skin", settingField<&Settings::skin>},
    // Written where the window placements write theirs, with their names and range.
    positionRow<Settings>(PositionAxis::Top, &top),
    positionRow<Settings>(PositionAxis::Left, &left),
    {"FHKCapture", &hotkey<0>, kNoShortcut, kLargestShortcut, {}, OutOfRange::Low},
    {"FHKFullScreen", &hotkey<1>, kNoShortcut, kLargestShortcut, {}, OutOfRange::Low},
    {"FHKEdit", &hotkey<2>, kNoShortcut, kLargestShortcut, {}, OutOfRange::Low},
    {"FHKSave", &hotkey<3>, kNoShortcut, kLargestShortcut, {}, OutOfRange::Low},
    {"FHKPrint", &hotkey<4>, kNoShortcut, kLargestShortcut, {}, OutOfRange::Low},
    {"FullScreenAllMonitors", settingField<&Settings::fullScreenAllMonitors>},
};
static_assert(kHotkeyCount == 5, "one row per hotkey");

} // namespace

SettingTable<RemoteControlSettings> remoteControlSettingsTable()
{
    return kRows;
}

Point defaultRemoteControlPosition(const Rect& primaryMonitor)
{
    // "div" rounds toward zero, as C++ integer division does.
    return {primaryMonitor.left + primaryMonitor.width() / 2 - 50,
            primaryMonitor.top + primaryMonitor.height() / 2 - 130};
}

RemoteControlSettings readRemoteControlSettings(const SettingsKey& key, const Rect& primaryMonitor)
{
    RemoteControlSettings defaults;
    defaults.position = defaultRemoteControlPosition(primaryMonitor);
    return readSettings(key, remoteControlSettingsTable(), defaults);
}

void writeRemoteControlSettings(SettingsKey& key, const RemoteControlSettings& settings)
{
    writeSettings(key, remoteControlSettingsTable(), settings);
}

#include "preferences/PreferencesCommand.h"

PreferencesValues fillPreferences(PreferencesHost& host, bool& hotkeysWereEnabled)
{
    PreferencesValues values;
    values.unit = host.frameUnit();
    values.options = host.currentOptions();
    hotkeysWereEnabled = values.options.globalHotkeys;
    host.setHotkeysEnabled(false);
    values.updateRulersLocked = host.dragFullWindows();
    if (values.updateRulersLocked) {
        values.options.updateRulers = true;
    }
    return values;
}

void applyPreferences(PreferencesHost& host, const PreferencesValues& values)
{
    const RemoteControlSettings& o = values.options;
    if (values.unit && *values.unit >= 0 && *values.unit <= 2) {
        host.chooseFrameUnit(*values.unit);
    }
    host.setShortcuts({o.hkCapture, o.hkFullScreen, o.hkEdit, o.hkSave, o.hkPrint});
    host.setReportHotkeyFailures(true);
    host.setHotkeysEnabled(o.globalHotkeys);
    host.setReportHotkeyFailures(false);
    host.setCaptureCursor(o.captureCursor);
    host.setShowRulers(o.showRulers);
    if (!values.updateRulersLocked) {
        host.setUpdateRulers(o.updateRulers);
        host.applyDragOption();
    }
    host.setShowHint(o.showHint);
    host.setPrintScreenWatch(o.usePrintScreen);
    host.setHideRemote(o.hideRemote);
    host.setExitConfirmation(o.exitConfirmation);
    host.setTrayMinimize(o.trayMinimize);
    host.setFullScreenAllMonitors(o.fullScreenAllMonitors);
    host.loadSkin(o.skin);
    host.setSkin(o.skin);
}

void cancelPreferences(PreferencesHost& host, bool hotkeysWereEnabled)
{
    host.setHotkeysEnabled(hotkeysWereEnabled);
}

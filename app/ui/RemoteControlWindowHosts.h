// The Remote Control as each of its controllers and services sees it: one small object per
// interface, owned by the window, so the window answers none of them in public. Included by the
// window's own sources only.
#pragma once

#include "app/CaptureFlow.h"
#include "app/CloseRequest.h"
#include "app/MinimizeRestore.h"
#include "app/ui/RemoteControlWindow.h"
#include "capture/FrameHost.h"
#include "hotkeys/HotkeyDispatch.h"
#include "preferences/PreferencesCommand.h"

// What the Capture Frame asks: the ruler options, its forwarded keys and its close request.
class RemoteControlWindow::AsFrameHost : public FrameHost {
public:
    explicit AsFrameHost(RemoteControlWindow& window) : window_(window) {}

    bool updateRulers() const override { return window_.settings_.updateRulers; }
    bool showRulers() const override { return window_.settings_.showRulers; }
    void processPendingPaint() override { window_.repaint(); }
    bool frameKey(int virtualKey, KeyModifiers modifiers) override;
    void frameCloseRequest() override;

private:
    RemoteControlWindow& window_;
};

// What the steps around a modal window and the close request change: frame, hotkeys, tray menu,
// the exit question.
class RemoteControlWindow::AsModalHost : public CloseRequestHost {
public:
    explicit AsModalHost(RemoteControlWindow& window) : window_(window) {}

    bool frameVisible() const override { return window_.frameVisible(); }
    void setFrameVisible(bool visible) override { window_.setFrameVisible(visible); }
    bool hotkeysEnabled() const override { return window_.hotkeysEnabled(); }
    void setHotkeysEnabled(bool enabled) override { window_.setHotkeysEnabled(enabled); }
    void disableTrayMenu() override { window_.setImageWindowOpen(true); }
    void enableTrayMenu() override { window_.setImageWindowOpen(false); }
    void repaintRemote() override { window_.update(); }
    void takeKeyboardBack() override;
    ExitQuestionAnswer askExitQuestion(const std::string& caption) override;
    void abandonExitQuestion() override;

private:
    RemoteControlWindow& window_;
};

// The window manager's side of minimising and restoring, and the Capture Frame meanwhile.
class RemoteControlWindow::AsMinimizeHost : public MinimizeHost {
public:
    explicit AsMinimizeHost(RemoteControlWindow& window) : window_(window) {}

    bool frameShown() const override;
    void showFrame(bool shown) override;
    void minimizeWindow() override;
    void restoreWindow() override;
    void leaveTaskbar() override;
    void returnFromTray() override;

private:
    RemoteControlWindow& window_;
};

// What a capture does to the window: off the screen and back, the thumbnail, the enabled commands.
class RemoteControlWindow::AsCaptureView : public CaptureView {
public:
    explicit AsCaptureView(RemoteControlWindow& window) : window_(window) {}

    bool remoteOnScreen() const override { return !window_.minimized() && window_.isVisible(); }
    FramedWindow remoteOnScreenBounds() const override;
    void hideRemote() override { window_.hide(); }
    void showRemote() override { window_.show(); }
    void repaintRemote() override { window_.update(); }
    void showThumbnail(const Bitmap& image) override;
    void imageCaptured() override;
    void screenUnreadable() override;

private:
    RemoteControlWindow& window_;
};

// The Remote Control as a hotkey press, or a command from a later start, sees it.
class RemoteControlWindow::AsHotkeyTarget : public HotkeyTarget {
public:
    explicit AsHotkeyTarget(RemoteControlWindow& window) : window_(window) {}

    bool hotkeysBlocked() const override;
    bool minimized() const override { return window_.minimized(); }
    bool trayMinimize() const override { return window_.settings_.trayMinimize; }
    // Both come back through the minimise state, which knows whether the window left the desktop.
    void showFromTray() override { window_.restoreApplication(); }
    void restoreApplication() override { window_.restoreApplication(); }
    void bringToFront() override { window_.bringToFront(); }
    void runCommand(Command command) override { window_.runCommand(command); }

private:
    RemoteControlWindow& window_;
};

// The Remote Control and its Capture Frame as the Preferences command reads and changes them.
class RemoteControlWindow::AsPreferencesHost : public PreferencesHost {
public:
    explicit AsPreferencesHost(RemoteControlWindow& window) : window_(window) {}

    RemoteControlSettings currentOptions() const override { return window_.currentSettings(); }
    bool dragFullWindows() const override { return window_.dragFullWindows_; }
    std::optional<int> frameUnit() const override;
    void chooseFrameUnit(int unit) override;
    void setShortcuts(const HotkeyShortcuts& shortcuts) override { window_.settings_.hotkeys = shortcuts; }
    void setReportHotkeyFailures(bool report) override { window_.reportHotkeyFailures_ = report; }
    void setHotkeysEnabled(bool enable) override { window_.setHotkeysEnabled(enable); }
    void setCaptureCursor(bool on) override { window_.settings_.captureCursor = on; }
    void setShowRulers(bool on) override { window_.settings_.showRulers = on; }
    void setUpdateRulers(bool on) override { window_.settings_.updateRulers = on; }
    void applyDragOption() override;
    void setShowHint(bool on) override { window_.setShowHint(on); }
    void setPrintScreenWatch(bool on) override { window_.setPrintScreenWatch(on); }
    void setHideRemote(bool on) override { window_.settings_.hideRemote = on; }
    void setFullScreenAllMonitors(bool on) override { window_.settings_.fullScreenAllMonitors = on; }
    void setExitConfirmation(bool on) override { window_.settings_.exitConfirmation = on; }
    void setTrayMinimize(bool on) override { window_.settings_.trayMinimize = on; }
    void loadSkin(const std::string& path) override { window_.loadSkin(path); }
    void setSkin(const std::string& path) override { window_.settings_.skin = path; }

private:
    RemoteControlWindow& window_;
};

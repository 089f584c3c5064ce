// The Remote Control (RemoteControlWindow): the application's main window. It owns the captured image,
// persists its settings, and runs every command on the image.
#pragma once

#include "app/CaptureFlow.h"
#include "app/CaptureSession.h"
#include "app/CloseRequest.h"
#include "app/CommandTable.h"
#include "app/MinimizeRestore.h"
#include "app/ModalBracket.h"
#include "app/RemoteControlSettings.h"
#include "app/ui/CaptureCountdown.h"
#include "app/ui/RemoteControlActions.h"
#include "app/ui/RemoteControlMenus.h"
#include "app/ui/RemoteWindowFactories.h"
#include "common/Bitmap.h"
#include "hotkeys/GlobalHotkeys.h"
#include "platform/MapPlacement.h"

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

struct Platform;
class CaptureFrameLink;
class FrameHost;
class ExitQuestionDialog;
class QDialog;
class ThumbnailBox;

class RemoteControlWindow : public QWidget {
public:
    // Reads the settings, shapes the window and places it, registers the hotkeys and starts the
    // PrintScreen watch; the Capture Frame is attached later (it is created after the Remote Control).
    RemoteControlWindow(Platform& platform, RemoteWindowFactories windows = {}, QWidget* parent = nullptr);
    // Writes the settings, stops the PrintScreen watch, closes the help windows and switches the
    // hotkeys off.
    ~RemoteControlWindow() override;

    // Joins the Capture Frame (null parts them, before the frame goes).
    void attachFrame(CaptureFrameLink* frame);
    // What the Capture Frame asks of the Remote Control (rulers, forwarded keys, close requests).
    FrameHost& frameHost();

    // A command asked from outside the window (an action sent by a later start of the program): it
    // comes forward and runs it, as for a hotkey.
    void runFromOutside(Command command);
    // Another start of the program asked for this one: restored if minimised, in front of the
    // others with the keyboard focus.
    void comeForward();
    // The desktop session is ending or the program was told to stop: no question is asked (an
    // open one is closed) and the program ends; the settings are written as at every exit.
    void endWithoutAsking();
    // Writes the Remote Control's values now (they are written at destruction as well).
    void saveSettings();
    // After a change of monitors: back onto the primary monitor when no monitor shows enough of it.
    void keepOnMonitors();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The Remote Control as each of its controllers and services sees it: small objects that
    // answer one interface each (app/ui/RemoteControlWindowHosts.h).
    class AsFrameHost;
    class AsModalHost;
    class AsMinimizeHost;
    class AsCaptureView;
    class AsHotkeyTarget;
    class AsPreferencesHost;

    // Runs `command` as its button, menu item, key or hotkey does: the one way in for all of them
    // (a disabled command does nothing, a toggle flips).
    void runCommand(Command command);
    // Runs the command of an action that has just been triggered.
    void perform(Command command);
    // A window that must be answered is open (this program's, modal).
    bool modalWindowOpen() const;
    // The image windows and the exit question leave only "Help" in the tray menu.
    void setImageWindowOpen(bool open);
    // Every command's enabled state, from the capture state and the open windows.
    void updateEnabledStates();
    bool commandAvailable(const CommandRow& row) const;

    // The commands, run through perform().
    void capture();
    void fullScreenChanged();
    void timerChanged();
    void saveAsCommand();
    void printCommand();
    void editCommand();
    void preferencesCommand();
    void viewCommand();
    void aboutCommand();
    void helpCommand();
    void minimizeRestoreCommand();
    void openSystemMenu();
    void openTrayMenu(const QPoint& globalPos);

    // A press of hotkey `id` (101 Capture ... 105 Print).
    void hotkeyPressed(int id);
    // Brings the application back when it is minimised (also the hotkeys' first step).
    void restoreApplication();
    // In front of the other windows with the keyboard focus.
    void bringToFront();
    bool minimized() const { return minimizing_.minimized(); }
    bool fullScreenMode() const;
    bool timerDown() const;
    bool hotkeysEnabled() const { return hotkeys_.enabled(); }
    void setHotkeysEnabled(bool enable);
    // The Capture Frame's visibility as the rest of the application sees it (kept across a
    // minimise).
    bool frameVisible() const;
    void setFrameVisible(bool visible);
    // Tooltips on the controls.
    void setShowHint(bool on);
    // Starts or stops the PrintScreen watch.
    void setPrintScreenWatch(bool on);
    // Shows the skin picture at `path` as the body; an empty path keeps the body as it is, and a
    // file that cannot be a skin keeps it too, after a warning.
    void loadSkin(const std::string& path);
    // The options as the settings store keeps them (the window's position included).
    RemoteControlSettings currentSettings() const;

    void createControls();
    void connectCommands();
    void shapeWindow();
    void readSettings();
    void writeSettings();
    void applyShowHint();
    void refreshThumbnail();
    // Where the window goes from `position`: there, or centred on the primary monitor when no
    // monitor would show enough of it.
    Rect placementOnMonitors(Point position) const;
    // The point whose monitor full-screen mode takes.
    Point workingPoint() const;
    bool closeRequestGranted();
    // Runs one modal window of the table inside its own bracket; exceptions are reported.
    void runModal(const ModalWindowKind& kind, const std::function<std::unique_ptr<QDialog>()>& make);
    // Our windows stay above other programs' always-on-top windows, as the Remote Control does. While
    // it is off the desktop (minimised to the tray) the window manager no longer stacks its windows
    // with it, so a window opened then asks for that itself.
    void keepAboveWhileHidden(QWidget& window) const;
    // Runs the window made by `make` inside `bracket` (null: no window).
    int runDialog(ModalBracket& bracket, const ModalWindowKind& kind,
                  const std::function<std::unique_ptr<QDialog>()>& make);
    void reportFailure(const char* what);
    ModalWindowContext modalContext();
    void connectTrayIcon();
    // Where the window stands on the screen, in the X server's word where a compositor may have
    // refused or changed a move that Qt believes done.
    QPoint placedPosition() const;

    Platform& platform_;
    MapPlacement mapPlacement_;
    RemoteWindowFactories windows_;
    CaptureSession session_;
    // The stored options as they stand; the position and the hotkeys' state are taken from the
    // window itself when written.
    RemoteControlSettings settings_;
    GlobalHotkeys hotkeys_;
    CaptureFrameLink* frame_ = nullptr;
    std::string helpFilePath_;
    RemoteControlActions actions_;
    RemoteControlMenus menus_;
    // Made before the controllers that hold them.
    std::unique_ptr<AsFrameHost> asFrameHost_;
    std::unique_ptr<AsModalHost> asModalHost_;
    std::unique_ptr<AsMinimizeHost> asMinimizeHost_;
    std::unique_ptr<AsCaptureView> asCaptureView_;
    CaptureFlow captureFlow_;
    MinimizeRestore minimizing_;
    CloseRequest closeRequest_;
    QPixmap body_;
    ThumbnailBox* thumbnail_ = nullptr;
    std::unique_ptr<CaptureCountdown> countdown_;
    bool captured_ = false;
    bool imageWindowOpen_ = false;
    bool closeAfterCapture_ = false;
    bool dragFullWindows_ = false;
    bool reportHotkeyFailures_ = false;
    std::optional<QPoint> dragStart_;
    ExitQuestionDialog* exitQuestion_ = nullptr;
};

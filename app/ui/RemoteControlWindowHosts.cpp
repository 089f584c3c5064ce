#include "app/ui/RemoteControlWindowHosts.h"

#include "app/CaptureFrameLink.h"
#include "app/ui/ExitQuestionDialog.h"
#include "app/ui/ThumbnailBox.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QTimer>

// --- The Capture Frame's host ----------------------------------------------------------------

bool RemoteControlWindow::AsFrameHost::frameKey(int virtualKey, KeyModifiers modifiers)
{
    const std::optional<Command> command = commandForKey(virtualKey, modifiers, KeySource::CaptureFrame);
    if (!command) {
        return false;
    }
    // A modal window blocks only its own owners, so the frame can still be reached while one of
    // the program's messages is open; its keys do nothing until that window is closed.
    if (!window_.modalWindowOpen()) {
        window_.runCommand(*command);
    }
    return true;
}

void RemoteControlWindow::AsFrameHost::frameCloseRequest()
{
    if (!window_.modalWindowOpen()) {
        window_.close();
    }
}

// --- Modal windows and the exit question -----------------------------------------------------

void RemoteControlWindow::AsModalHost::takeKeyboardBack()
{
    // The Capture Frame, shown again a moment ago, would otherwise keep the keyboard.
    if (!window_.minimized()) {
        window_.bringToFront();
    }
}

ExitQuestionAnswer RemoteControlWindow::AsModalHost::askExitQuestion(const std::string& caption)
{
    ExitQuestionDialog dialog(window_.platform_, window_.helpFilePath_, &window_);
    dialog.setWindowTitle(QString::fromStdString(caption));
    window_.keepAboveWhileHidden(dialog);
    window_.exitQuestion_ = &dialog;
    const int result = dialog.exec();
    window_.exitQuestion_ = nullptr;
    return {result == QDialog::Accepted, dialog.doNotShowAgain()};
}

void RemoteControlWindow::AsModalHost::abandonExitQuestion()
{
    if (window_.exitQuestion_ != nullptr) {
        window_.exitQuestion_->reject();
    }
}

// --- Minimising ------------------------------------------------------------------------------

bool RemoteControlWindow::AsMinimizeHost::frameShown() const
{
    return window_.frame_ != nullptr && window_.frame_->isShown();
}

void RemoteControlWindow::AsMinimizeHost::showFrame(bool shown)
{
    if (window_.frame_ != nullptr) {
        window_.frame_->setShown(shown);
    }
}

void RemoteControlWindow::AsMinimizeHost::minimizeWindow()
{
    // Asked of the window manager as its own button asks: Qt's minimising leaves the window
    // marked to start minimised, and every capture after a restore by the taskbar would then
    // bring it back minimised.
    if (window_.platform_.windowManager != nullptr) {
        window_.platform_.windowManager->minimize(window_.winId());
    } else {
        window_.showMinimized();
    }
}

void RemoteControlWindow::AsMinimizeHost::restoreWindow()
{
    window_.showNormal();
    window_.raise();
    window_.activateWindow();
}

void RemoteControlWindow::AsMinimizeHost::leaveTaskbar()
{
    // Taken off the desktop once the window manager has finished minimising: a withdrawn window
    // has no taskbar entry under any window manager.
    RemoteControlWindow& window = window_;
    QTimer::singleShot(0, &window, [&window] {
        if (window.minimized() && window.minimizing_.leftTaskbar()) {
            window.hide();
        }
    });
}

void RemoteControlWindow::AsMinimizeHost::returnFromTray()
{
    // Mapped by show() first, which states "always on top" to the window manager again (it
    // forgets the states of a withdrawn window); clearing the minimised state first would map
    // the window without them.
    window_.show();
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    if (window_.platform_.windowManager != nullptr) {
        window_.platform_.windowManager->clearMinimized(window_.winId());
    }
    window_.raise();
    window_.activateWindow();
}

// --- Captures --------------------------------------------------------------------------------

FramedWindow RemoteControlWindow::AsCaptureView::remoteOnScreenBounds() const
{
    if (window_.platform_.windowManager != nullptr) {
        if (const std::optional<FramedWindow> framed = window_.platform_.windowManager->framedWindow(window_.winId())) {
            return *framed;
        }
    }
    const QRect bounds = window_.frameGeometry();
    return {window_.winId(), Rect::fromSize(bounds.x(), bounds.y(), bounds.width(), bounds.height())};
}

void RemoteControlWindow::AsCaptureView::showThumbnail(const Bitmap& image)
{
    window_.thumbnail_->showImage(image);
}

void RemoteControlWindow::AsCaptureView::imageCaptured()
{
    window_.captured_ = true;
    window_.updateEnabledStates();
}

void RemoteControlWindow::AsCaptureView::screenUnreadable()
{
    std::string reason = window_.platform_.screen.unreadableReason();
    if (reason.empty()) {
        reason = "the display cannot be read";
    }
    window_.platform_.messages.showNotice("Zentrap cannot capture the screen: " + reason + ".", &window_);
}

// --- Hotkeys and Preferences -----------------------------------------------------------------

bool RemoteControlWindow::AsHotkeyTarget::hotkeysBlocked() const
{
    return QApplication::activeModalWidget() != nullptr || window_.captureFlow_.capturing();
}

std::optional<int> RemoteControlWindow::AsPreferencesHost::frameUnit() const
{
    return window_.frame_ != nullptr ? window_.frame_->unit() : std::nullopt;
}

void RemoteControlWindow::AsPreferencesHost::chooseFrameUnit(int unit)
{
    if (window_.frame_ != nullptr) {
        window_.frame_->chooseUnit(unit);
    }
}

void RemoteControlWindow::AsPreferencesHost::applyDragOption()
{
    if (window_.frame_ != nullptr) {
        window_.frame_->applyDragOption();
    }
}

#include "app/ControlUnit.h"

#include "app/AboutUnit.h"
#include "app/ButtonIcons.h"
#include "app/CaptureFrameLink.h"
#include "app/Delay.h"
#include "app/HotkeyRegistrar.h"
#include "app/KeyTable.h"
#include "app/RemoteControlShape.h"
#include "app/ThumbnailBox.h"
#include "app/ViewUnit.h"
#include "capture/ScreenGrabber.h"
#include "common/SettingsStore.h"
#include "platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QRegion>
#include <QToolButton>
#include <QWindow>

#include <exception>

namespace {

QToolButton* makeButton(QWidget* parent, const char* name, QRect geometry, RemoteIcon icon, int iconSize)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setIcon(remoteIcon(icon, iconSize));
    button->setIconSize(QSize(iconSize, iconSize));
    // The window sees every key first, and the right button belongs to the tray menu.
    button->setFocusPolicy(Qt::NoFocus);
    button->setContextMenuPolicy(Qt::NoContextMenu);
    return button;
}

QRegion regionFromRows(const std::vector<RowSpan>& rows)
{
    QRegion region;
    for (const RowSpan& row : rows) {
        region += QRect(row.left, row.y, row.right - row.left, 1);
    }
    return region;
}

} // namespace

TControlForm::TControlForm(Platform& platform, RemoteWindowFactories windows, HotkeyRegistrar* hotkeys, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), platform_(platform),
      windows_(std::move(windows)), hotkeys_(hotkeys), menus_(this)
{
    setWindowTitle("Zentrap Remote Control");
    setAttribute(Qt::WA_QuitOnClose, true);
    helpFilePath_ = platform_.programFolder + "ztp.chm";
    FCaptureNumber = 1;
    FReportHotkeyFailures = false;
    createControls();
    FImage = Bitmap(80, 80, PixelFormat::Bpp24);
    shapeWindow();
    setFixedSize(kRemoteControlWidth, kRemoteControlHeight);
    FFrameWasVisible = true;
    readSettings();
    // The skin picture belongs to the skins part; until one is loaded the built-in body shows.
    body_ = builtInBodyPicture(kRemoteControlWidth, kRemoteControlHeight);
    connectCommands();
    refreshThumbnail();
}

TControlForm::~TControlForm()
{
    writeSettings();
    if (countdown_) {
        countdown_->disarm();
    }
    platform_.help.closeAll();
    SetHotkeysEnabled(false);
}

void TControlForm::createControls()
{
    sbClose_ = makeButton(this, "sbClose", {21, 8, 17, 17}, RemoteIcon::Menu, 11);
    speedButton3_ = makeButton(this, "SpeedButton3", {62, 8, 17, 17}, RemoteIcon::Close, 11);
    thumbnail_ = new ThumbnailBox(this);
    thumbnail_->setObjectName("PaintBox1");
    thumbnail_->move(10, 29);
    sbPrint_ = makeButton(this, "sbPrint", {10, 116, 22, 22}, RemoteIcon::Print, 16);
    sbEdit_ = makeButton(this, "sbEdit", {39, 116, 22, 22}, RemoteIcon::Edit, 16);
    sbSave_ = makeButton(this, "sbSave", {68, 116, 22, 22}, RemoteIcon::Save, 16);
    sbRecord_ = makeButton(this, "sbRecord", {10, 144, 80, 22}, RemoteIcon::Capture, 16);
    sbFullScreen_ = makeButton(this, "sbFullScreen", {10, 172, 22, 22}, RemoteIcon::FullScreen, 16);
    sbTimer_ = makeButton(this, "sbTimer", {39, 172, 22, 22}, RemoteIcon::Timer, 16);
    sbPreferences_ = makeButton(this, "sbPreferences", {68, 172, 22, 22}, RemoteIcon::Preferences, 16);
    sbFullScreen_->setCheckable(true);
    sbTimer_->setCheckable(true);
    // The Timer button's resting picture and its countdown pictures.
    countdown_ = std::make_unique<CaptureCountdown>(*sbTimer_, [this] { Capture(); });
    sbPrint_->setEnabled(false);
    sbEdit_->setEnabled(false);
    sbSave_->setEnabled(false);
    // Preferences opens a window that this build may not provide.
    sbPreferences_->setEnabled(static_cast<bool>(windows_.preferences));
    menus_.miPreferences->setEnabled(static_cast<bool>(windows_.preferences));
}

void TControlForm::connectCommands()
{
    connect(sbClose_, &QToolButton::clicked, this, &TControlForm::openSystemMenu);
    connect(speedButton3_, &QToolButton::clicked, this, &QWidget::close);
    connect(sbPrint_, &QToolButton::clicked, this, &TControlForm::PrintCommand);
    connect(sbEdit_, &QToolButton::clicked, this, &TControlForm::EditCommand);
    connect(sbSave_, &QToolButton::clicked, this, &TControlForm::SaveAsCommand);
    connect(sbRecord_, &QToolButton::clicked, this, &TControlForm::Capture);
    // A click has already flipped the toggle buttons; only their actions remain.
    connect(sbFullScreen_, &QToolButton::clicked, this, [this] { setFrameVisible(!fullScreenMode()); });
    connect(sbTimer_, &QToolButton::clicked, this, [this](bool down) {
        if (down) {
            countdown_->arm();
        } else {
            countdown_->disarm();
        }
    });
    connect(sbPreferences_, &QToolButton::clicked, this, &TControlForm::PreferencesCommand);
    thumbnail_->onDoubleClick = [this] { ViewCommand(); };

    connect(menus_.miMinimize, &QAction::triggered, this, &TControlForm::MinimizeRestoreCommand);
    connect(menus_.miAbout, &QAction::triggered, this, &TControlForm::AboutCommand);
    connect(menus_.miHelp, &QAction::triggered, this, &TControlForm::HelpCommand);
    connect(menus_.miExit, &QAction::triggered, this, &QWidget::close);
    connect(menus_.miMinimize2, &QAction::triggered, this, &TControlForm::MinimizeRestoreCommand);
    connect(menus_.miCapture, &QAction::triggered, this, &TControlForm::Capture);
    connect(menus_.miPrint, &QAction::triggered, this, &TControlForm::PrintCommand);
    connect(menus_.miEdit, &QAction::triggered, this, &TControlForm::EditCommand);
    connect(menus_.miSave, &QAction::triggered, this, &TControlForm::SaveAsCommand);
    connect(menus_.miPreferences, &QAction::triggered, this, &TControlForm::PreferencesCommand);
    connect(menus_.miAbout2, &QAction::triggered, this, &TControlForm::AboutCommand);
    connect(menus_.miHelp2, &QAction::triggered, this, &TControlForm::HelpCommand);
    connect(menus_.miExit2, &QAction::triggered, this, &QWidget::close);
}

void TControlForm::shapeWindow()
{
    // Qt sets the X bounding shape from the mask, which also limits input to the capsule. No
    // device context is involved, so the region release steps of other platforms cannot fail.
    setMask(regionFromRows(remoteControlRows()));
}

void TControlForm::readSettings()
{
    SettingsStore store(platform_.userHive, platform_.machineHive);
    RemoteControlSettings s;
    {
        SettingsKey key = store.openWithFallback();
        s = readRemoteControlSettings(key, platform_.screen.primaryScreenSize());
    }
    move(s.position.x, s.position.y);
    FUpdateRulers = s.updateRulers;
    FShowRulers = s.showRulers;
    // The PrintScreen watch belongs to the hotkeys part; the setting is kept and written back.
    FUsePrintScreen = s.usePrintScreen;
    FHideRemote = s.hideRemote;
    FExitConfirmation = s.exitConfirmation;
    FTrayMinimize = s.trayMinimize;
    FShowHint = s.showHint;
    applyShowHint();
    FSkin = s.skin;
    SetHotkeysEnabled(false);
    FHKCapture = s.hkCapture;
    FHKFullScreen = s.hkFullScreen;
    FHKEdit = s.hkEdit;
    FHKSave = s.hkSave;
    FHKPrint = s.hkPrint;
    SetHotkeysEnabled(s.globalHotkeys);
    FCursor = s.captureCursor;
    FDragFullWindows = store.readDragFullWindows();
}

void TControlForm::writeSettings()
{
    RemoteControlSettings s;
    s.position = {pos().x(), pos().y()};
    s.updateRulers = FUpdateRulers;
    s.showRulers = FShowRulers;
    s.usePrintScreen = FUsePrintScreen;
    s.hideRemote = FHideRemote;
    s.exitConfirmation = FExitConfirmation;
    s.trayMinimize = FTrayMinimize;
    s.showHint = FShowHint;
    s.skin = FSkin;
    s.hkCapture = FHKCapture;
    s.hkFullScreen = FHKFullScreen;
    s.hkEdit = FHKEdit;
    s.hkSave = FHKSave;
    s.hkPrint = FHKPrint;
    s.globalHotkeys = FGlobalHotkeys;
    s.captureCursor = FCursor;
    SettingsStore store(platform_.userHive, platform_.machineHive);
    SettingsKey key = store.open();
    writeRemoteControlSettings(key, s);
}

void TControlForm::applyShowHint()
{
    struct Tip {
        QWidget* control;
        const char* text;
    };
    const Tip tips[] = {
        {sbClose_, "Menu (Ctrl+M)"},          {speedButton3_, "Close (Alt+F4)"},
        {thumbnail_, "Double-click to view"}, {sbPrint_, "Print... (Ctrl+P)"},
        {sbEdit_, "Edit... (Ctrl+E)"},        {sbSave_, "Save as... (Ctrl+S)"},
        {sbRecord_, "Capture (Ctrl+C)"},      {sbFullScreen_, "Full screen (Ctrl+F)"},
        {sbTimer_, "Timer (Ctrl+T)"},         {sbPreferences_, "Preferences... (Ctrl+O)"},
    };
    for (const Tip& tip : tips) {
        tip.control->setToolTip(FShowHint ? QString(tip.text) : QString());
    }
}

void TControlForm::attachFrame(CaptureFrameLink* frame)
{
    frame_ = frame;
}

QToolButton* TControlForm::button(const char* name) const
{
    return findChild<QToolButton*>(name, Qt::FindDirectChildrenOnly);
}

bool TControlForm::fullScreenMode() const
{
    return sbFullScreen_->isChecked();
}

bool TControlForm::timerDown() const
{
    return sbTimer_->isChecked();
}

// --- Capture ---------------------------------------------------------------------------------

void TControlForm::Capture()
{
    captureOnce();
    if (closeAfterCapture_ && !capturing_) {
        closeAfterCapture_ = false;
        close();
    }
}

void TControlForm::captureOnce()
{
    // The hide wait serves events, so a second capture (a key, the timer) could arrive inside it.
    if (capturing_) {
        return;
    }
    if (timerDown()) {
        countdown_->start();
        return;
    }
    struct CapturingFlag {
        bool& flag;
        explicit CapturingFlag(bool& f) : flag(f) { flag = true; }
        ~CapturingFlag() { flag = false; }
    } capturing{capturing_};
    const bool hidden = FHideRemote && !FMinimized && isVisible();
    if (hidden) {
        hide();
        Delay(300);
    }
    grabIntoImage();
    platform_.clipboard.setBitmap(FImage);
    refreshThumbnail();
    if (hidden) {
        show();
    } else {
        update();
    }
    enableImageCommands();
    FNotSaved = true;
}

void TControlForm::grabIntoImage()
{
    if (fullScreenMode() || FMinimized || frame_ == nullptr) {
        const Size screen = platform_.screen.primaryScreenSize();
        GrabScreen(0, 0, screen.width, screen.height, FImage, FCursor, platform_.screen);
        return;
    }
    const Rect hole = frame_->captureRect();
    GrabScreen(hole.left, hole.top, hole.width(), hole.height(), FImage, FCursor, platform_.screen);
}

void TControlForm::refreshThumbnail()
{
    thumbnail_->showImage(FImage);
}

void TControlForm::enableImageCommands()
{
    captured_ = true;
    // A command whose window this build does not provide stays as it was before the first capture.
    sbPrint_->setEnabled(static_cast<bool>(windows_.print));
    sbEdit_->setEnabled(static_cast<bool>(windows_.edit));
    sbSave_->setEnabled(static_cast<bool>(windows_.save));
    menus_.miPrint->setEnabled(sbPrint_->isEnabled());
    menus_.miEdit->setEnabled(sbEdit_->isEnabled());
    menus_.miSave->setEnabled(sbSave_->isEnabled());
}

// --- Toggles ---------------------------------------------------------------------------------

void TControlForm::FullScreenToggle()
{
    sbFullScreen_->toggle();
    setFrameVisible(!fullScreenMode());
}

void TControlForm::TimerToggle()
{
    sbTimer_->toggle();
    if (timerDown()) {
        countdown_->arm();
    } else {
        countdown_->disarm();
    }
}

// --- Modal windows ---------------------------------------------------------------------------

void TControlForm::reportFailure(const char* what)
{
    platform_.messages.showMessage(what);
}

int TControlForm::runDialog(ModalBracket& bracket, const ModalWindowKind& kind,
                            const std::function<std::unique_ptr<QDialog>()>& make)
{
    std::unique_ptr<QDialog> window;
    return bracket.runWindow(
        kind,
        [&](const std::string& caption) {
            window = make();
            if (window) {
                window->setWindowTitle(QString::fromStdString(caption));
            }
            return window != nullptr;
        },
        [&] { return window->exec(); }, [&] { window.reset(); });
}

void TControlForm::runModal(const ModalWindowKind& kind, const std::function<std::unique_ptr<QDialog>()>& make)
{
    try {
        ModalBracket bracket(*this, kind.repaints);
        runDialog(bracket, kind, make);
    } catch (const std::exception& error) {
        reportFailure(error.what());
    }
}

void TControlForm::SaveAsCommand()
{
    if (sbSave_->isEnabled() && windows_.save) {
        runModal(ModalWindows::save, [this] { return windows_.save(*this); });
    }
}

void TControlForm::PrintCommand()
{
    if (sbPrint_->isEnabled() && windows_.print) {
        runModal(ModalWindows::print, [this] { return windows_.print(*this); });
    }
}

void TControlForm::PreferencesCommand()
{
    if (windows_.preferences) {
        runModal(ModalWindows::preferences, [this] { return windows_.preferences(*this); });
    }
}

void TControlForm::EditCommand()
{
    if (!sbEdit_->isEnabled() || !windows_.edit) {
        return;
    }
    try {
        ModalBracket bracket(*this, ModalWindows::edit.repaints);
        int result = EditResultClose;
        {
            FEditImage = std::make_unique<Bitmap>(FImage);
            FUndoImage = std::make_unique<Bitmap>();
            struct EditImagesGuard {
                TControlForm& form;
                ~EditImagesGuard()
                {
                    // The editor's last state is kept whatever its result, also when it failed.
                    if (form.FEditImage) {
                        form.FImage = std::move(*form.FEditImage);
                    }
                    form.FEditImage.reset();
                    form.FUndoImage.reset();
                    form.refreshThumbnail();
                }
            } images{*this};
            result = runDialog(bracket, ModalWindows::edit, [this] { return windows_.edit(*this); });
        }
        if (result == EditResultSave) {
            SaveAsCommand();
        } else if (result == EditResultPrint) {
            PrintCommand();
        }
    } catch (const std::exception& error) {
        reportFailure(error.what());
    }
}

void TControlForm::ViewCommand()
{
    runModal(ModalWindows::view, [this] { return std::make_unique<TViewForm>(FImage, this); });
}

void TControlForm::AboutCommand()
{
    runModal(ModalWindows::about, [this] { return std::make_unique<TAboutForm>(this); });
}

void TControlForm::HelpCommand()
{
    platform_.help.displayContents(helpFilePath_);
}

// --- Frame, hotkeys and tray menu ------------------------------------------------------------

bool TControlForm::frameVisible() const
{
    return frame_ != nullptr && frame_->isShown();
}

void TControlForm::setFrameVisible(bool visible)
{
    if (frame_ != nullptr) {
        frame_->setShown(visible);
    }
}

void TControlForm::SetHotkeysEnabled(bool enable)
{
    if (enable == FGlobalHotkeys) {
        return;
    }
    FGlobalHotkeys = enable;
    if (hotkeys_ == nullptr) {
        return;
    }
    if (!enable) {
        hotkeys_->unregisterAll();
        return;
    }
    // Refusals are only reported while accepted preferences are applied; that dialog belongs to
    // the hotkeys part, so here they stay silent.
    hotkeys_->registerAll({FHKCapture, FHKFullScreen, FHKEdit, FHKSave, FHKPrint});
}

void TControlForm::disableTrayMenu()
{
    menus_.DisableTrayMenu();
}

void TControlForm::enableTrayMenu()
{
    menus_.EnableTrayMenu(sbPrint_->isEnabled(), sbEdit_->isEnabled(), sbSave_->isEnabled(),
                          static_cast<bool>(windows_.preferences));
}

void TControlForm::processPendingPaint()
{
    repaint();
}

void TControlForm::frameCommand(FrameCommand command)
{
    switch (command) {
    case FrameCommand::Capture:
        Capture();
        break;
    case FrameCommand::Edit:
        EditCommand();
        break;
    case FrameCommand::FullScreen:
        FullScreenToggle();
        break;
    case FrameCommand::Menu:
        openSystemMenu();
        break;
    case FrameCommand::Preferences:
        PreferencesCommand();
        break;
    case FrameCommand::Print:
        PrintCommand();
        break;
    case FrameCommand::Save:
        SaveAsCommand();
        break;
    case FrameCommand::Help:
        HelpCommand();
        break;
    case FrameCommand::Close:
        close();
        break;
    }
}

void TControlForm::openSystemMenu()
{
    menus_.systemMenu.popup(QPoint(x() + 21, y() + 25));
}

void TControlForm::openTrayMenu(const QPoint& globalPos)
{
    menus_.showMinimizeState(FMinimized);
    menus_.trayMenu.popup(globalPos);
}

void TControlForm::MinimizeRestoreCommand()
{
    if (FMinimized) {
        showNormal();
    } else {
        showMinimized();
    }
}

// --- Events ----------------------------------------------------------------------------------

void TControlForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, body_);
}

void TControlForm::keyPressEvent(QKeyEvent* event)
{
    switch (remoteKeyCommand(event->key(), event->modifiers())) {
    case RemoteKeyCommand::Capture:
        Capture();
        break;
    case RemoteKeyCommand::Edit:
        EditCommand();
        break;
    case RemoteKeyCommand::FullScreenToggle:
        FullScreenToggle();
        break;
    case RemoteKeyCommand::SystemMenu:
        openSystemMenu();
        break;
    case RemoteKeyCommand::Preferences:
        PreferencesCommand();
        break;
    case RemoteKeyCommand::Print:
        PrintCommand();
        break;
    case RemoteKeyCommand::Save:
        SaveAsCommand();
        break;
    case RemoteKeyCommand::TimerToggle:
        TimerToggle();
        break;
    case RemoteKeyCommand::Help:
        HelpCommand();
        break;
    case RemoteKeyCommand::Close:
        close();
        break;
    case RemoteKeyCommand::None:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TControlForm::contextMenuEvent(QContextMenuEvent* event)
{
    openTrayMenu(event->globalPos());
}

void TControlForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragStart_ = event->globalPosition().toPoint();
    }
    QWidget::mousePressEvent(event);
}

void TControlForm::mouseMoveEvent(QMouseEvent* event)
{
    // Started from a move, not from the press, so plain clicks and double-clicks still arrive.
    if (dragStart_ && (event->buttons() & Qt::LeftButton) &&
        (event->globalPosition().toPoint() - *dragStart_).manhattanLength() >= QApplication::startDragDistance()) {
        // The window manager's move anchors at the pointer's position now, so the window trails
        // the pointer by the few pixels it travelled before the threshold.
        dragStart_.reset();
        if (QWindow* window = windowHandle()) {
            window->startSystemMove();
        }
    }
}

void TControlForm::mouseReleaseEvent(QMouseEvent* event)
{
    dragStart_.reset();
    QWidget::mouseReleaseEvent(event);
}

void TControlForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && !FMinimized) {
        setFrameVisible(!fullScreenMode());
    }
}

bool TControlForm::closeRequestGranted()
{
    // The exit confirmation belongs to the tray and exit part; without it a close is granted.
    return true;
}

void TControlForm::closeEvent(QCloseEvent* event)
{
    if (capturing_) {
        // Closing inside the hide wait would pull the window away from under the capture.
        closeAfterCapture_ = true;
        event->ignore();
        return;
    }
    if (!closeRequestGranted()) {
        event->ignore();
        return;
    }
    event->accept();
    // exit(), not quit(): quit() first offers every other window a close, and one that only hides
    // itself (the help window, the Capture Frame) would cancel the end of the program.
    QCoreApplication::exit(0);
}

void TControlForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const bool minimized = isMinimized();
    if (minimized && !FMinimized) {
        FFrameWasVisible = frameVisible();
        setFrameVisible(false);
        FMinimized = true;
    } else if (!minimized && FMinimized) {
        setFrameVisible(FFrameWasVisible);
        FMinimized = false;
    }
}

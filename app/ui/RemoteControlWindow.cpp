#include "app/ui/RemoteControlWindow.h"
#include "app/ui/RemoteControlWindowHosts.h"

#include "app/CaptureFrameLink.h"
#include "app/RemoteControlShape.h"
#include "app/SkinPicture.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/ButtonIcons.h"
#include "app/ui/ExitQuestionDialog.h"
#include "app/ui/ThumbnailBox.h"
#include "app/ui/ViewWindow.h"
#include "common/PlacementCorrection.h"
#include "common/SettingsStore.h"
#include "common/ui/BitmapImage.h"
#include "hotkeys/ui/HotkeyFailureDialog.h"
#include "platform/Platform.h"
#include "platform/TrayService.h"
#include "platform/ui/QtKeyPress.h"
#include "preferences/ui/PreferencesDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <exception>
#include <optional>
#include <utility>

// The built-in skin lives in a static library, so its resource is registered by hand.
static void registerSkinResources()
{
    Q_INIT_RESOURCE(skins);
}

namespace {

// A light veil and a thin outline on the dark body; the style's own hover panel is a white box.
const char* const kButtonStyle = "QToolButton { border: 1px solid transparent; border-radius: 3px;"
                                 " background: transparent; padding: 0px; }"
                                 "QToolButton:hover { background: rgba(255, 255, 255, 40);"
                                 " border-color: rgba(255, 255, 255, 110); }"
                                 "QToolButton:pressed, QToolButton:checked { background: rgba(0, 0, 0, 70);"
                                 " border-color: rgba(255, 255, 255, 80); }";

QToolButton* makeButton(QWidget* parent, const char* name, QRect geometry, int iconSize)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setStyleSheet(kButtonStyle);
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

// The built-in skin, read like any skin file (it is ours, but one reader serves both).
SkinPicture builtInSkin()
{
    registerSkinResources();
    QFile file(QStringLiteral(":/skins/built-in.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return decodeSkinPicture(ImageKind::Jpeg,
                             std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size()),
                             {kRemoteControlWidth, kRemoteControlHeight});
}

} // namespace

RemoteControlWindow::RemoteControlWindow(Platform& platform, RemoteWindowFactories windows, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), platform_(platform),
      mapPlacement_(platform.windowManager, platform.clock), windows_(std::move(windows)),
      hotkeys_(platform.hotkeys,
               [this](const std::string& message) {
                   HotkeyFailureDialog dialog(message, platform_, helpFilePath_, this);
                   keepAboveWhileHidden(dialog);
                   dialog.exec();
                   return dialog.disableHotkeys();
               }),
      actions_(this, [this](Command command) { perform(command); }), menus_(this, actions_),
      asFrameHost_(std::make_unique<AsFrameHost>(*this)), asModalHost_(std::make_unique<AsModalHost>(*this)),
      asMinimizeHost_(std::make_unique<AsMinimizeHost>(*this)), asCaptureView_(std::make_unique<AsCaptureView>(*this)),
      captureFlow_(session_, *asCaptureView_, platform), minimizing_(*asMinimizeHost_), closeRequest_(*asModalHost_)
{
    if (platform_.hotkeys != nullptr) {
        platform_.hotkeys->setHandler([this](int id) { hotkeyPressed(id); });
    }
    setWindowTitle("Zentrap Remote Control");
    // Taskbars show the icon name: the application's title, while tools still find the window title.
    setWindowIconText("Zentrap");
    // The tooltips do not wait for the window to have the keyboard.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_QuitOnClose, true);
    helpFilePath_ = platform_.programFolder + "ztp.chm";
    createControls();
    shapeWindow();
    setFixedSize(kRemoteControlWidth, kRemoteControlHeight);
    const SkinPicture builtIn = builtInSkin();
    body_ = QPixmap::fromImage(toQImage(builtIn.visible));
    readSettings();
    // The built-in picture stays when no skin is stored or the stored one cannot be used.
    loadSkin(settings_.skin);
    connectCommands();
    refreshThumbnail();
    connectTrayIcon();
}

RemoteControlWindow::~RemoteControlWindow()
{
    writeSettings();
    if (platform_.keyWatcher != nullptr) {
        platform_.keyWatcher->stop();
    }
    if (countdown_) {
        countdown_->disarm();
    }
    platform_.help.closeAll();
    setHotkeysEnabled(false);
    if (platform_.hotkeys != nullptr) {
        platform_.hotkeys->setHandler(nullptr);
    }
    if (platform_.tray != nullptr) {
        platform_.tray->setEvents({});
        platform_.tray->removeIcon();
    }
}

void RemoteControlWindow::createControls()
{
    struct Place {
        Command command;
        const char* name;
        QRect geometry;
        int iconSize;
    };
    const Place places[] = {
        {Command::Menu, "menuButton", {21, 8, 17, 17}, 11},
        {Command::Close, "closeButton", {62, 8, 17, 17}, 11},
        {Command::Print, "printButton", {10, 116, 22, 22}, 16},
        {Command::Edit, "editButton", {39, 116, 22, 22}, 16},
        {Command::Save, "saveButton", {68, 116, 22, 22}, 16},
        {Command::Capture, "captureButton", {10, 144, 80, 22}, 16},
        {Command::FullScreen, "fullScreenButton", {10, 172, 22, 22}, 16},
        {Command::Timer, "timerButton", {39, 172, 22, 22}, 16},
        {Command::Preferences, "preferencesButton", {68, 172, 22, 22}, 16},
    };
    for (const Place& place : places) {
        QToolButton* button = makeButton(this, place.name, place.geometry, place.iconSize);
        actions_.attachButton(*button, place.command);
        // With tooltips off the tooltip events are dropped: an action without a tooltip would
        // show its text instead.
        button->installEventFilter(this);
    }
    thumbnail_ = new ThumbnailBox(this);
    thumbnail_->setObjectName("thumbnail");
    thumbnail_->move(10, 29);
    thumbnail_->installEventFilter(this);
    // The Timer button's resting picture and its countdown pictures; the end of the countdown
    // captures through the one entry, the Timer button already up.
    countdown_ = std::make_unique<CaptureCountdown>(*actions_[Command::Timer], platform_.clock,
                                                    [this] { runCommand(Command::Capture); });
}

void RemoteControlWindow::connectCommands()
{
    thumbnail_->onDoubleClick = [this] { runCommand(Command::View); };
    connect(&menus_.systemMenu, &QMenu::aboutToShow, this, [this] { actions_.useSystemMenuTexts(); });
    connect(&menus_.trayMenu, &QMenu::aboutToShow, this, [this] { actions_.useTrayMenuTexts(minimized()); });
}

void RemoteControlWindow::runCommand(Command command)
{
    // Through the action, so a toggle flips and a disabled command does nothing, as with a click.
    actions_[command]->trigger();
}

void RemoteControlWindow::perform(Command command)
{
    switch (command) {
    case Command::Capture:
        capture();
        break;
    case Command::FullScreen:
        fullScreenChanged();
        break;
    case Command::Timer:
        timerChanged();
        break;
    case Command::Save:
        saveAsCommand();
        break;
    case Command::Print:
        printCommand();
        break;
    case Command::Edit:
        editCommand();
        break;
    case Command::Preferences:
        preferencesCommand();
        break;
    case Command::View:
        viewCommand();
        break;
    case Command::About:
        aboutCommand();
        break;
    case Command::Help:
        helpCommand();
        break;
    case Command::MinimizeRestore:
        minimizeRestoreCommand();
        break;
    case Command::Menu:
        openSystemMenu();
        break;
    case Command::Close:
        close();
        break;
    }
}

bool RemoteControlWindow::commandAvailable(const CommandRow& row) const
{
    if (imageWindowOpen_ && row.command != Command::Help) {
        return false;
    }
    if (!row.needsCapture) {
        return true;
    }
    // A command without a window factory stays off after the first capture as well.
    switch (row.command) {
    case Command::Save:
        return captured_ && static_cast<bool>(windows_.save);
    case Command::Print:
        return captured_ && static_cast<bool>(windows_.print);
    case Command::Edit:
        return captured_ && static_cast<bool>(windows_.edit);
    default:
        return captured_;
    }
}

void RemoteControlWindow::updateEnabledStates()
{
    for (const CommandRow& row : commandRows()) {
        actions_[row.command]->setEnabled(commandAvailable(row));
    }
}

void RemoteControlWindow::setImageWindowOpen(bool open)
{
    imageWindowOpen_ = open;
    updateEnabledStates();
}

bool RemoteControlWindow::modalWindowOpen() const
{
    return QApplication::activeModalWidget() != nullptr;
}

void RemoteControlWindow::shapeWindow()
{
    // Qt sets the X bounding shape from the mask, which also limits input to the capsule. No
    // device context is involved, so the region release steps of other platforms cannot fail.
    setMask(regionFromRows(remoteControlRows()));
}

void RemoteControlWindow::readSettings()
{
    SettingsStore store(platform_.userHive, platform_.machineHive);
    RemoteControlSettings s;
    {
        SettingsKey key = store.openWithFallback();
        s = readRemoteControlSettings(key, platform_.screen.monitorLayout().primary().bounds);
    }
    // A stored place off every screen (another monitor layout, a hand edit) would leave the
    // window unreachable.
    const Rect placed = placementOnMonitors(s.position);
    move(placed.left, placed.top);
    settings_ = s;
    setPrintScreenWatch(s.usePrintScreen);
    applyShowHint();
    setHotkeysEnabled(false);
    setHotkeysEnabled(s.globalHotkeys);
    dragFullWindows_ = store.readDragFullWindows();
}

RemoteControlSettings RemoteControlWindow::currentSettings() const
{
    RemoteControlSettings s = settings_;
    const QPoint origin = placedPosition();
    s.position = {origin.x(), origin.y()};
    s.globalHotkeys = hotkeysEnabled();
    return s;
}

void RemoteControlWindow::writeSettings()
{
    SettingsStore store(platform_.userHive, platform_.machineHive);
    SettingsKey key = store.open();
    writeRemoteControlSettings(key, currentSettings());
}

void RemoteControlWindow::setShowHint(bool on)
{
    settings_.showHint = on;
    applyShowHint();
}

void RemoteControlWindow::applyShowHint()
{
    actions_.showTooltips(settings_.showHint);
    thumbnail_->setToolTip(settings_.showHint ? QString::fromLatin1(commandRow(Command::View).caption) : QString());
}

bool RemoteControlWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !settings_.showHint) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RemoteControlWindow::attachFrame(CaptureFrameLink* frame)
{
    frame_ = frame;
    captureFlow_.attachFrame(frame);
}

FrameHost& RemoteControlWindow::frameHost()
{
    return *asFrameHost_;
}

void RemoteControlWindow::saveSettings()
{
    writeSettings();
}

bool RemoteControlWindow::fullScreenMode() const
{
    return actions_[Command::FullScreen]->isChecked();
}

bool RemoteControlWindow::timerDown() const
{
    return actions_[Command::Timer]->isChecked();
}

// --- Capture ---------------------------------------------------------------------------------

void RemoteControlWindow::capture()
{
    // Nothing captures under a window that must be answered: the image it works on stays as it
    // is, and the Capture Frame does not come back over it.
    if (modalWindowOpen()) {
        return;
    }
    if (timerDown()) {
        countdown_->start();
        return;
    }
    captureFlow_.capture({.hideRemote = settings_.hideRemote,
                          .captureCursor = settings_.captureCursor,
                          .wholeScreen = fullScreenMode() || minimized(),
                          .allMonitors = settings_.fullScreenAllMonitors,
                          .workingPoint = workingPoint()});
    if (closeAfterCapture_ && !captureFlow_.capturing()) {
        closeAfterCapture_ = false;
        close();
    }
}

Rect RemoteControlWindow::placementOnMonitors(Point position) const
{
    const MonitorLayout monitors = platform_.screen.monitorLayout();
    return correctedPlacement(position, {kRemoteControlWidth, kRemoteControlHeight}, monitors.availableAreas(),
                              defaultRemoteControlPosition(monitors.primary().bounds));
}

void RemoteControlWindow::keepOnMonitors()
{
    const Rect placed = placementOnMonitors({x(), y()});
    if (placed.left != x() || placed.top != y()) {
        move(placed.left, placed.top);
    }
}

Point RemoteControlWindow::workingPoint() const
{
    // Out of sight in the tray, the Remote Control marks no monitor: the pointer does.
    if (minimized()) {
        if (const std::optional<Point> pointer = platform_.screen.cursorPosition()) {
            return *pointer;
        }
    }
    const QRect bounds(placedPosition(), size());
    return {bounds.center().x(), bounds.center().y()};
}

QPoint RemoteControlWindow::placedPosition() const
{
    if (platform_.windowManager == nullptr) {
        return pos();
    }
    const Point placed = platform_.windowManager->placedOrigin(internalWinId(), {x(), y()});
    return {placed.x, placed.y};
}

void RemoteControlWindow::refreshThumbnail()
{
    thumbnail_->showImage(session_.image);
}

// --- Toggles ---------------------------------------------------------------------------------

void RemoteControlWindow::fullScreenChanged()
{
    setFrameVisible(!fullScreenMode());
}

void RemoteControlWindow::timerChanged()
{
    if (timerDown()) {
        countdown_->arm();
    } else {
        countdown_->disarm();
    }
}

// --- Modal windows ---------------------------------------------------------------------------

void RemoteControlWindow::reportFailure(const char* what)
{
    platform_.messages.showMessage(what, this);
}

int RemoteControlWindow::runDialog(ModalBracket& bracket, const ModalWindowKind& kind,
                                   const std::function<std::unique_ptr<QDialog>()>& make)
{
    std::unique_ptr<QDialog> window;
    return bracket.runWindow(
        kind,
        [&](const std::string& caption) {
            window = make();
            if (window) {
                window->setWindowTitle(QString::fromStdString(caption));
                keepAboveWhileHidden(*window);
            }
            return window != nullptr;
        },
        [&] { return window->exec(); }, [&] { window.reset(); });
}

void RemoteControlWindow::keepAboveWhileHidden(QWidget& window) const
{
    if (!isVisible()) {
        window.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
}

void RemoteControlWindow::runModal(const ModalWindowKind& kind, const std::function<std::unique_ptr<QDialog>()>& make)
{
    try {
        ModalBracket bracket(*asModalHost_, kind.repaints);
        runDialog(bracket, kind, make);
    } catch (const std::exception& error) {
        reportFailure(error.what());
    }
}

ModalWindowContext RemoteControlWindow::modalContext()
{
    return {.session = session_,
            .owner = *this,
            .settings = settings_,
            .printAvailable = commandAvailable(commandRow(Command::Print))};
}

void RemoteControlWindow::saveAsCommand()
{
    if (windows_.save) {
        runModal(ModalWindows::save, [this] { return windows_.save(modalContext()); });
    }
}

void RemoteControlWindow::printCommand()
{
    if (windows_.print) {
        runModal(ModalWindows::print, [this] { return windows_.print(modalContext()); });
    }
}

void RemoteControlWindow::preferencesCommand()
{
    // Not the common bracket: the hotkeys are switched by the window's own steps, and on "OK" they
    // must keep the state the user chose.
    const bool frameWasShown = frameVisible();
    setFrameVisible(false);
    AsPreferencesHost host(*this);
    struct Restore {
        RemoteControlWindow& window;
        bool frameShown;
        ~Restore()
        {
            window.setFrameVisible(frameShown);
            window.setImageWindowOpen(false);
        }
    } restore{*this, frameWasShown};
    try {
        bool hotkeysWereEnabled = hotkeysEnabled();
        const PreferencesValues values = fillPreferences(host, hotkeysWereEnabled);
        auto dialog = std::make_unique<PreferencesDialog>(platform_, helpFilePath_, values, settings_.showHint, this);
        keepAboveWhileHidden(*dialog);
        setImageWindowOpen(true);
        if (dialog->exec() == QDialog::Accepted) {
            applyPreferences(host, dialog->values());
        } else {
            cancelPreferences(host, hotkeysWereEnabled);
        }
    } catch (const std::exception& error) {
        reportFailure(error.what());
    }
}

void RemoteControlWindow::editCommand()
{
    if (!windows_.edit) {
        return;
    }
    try {
        ModalBracket bracket(*asModalHost_, ModalWindows::edit.repaints);
        int result = kEditResultClose;
        {
            captureFlow_.handToEditor();
            // The editor's last state is kept whatever its result, also when it failed.
            struct TakeBack {
                CaptureFlow& flow;
                ~TakeBack() { flow.takeBackFromEditor(); }
            } takeBack{captureFlow_};
            result = runDialog(bracket, ModalWindows::edit, [this] { return windows_.edit(modalContext()); });
        }
        if (result == kEditResultSave) {
            runCommand(Command::Save);
        } else if (result == kEditResultPrint) {
            runCommand(Command::Print);
        }
    } catch (const std::exception& error) {
        reportFailure(error.what());
    }
}

void RemoteControlWindow::viewCommand()
{
    runModal(ModalWindows::view, [this] { return std::make_unique<ViewWindow>(session_.image, this); });
}

void RemoteControlWindow::aboutCommand()
{
    runModal(ModalWindows::about, [this] { return std::make_unique<AboutDialog>(platform_.pixelsPerInch, this); });
}

void RemoteControlWindow::helpCommand()
{
    platform_.help.displayContents(helpFilePath_);
}

// --- Frame, hotkeys and tray menu ------------------------------------------------------------

bool RemoteControlWindow::frameVisible() const
{
    return minimizing_.frameVisible();
}

void RemoteControlWindow::setFrameVisible(bool visible)
{
    minimizing_.setFrameVisible(visible);
}

void RemoteControlWindow::setHotkeysEnabled(bool enable)
{
    hotkeys_.setEnabled(enable, settings_.hotkeys, reportHotkeyFailures_);
}

void RemoteControlWindow::hotkeyPressed(int id)
{
    AsHotkeyTarget target(*this);
    dispatchHotkey(target, id);
}

void RemoteControlWindow::runFromOutside(Command command)
{
    AsHotkeyTarget target(*this);
    dispatchCommand(target, command);
}

void RemoteControlWindow::comeForward()
{
    AsHotkeyTarget target(*this);
    ::comeForward(target);
}

void RemoteControlWindow::bringToFront()
{
    if (!isVisible()) {
        return;
    }
    raise();
    // Asked of the window manager as a taskbar asks: a program in the background may not take
    // the focus by itself, but the hotkey press is the user's request for it.
    if (platform_.windowManager != nullptr) {
        platform_.windowManager->activateWindow(winId());
    }
    activateWindow();
}

void RemoteControlWindow::setPrintScreenWatch(bool on)
{
    settings_.usePrintScreen = on;
    if (platform_.keyWatcher == nullptr) {
        return;
    }
    if (on) {
        platform_.keyWatcher->start([this] { runCommand(Command::Capture); });
    } else {
        platform_.keyWatcher->stop();
    }
}

void RemoteControlWindow::loadSkin(const std::string& path)
{
    if (path.empty()) {
        return;
    }
    try {
        const SkinPicture picture = loadSkinPicture(path, {kRemoteControlWidth, kRemoteControlHeight});
        body_ = QPixmap::fromImage(toQImage(picture.visible));
        update();
    } catch (const std::exception& e) {
        platform_.messages.showWarning(kSkinWarningCaption, skinWarningText(path, e.what()), this);
    }
}

void RemoteControlWindow::openSystemMenu()
{
    menus_.systemMenu.popup(placedPosition() + QPoint(21, 25));
}

void RemoteControlWindow::openTrayMenu(const QPoint& globalPos)
{
    menus_.trayMenu.popup(globalPos);
}

// --- Tray icon, minimising and the exit question ---------------------------------------------

void RemoteControlWindow::connectTrayIcon()
{
    if (platform_.tray == nullptr) {
        return;
    }
    TrayIconEvents events;
    events.menuRequested = [this](Point pointer) { openTrayMenu(QPoint(pointer.x, pointer.y)); };
    // In front without restoring: a minimised application stays minimised.
    events.clicked = [this] {
        if (!minimized()) {
            bringToFront();
        }
    };
    events.doubleClicked = [this] { runCommand(Command::MinimizeRestore); };
    events.trayLost = [this] { minimizing_.trayLost(); };
    platform_.tray->setEvents(std::move(events));
    platform_.tray->showIcon();
}

void RemoteControlWindow::minimizeRestoreCommand()
{
    minimizing_.command();
}

void RemoteControlWindow::restoreApplication()
{
    minimizing_.restore();
}

void RemoteControlWindow::endWithoutAsking()
{
    closeRequest_.endWithoutAsking();
    // An open question ends its own close request, which then closes the window.
    if (exitQuestion_ == nullptr) {
        close();
    }
}

// --- Events ----------------------------------------------------------------------------------

void RemoteControlWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Where a smaller picture leaves the window uncovered, the button face shows.
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.drawPixmap(0, 0, body_);
}

void RemoteControlWindow::keyPressEvent(QKeyEvent* event)
{
    const KeyPress press = keyPressOf(*event);
    const std::optional<Command> command = commandForKey(press.virtualKey, press.modifiers, KeySource::RemoteControl);
    if (!command) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    runCommand(*command);
}

void RemoteControlWindow::contextMenuEvent(QContextMenuEvent* event)
{
    openTrayMenu(event->globalPos());
}

void RemoteControlWindow::mousePressEvent(QMouseEvent* event)
{
    mapPlacement_.forget();
    if (event->button() == Qt::LeftButton) {
        dragStart_ = event->globalPosition().toPoint();
    }
    QWidget::mousePressEvent(event);
}

void RemoteControlWindow::mouseMoveEvent(QMouseEvent* event)
{
    // Started from a move, not from the press, so plain clicks and double-clicks still arrive.
    if (dragStart_ && (event->buttons() & Qt::LeftButton) &&
        (event->globalPosition().toPoint() - *dragStart_).manhattanLength() >= QApplication::startDragDistance()) {
        // Anchored at the press, so the grabbed point stays under the pointer: Qt's own system
        // move anchors where the pointer is now, a few pixels on.
        const QPoint anchor = *dragStart_;
        dragStart_.reset();
        const bool moving = platform_.windowManager != nullptr &&
                            platform_.windowManager->startMove(winId(), {anchor.x(), anchor.y()}, 1);
        if (!moving) {
            if (QWindow* window = windowHandle()) {
                window->startSystemMove();
            }
        }
    }
}

void RemoteControlWindow::mouseReleaseEvent(QMouseEvent* event)
{
    dragStart_.reset();
    QWidget::mouseReleaseEvent(event);
}

void RemoteControlWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        // Back where it was, also after a capture hid it, when the compositor places it elsewhere.
        mapPlacement_.showing(winId(), {x(), y()});
    }
    if (!event->spontaneous() && !minimized()) {
        setFrameVisible(!fullScreenMode());
    }
}

bool RemoteControlWindow::closeRequestGranted()
{
    return closeRequest_.granted(settings_.exitConfirmation, session_.notSaved);
}

void RemoteControlWindow::closeEvent(QCloseEvent* event)
{
    if (captureFlow_.capturing()) {
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

bool RemoteControlWindow::event(QEvent* event)
{
    // A window that must be answered opened over the Remote Control: a running countdown stops
    // and the Timer button comes up, so no capture changes the image under that window.
    if (event->type() == QEvent::WindowBlocked && countdown_ && countdown_->isRunning()) {
        actions_[Command::Timer]->setChecked(false);
        countdown_->disarm();
    }
    return QWidget::event(event);
}

void RemoteControlWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (isMinimized()) {
        minimizing_.minimizeNotified(settings_.trayMinimize, QApplication::activeModalWidget() != nullptr);
    } else if (!minimizing_.leftTaskbar()) {
        minimizing_.restoreNotified();
    }
}

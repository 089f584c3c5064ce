#include "capture/ui/CaptureFrameWindow.h"

#include "capture/FrameGeometry.h"
#include "capture/FrameSettingsIO.h"
#include "capture/ui/FramePainter.h"
#include "common/PlacementCorrection.h"
#include "common/SettingsStore.h"
#include "common/ui/ScreenDensity.h"
#include "platform/Platform.h"
#include "platform/ui/QtKeyPress.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <exception>

namespace {

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}
Rect toRect(const QRect& r)
{
    return Rect::fromSize(r.x(), r.y(), r.width(), r.height());
}

FrameColours systemColours(const QPalette& palette)
{
    return {palette.color(QPalette::Button), palette.color(QPalette::Light), palette.color(QPalette::Dark)};
}

int xButtonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::MiddleButton:
        return 2;
    case Qt::RightButton:
        return 3;
    default:
        return 1;
    }
}

Qt::CursorShape cursorForEdges(unsigned edges)
{
    const bool horizontal = (edges & (kEdgeLeft | kEdgeRight)) != 0;
    const bool vertical = (edges & (kEdgeTop | kEdgeBottom)) != 0;
    if (horizontal && vertical) {
        const bool mainDiagonal = (edges & kEdgeLeft) != 0 ? (edges & kEdgeTop) != 0 : (edges & kEdgeBottom) != 0;
        return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal) {
        return Qt::SizeHorCursor;
    }
    return vertical ? Qt::SizeVerCursor : Qt::ArrowCursor;
}

} // namespace

CaptureFrameWindow::CaptureFrameWindow(Platform& platform, FrameHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), platform_(platform), host_(host),
      mapPlacement_(platform.windowManager, platform.clock)
{
    setWindowTitle(QStringLiteral("Zentrap Capture Frame"));
    // Painting covers the whole client area: nothing is erased first, so moving does not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // A Wayland desktop shows an X11 window's pixels outside its shape too, and its screenshots
    // would show them in the hole: there the hole's pixels are transparent instead.
    clearHole_ = platform_.screen.picturesShowOwnWindows();
    if (clearHole_) {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    setMouseTracking(true);
    createUnitsMenu();
    // Said on the frame itself (the pointer resting on its band), where the user meets it.
    if (platform_.windowManager != nullptr) {
        if (const std::string limits = platform_.windowManager->compositorLimits(); !limits.empty()) {
            setToolTip(QString::fromStdString(limits));
            setAttribute(Qt::WA_AlwaysShowToolTips);
        }
    }

    applyDragOption();
    dragging_ = false;

    pixelsPerInch_ = layoutPixelsPerInch(platform_.pixelsPerInch);
    borderWidth_ = borderWidthForPixelsPerInch(pixelsPerInch_);
    setMinimumSize(minimumClientExtent(borderWidth_), minimumClientExtent(borderWidth_));
    setMaximumSize(kMaxFrameExtent, kMaxFrameExtent);
    painter_ = std::make_unique<FramePainter>(pixelsPerInch_, systemColours(palette()));

    readSettings();
    updateFrameRegion();
}

CaptureFrameWindow::~CaptureFrameWindow()
{
    writeSettings();
}

Rect CaptureFrameWindow::captureRect() const
{
    const QPoint origin = placedPosition();
    return ::captureRect({origin.x(), origin.y()}, {width(), height()}, borderWidth_);
}

QPoint CaptureFrameWindow::placedPosition() const
{
    if (platform_.windowManager == nullptr) {
        return pos();
    }
    const Point placed = platform_.windowManager->placedOrigin(internalWinId(), {x(), y()});
    return {placed.x, placed.y};
}

void CaptureFrameWindow::setUnits(MeasureUnit unit)
{
    for (QAction* item : {pixelsItem_, inchesItem_, centimetresItem_}) {
        if (item->data().toInt() == static_cast<int>(unit)) {
            item->trigger();
            return;
        }
    }
    units_ = static_cast<int32_t>(unit);
    markUnitItem();
    repaint();
}

std::optional<MeasureUnit> CaptureFrameWindow::markedUnit() const
{
    for (const QAction* item : {pixelsItem_, inchesItem_, centimetresItem_}) {
        if (item->isChecked()) {
            return static_cast<MeasureUnit>(item->data().toInt());
        }
    }
    return std::nullopt;
}

void CaptureFrameWindow::applyDragOption()
{
    // Where a compositor places the windows, the frame's own moves may be refused (sway centres
    // the window at each): the compositor moves it, and the rulers follow where it reports it.
    const bool compositorPlaces =
        platform_.windowManager != nullptr && platform_.windowManager->compositorPlacesWindows();
    dragMode_ = host_.updateRulers() && !compositorPlaces ? DragMode::Own : DragMode::System;
    systemMoveArmed_ = false;
}

void CaptureFrameWindow::createUnitsMenu()
{
    unitsMenu_ = new QMenu(this);
    unitsMenu_->setObjectName(QStringLiteral("unitsMenu"));
    unitsGroup_ = new QActionGroup(this);
    unitsGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    auto addItem = [this](const QString& caption, int tag) {
        QAction* item = unitsMenu_->addAction(caption);
        item->setCheckable(true);
        item->setData(tag);
        unitsGroup_->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { unitItemChosen(item); });
        return item;
    };
    pixelsItem_ = addItem(QStringLiteral("Pixels"), 0);
    inchesItem_ = addItem(QStringLiteral("Inches"), 1);
    centimetresItem_ = addItem(QStringLiteral("Centimetres"), 2);
}

void CaptureFrameWindow::unitItemChosen(QAction* item)
{
    units_ = item->data().toInt();
    item->setChecked(true);
    repaint();
}

void CaptureFrameWindow::markUnitItem()
{
    for (QAction* item : {pixelsItem_, inchesItem_, centimetresItem_}) {
        item->setChecked(item->data().toInt() == units_);
    }
}

void CaptureFrameWindow::readSettings()
{
    const MonitorLayout monitors = platform_.screen.monitorLayout();
    const FrameDesktop screen(monitors.primary().bounds, monitors.desktop());
    FrameSettings settings = correctedFrameSettings(defaultFrameSettings(screen), screen, borderWidth_);
    try {
        SettingsStore store(platform_.userHive, platform_.machineHive);
        SettingsKey key = store.open();
        settings = readFrameSettings(key, screen, borderWidth_);
    } catch (const std::exception&) {
        // An unreadable store leaves every value at its default; settings never show a message.
    }
    // Brought onto the screens that exist: a frame stored off every screen could not be reached.
    const Rect placed =
        placementOnMonitors(Rect::fromSize(settings.left, settings.top, settings.width, settings.height));
    setGeometry(placed.left, placed.top, placed.width(), placed.height());
    units_ = settings.units;
    markUnitItem();
}

Rect CaptureFrameWindow::placementOnMonitors(const Rect& bounds) const
{
    const MonitorLayout monitors = platform_.screen.monitorLayout();
    const FrameSettings defaults = defaultFrameSettings(FrameDesktop(monitors.primary().bounds, monitors.desktop()));
    // The frame may lie across monitors, to capture what spans them.
    return correctedPlacement({bounds.left, bounds.top}, {bounds.width(), bounds.height()}, monitors.availableAreas(),
                              {defaults.left, defaults.top}, true);
}

void CaptureFrameWindow::keepOnMonitors()
{
    const Rect placed = placementOnMonitors(toRect(geometry()));
    if (toQRect(placed) != geometry()) {
        setGeometry(toQRect(placed));
    }
}

void CaptureFrameWindow::writeSettings() const
{
    const QPoint origin = placedPosition();
    try {
        SettingsStore store(platform_.userHive, platform_.machineHive);
        SettingsKey key = store.open();
        writeFrameSettings(key, {origin.x(), origin.y(), width(), height(), units_});
    } catch (const std::exception&) {
        // A failed write at shutdown is not reported.
    }
}

void CaptureFrameWindow::updateFrameRegion()
{
    // Outside the band the window has no pixels: the screen and the mouse reach the windows below.
    const QRegion outer(rect());
    setMask(outer.subtracted(QRegion(toQRect(holeRect({width(), height()}, borderWidth_)))));
    if (platform_.windowManager != nullptr && !platform_.windowManager->shapesAvailable() && !shapeFailureReported_) {
        shapeFailureReported_ = true;
        platform_.messages.showMessage("GetDC Error 3");
    }
    if (isVisible()) {
        repaint();
    }
}

void CaptureFrameWindow::showEvent(QShowEvent* event)
{
    // Before the window is mapped: the window manager reads its states only then.
    if (!event->spontaneous() && platform_.windowManager != nullptr) {
        platform_.windowManager->skipTaskbar(static_cast<NativeWindow>(winId()));
        mapPlacement_.showing(winId(), {x(), y()});
    }
    QWidget::showEvent(event);
}

void CaptureFrameWindow::paintEvent(QPaintEvent*)
{
    if (painting_) {
        return;
    }
    painting_ = true;
    FramePaintInput input;
    const QRect client(placedPosition(), size());
    input.frame.borderWidth = borderWidth_;
    input.frame.client = {client.width(), client.height()};
    input.frame.clientOrigin = {client.x(), client.y()};
    // Inches and centimetres follow the density of the monitor the frame is on.
    const MonitorLayout monitors = platform_.screen.monitorLayout();
    input.frame.pixelsPerInch = monitors.rulerPixelsPerInch(monitors.monitorOf(toRect(client)), pixelsPerInch_);
    input.frame.units = units_;
    input.showRulers = host_.showRulers();
    input.decimalSeparator = locale().decimalPoint();
    painter_->paint(frameBuffer_, input);
    QPainter window(this);
    window.drawImage(0, 0, frameBuffer_);
    if (clearHole_) {
        window.setCompositionMode(QPainter::CompositionMode_Source);
        window.fillRect(toQRect(holeRect({width(), height()}, borderWidth_)), Qt::transparent);
    }
    painting_ = false;
}

void CaptureFrameWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateFrameRegion();
}

void CaptureFrameWindow::moveEvent(QMoveEvent* event)
{
    // The rulers read screen coordinates: they follow the window (an own drag repaints by itself).
    QWidget::moveEvent(event);
    if (!dragging_) {
        update();
    }
}

void CaptureFrameWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    mapPlacement_.forget();
    if (event->button() == Qt::LeftButton) {
        const unsigned edges =
            frameEdgesAt({position.x(), position.y()}, {width(), height()}, resizeMargin(), borderWidth_);
        if (edges != kEdgeNone) {
            if (startCompositorResize(edges, global)) {
                return;
            }
            resizeEdges_ = edges;
            resizeStartGlobal_ = global;
            resizeStartGeometry_ = QRect(placedPosition(), size());
            return;
        }
    }
    if (dragMode_ == DragMode::Own) {
        if (event->button() == Qt::LeftButton) {
            beginOwnDrag(global);
        }
        return;
    }
    systemMoveArmed_ = true;
    systemMovePress_ = global;
    systemMoveButton_ = xButtonNumber(event->button());
}

void CaptureFrameWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (resizeEdges_ != kEdgeNone) {
        const QPoint travel = global - resizeStartGlobal_;
        setGeometry(
            toQRect(resizedFrame(toRect(resizeStartGeometry_), resizeEdges_, travel.x(), travel.y(), borderWidth_)));
        return;
    }
    if (dragging_) {
        followOwnDrag(global);
        return;
    }
    if (systemMoveArmed_ && event->buttons() != Qt::NoButton &&
        (global - systemMovePress_).manhattanLength() >= QApplication::startDragDistance()) {
        // Started only once the pointer has travelled, so that plain clicks still arrive.
        systemMoveArmed_ = false;
        // Anchored at the press, not at the pointer now, so the travel so far is not lost.
        if (platform_.windowManager == nullptr ||
            !platform_.windowManager->startMove(static_cast<NativeWindow>(winId()),
                                                {systemMovePress_.x(), systemMovePress_.y()}, systemMoveButton_)) {
            beginOwnDrag(systemMovePress_);
            followOwnDrag(global);
        }
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        updateHoverCursor(event->position().toPoint());
    }
}

void CaptureFrameWindow::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (resizeEdges_ != kEdgeNone) {
        mouseMoveEvent(event);
        resizeEdges_ = kEdgeNone;
        return;
    }
    if (dragging_) {
        followOwnDrag(global);
        dragging_ = false;
    }
    systemMoveArmed_ = false;
}

bool CaptureFrameWindow::startCompositorResize(unsigned edges, QPoint globalPosition)
{
    // Where a compositor places the windows, it may move the frame at each of its own resizes
    // (sway centres it): the compositor resizes it and keeps the opposite edges where they are.
    WindowManager* windowManager = platform_.windowManager;
    if (windowManager == nullptr || !windowManager->compositorPlacesWindows()) {
        return false;
    }
    const WindowEdges sides{.left = (edges & kEdgeLeft) != 0,
                            .top = (edges & kEdgeTop) != 0,
                            .right = (edges & kEdgeRight) != 0,
                            .bottom = (edges & kEdgeBottom) != 0};
    return windowManager->startResize(static_cast<NativeWindow>(winId()), {globalPosition.x(), globalPosition.y()},
                                      sides, 1);
}

void CaptureFrameWindow::beginOwnDrag(QPoint globalPosition)
{
    dragging_ = true;
    dragStartGlobal_ = globalPosition;
    dragStartWindow_ = placedPosition();
}

void CaptureFrameWindow::followOwnDrag(QPoint globalPosition)
{
    // Measured on the screen rather than in client coordinates, which lag behind the moving window.
    const QPoint target = dragStartWindow_ + (globalPosition - dragStartGlobal_);
    if (target == pos()) {
        return;
    }
    move(target);
    repaint();
    host_.processPendingPaint();
}

int CaptureFrameWindow::resizeMargin() const
{
    return std::max(3, borderWidth_ / 3);
}

void CaptureFrameWindow::updateHoverCursor(QPoint position)
{
    const unsigned edges =
        frameEdgesAt({position.x(), position.y()}, {width(), height()}, resizeMargin(), borderWidth_);
    setCursor(cursorForEdges(edges));
}

void CaptureFrameWindow::keyPressEvent(QKeyEvent* event)
{
    const KeyPress press = keyPressOf(*event);
    if (host_.frameKey(press.virtualKey, press.modifiers)) {
        event->accept();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void CaptureFrameWindow::closeEvent(QCloseEvent* event)
{
    // The frame never closes on its own: the Remote Control decides. A granted request ends the
    // program; a refused one leaves the frame as the Remote Control restored it.
    event->ignore();
    host_.frameCloseRequest();
}

void CaptureFrameWindow::contextMenuEvent(QContextMenuEvent* event)
{
    systemMoveArmed_ = false;
    unitsMenu_->exec(event->globalPos());
}

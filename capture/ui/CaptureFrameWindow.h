// The Capture Frame: a caption-less, always-on-top, resizable frame whose hole is what a capture copies.
#pragma once

#include "capture/FrameHost.h"
#include "common/Geometry.h"
#include "common/MeasureUnit.h"
#include "platform/MapPlacement.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QActionGroup;
class QMenu;
class FramePainter;
struct Platform;

class CaptureFrameWindow : public QWidget {
    Q_OBJECT

public:
    // Reads the stored geometry and unit; the frame stays hidden until the Remote Control shows it.
    CaptureFrameWindow(Platform& platform, FrameHost& host, QWidget* parent = nullptr);
    // Writes the geometry and the unit.
    ~CaptureFrameWindow() override;
    // Writes them now; also used when the display connection is lost.
    void writeSettings() const;

    // After a change of monitors: back onto the primary monitor when no monitor shows enough of it.
    void keepOnMonitors();

    // The hole in screen pixels: what a frame capture copies.
    Rect captureRect() const;
    // May hold a stored value outside 0..2, which is kept and written back unchanged.
    MeasureUnit units() const { return static_cast<MeasureUnit>(units_); }
    // Clicks the matching item of the units menu.
    void setUnits(MeasureUnit unit);
    // Installs the mouse handling for the host's "Update rulers while dragging_" option.
    void applyDragOption();

    int borderWidth() const { return borderWidth_; }
    // The unit whose item the units menu marks; none while a stored unit outside the menu holds.
    std::optional<MeasureUnit> markedUnit() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Where the frame goes from `bounds`: there, or to its default place on the primary monitor
    // when no monitor would show enough of it.
    Rect placementOnMonitors(const Rect& bounds) const;
    enum class DragMode { Own, System };

    void createUnitsMenu();
    void readSettings();
    void updateFrameRegion();
    void unitItemChosen(QAction* item);
    void markUnitItem();
    int resizeMargin() const;
    void updateHoverCursor(QPoint position);
    void beginOwnDrag(QPoint globalPosition);
    // Hands a resize by `edges` to the compositor where it places the windows; false when the
    // frame resizes itself.
    bool startCompositorResize(unsigned edges, QPoint globalPosition);
    void followOwnDrag(QPoint globalPosition);
    // Where the window stands on the screen, in the X server's word where a compositor may have
    // refused or changed a move that Qt believes done.
    QPoint placedPosition() const;

    Platform& platform_;
    FrameHost& host_;
    MapPlacement mapPlacement_;
    std::unique_ptr<FramePainter> painter_;

    int32_t units_ = 0;
    int borderWidth_ = 14;
    int pixelsPerInch_ = 96;
    QImage frameBuffer_;
    bool painting_ = false; // the frame buffer's lock: a nested paint is dropped
    bool shapeFailureReported_ = false;
    // The desktop composes the window whole, shape or not: the hole is painted see-through.
    bool clearHole_ = false;

    QMenu* unitsMenu_ = nullptr;
    QActionGroup* unitsGroup_ = nullptr;
    QAction* pixelsItem_ = nullptr;
    QAction* inchesItem_ = nullptr;
    QAction* centimetresItem_ = nullptr;

    DragMode dragMode_ = DragMode::Own;
    bool dragging_ = false;
    QPoint dragStartGlobal_;
    QPoint dragStartWindow_;
    // System move: armed by a press, started once the pointer has travelled past the drag distance.
    bool systemMoveArmed_ = false;
    QPoint systemMovePress_;
    int systemMoveButton_ = 1;
    // Resizing from the outer edge: which edges follow the pointer (FrameEdge bits).
    unsigned resizeEdges_ = 0;
    QPoint resizeStartGlobal_;
    QRect resizeStartGeometry_;
};

#include "editor/ui/EditorView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

Point pointOf(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

EditorPaintArea::EditorPaintArea(ImageEditorModel& model, const EditorCursors& cursors,
                                 std::function<EditorTool()> tool, std::function<void()> afterChange, QWidget* parent)
    : QWidget(parent), model_(model), cursors_(cursors), tool_(std::move(tool)), afterChange_(std::move(afterChange))
{
    // Every paint covers the whole area, so nothing is erased before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void EditorPaintArea::setBackground(ColorRef color)
{
    background_ = color;
    update();
}

void EditorPaintArea::paintEvent(QPaintEvent* event)
{
    const Bitmap& image = model_.image();
    const ViewPaintPlan plan = model_.view().paintPlan();
    const QPoint offset(plan.source.left, plan.source.top);
    const QColor color(redOf(background_), greenOf(background_), blueOf(background_));
    QPainter painter(this);
    const QImage pixels = image.isEmpty() ? QImage()
                                          : QImage(image.bits(), image.width(), image.height(),
                                                   static_cast<qsizetype>(image.stride()), QImage::Format_BGR888);
    // A whole repaint is one rectangle: one block copy and at most two fills. The moving marks
    // repaint only the strips they changed.
    for (const QRect& dirty : event->region()) {
        const QRect inImage = dirty.translated(offset).intersected(pixels.rect());
        if (!inImage.isEmpty()) {
            painter.drawImage(inImage.topLeft() - offset, pixels, inImage);
        }
        for (int i = 0; i < plan.fillCount; ++i) {
            const QRect fill = toQRect(plan.fills[static_cast<size_t>(i)]).intersected(dirty);
            if (!fill.isEmpty()) {
                painter.fillRect(fill, color);
            }
        }
    }
}

void EditorPaintArea::repaintMarks()
{
    const Point offset = model_.view().offset();
    QRegion strips;
    for (const Rect& strip : markStrips(model_.imageSize(), model_.selection())) {
        if (!strip.isEmpty()) {
            strips += toQRect(strip).translated(-offset.x, -offset.y);
        }
    }
    update(strips);
}

void EditorPaintArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    model_.setViewArea({width(), height()});
    update();
}

void EditorPaintArea::respond(const PointerResponse& response)
{
    if (response.cursor) {
        switch (*response.cursor) {
        case EditorCursor::HandOpen:
            setCursor(cursors_.handOpen);
            break;
        case EditorCursor::HandClosed:
            setCursor(cursors_.handClosed);
            break;
        case EditorCursor::Crosshair:
            setCursor(cursors_.crosshair);
            break;
        }
    }
    if (response.repaint) {
        update();
    }
}

void EditorPaintArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        respond(model_.press(tool_(), pointOf(event)));
    }
}

void EditorPaintArea::mouseMoveEvent(QMouseEvent* event)
{
    const bool onlyLeft = event->buttons() == Qt::LeftButton &&
                          (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    respond(model_.move(tool_(), pointOf(event), onlyLeft));
}

void EditorPaintArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        respond(model_.release(pointOf(event)));
        afterChange_();
    }
}

EditorViewPanel::EditorViewPanel(EditorPaintArea* paintArea, int border, QWidget* parent) : QWidget(parent)
{
    // No outer bevel, the border (8 pixels at 96 dpi), then a lowered one-pixel bevel around the
    // paint area.
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setLineWidth(1);
    auto* inner = new QVBoxLayout(bevel);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(paintArea);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(border, border, border, border);
    outer->addWidget(bevel);
}

#include "editor/ui/EditorStatusBar.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {

constexpr int kPanelGap = 2;
// At most about 30 repaints a second: one synchronous repaint per resampled row made a long
// operation many times slower than its work.
constexpr qint64 kRepaintIntervalMs = 33;

} // namespace

EditorStatusBar::EditorStatusBar(int firstPanelWidth, int secondPanelWidth, QWidget* parent)
    : QWidget(parent), firstWidth_(firstPanelWidth), secondWidth_(secondPanelWidth)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    panelRect_ = panelArea(0, firstWidth_);
}

QSize EditorStatusBar::sizeHint() const
{
    return {firstWidth_ + secondWidth_, fontMetrics().height() + 8};
}

QRect EditorStatusBar::panelArea(int left, int width) const
{
    return QRect(left, kPanelGap, width, std::max(0, height() - 2 * kPanelGap));
}

void EditorStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRect first = panelArea(0, firstWidth_);
    const QRect second = panelArea(firstWidth_ + kPanelGap, secondWidth_);
    for (const QRect& panel : {first, second}) {
        qDrawShadePanel(&painter, panel, palette(), true, 1);
    }
    // The panel's inside, where the progress bar is drawn.
    panelRect_ = first.adjusted(1, 1, -1, -1);
    if (!progressRect_.isEmpty()) {
        painter.fillRect(progressRect_.intersected(panelRect_), palette().highlight());
    }
}

void EditorStatusBar::showProgress(int offset, int length)
{
    const QRect bar(panelRect_.left() + offset, panelRect_.top(), std::max(0, length), panelRect_.height());
    if (bar == progressRect_) {
        return;
    }
    progressRect_ = bar;
    if (lastRepaint_.isValid() && lastRepaint_.elapsed() < kRepaintIntervalMs) {
        return;
    }
    lastRepaint_.start();
    repaint(panelRect_);
}

void EditorStatusBar::clearProgress()
{
    progressRect_ = {};
    lastRepaint_.invalidate();
    repaint();
}

StatusProgress EditorStatusBar::progress()
{
    return {panelRect_.width(), [this](int offset, int length) { showProgress(offset, length); }};
}

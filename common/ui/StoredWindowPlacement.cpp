#include "common/ui/StoredWindowPlacement.h"

#include "common/PlacementCorrection.h"

#include <QMoveEvent>
#include <QWidget>

#include <algorithm>
#include <utility>

StoredWindowPlacement::StoredWindowPlacement(QWidget& window, std::function<std::vector<Rect>()> screens)
    : window_(window), screens_(std::move(screens))
{
}

void StoredWindowPlacement::restore(const WindowPlacement& stored, Size minimum, Point defaultTopLeft)
{
    const Rect placed = restoredPlacement(stored, minimum, screens_(), defaultTopLeft);
    // On a screen too small for the designed minimum the window still fits: it opens no larger
    // than the screen's available area, and may be made that small again.
    window_.setMinimumSize(std::min(minimum.width, placed.width()), std::min(minimum.height, placed.height()));
    place(placed);
    window_.resize(placed.width(), placed.height());
}

void StoredWindowPlacement::place(const Rect& placed)
{
    tracker_.placed({placed.left, placed.top});
    window_.move(placed.left, placed.top); // the frame's top-left corner
}

void StoredWindowPlacement::moved(const QMoveEvent& event)
{
    if (!event.spontaneous() || !window_.isVisible()) {
        return;
    }
    const QPoint at = window_.pos();
    if (tracker_.moved({at.x(), at.y()}, window_.isMaximized())) {
        keepFrameOnScreens();
    }
}

void StoredWindowPlacement::keepFrameOnScreens()
{
    // Only now does the window manager's frame have a size: the stored placement was corrected
    // for the window alone, and the frame must not push its edges, or its buttons, off the screen.
    const QRect frame = window_.frameGeometry();
    const QSize margins = frame.size() - window_.size();
    if (window_.isMaximized() || (margins.width() <= 0 && margins.height() <= 0)) {
        return;
    }
    const Rect placed =
        correctedPlacement({frame.x(), frame.y()}, {frame.width(), frame.height()}, screens_(), {frame.x(), frame.y()});
    const QSize client(placed.width() - margins.width(), placed.height() - margins.height());
    if (client != window_.size()) {
        window_.resize(client);
    }
    if (QPoint(placed.left, placed.top) != frame.topLeft()) {
        place(placed);
    }
}

WindowPlacement StoredWindowPlacement::toStore(ColorRef background) const
{
    const QSize size = window_.isMaximized() ? window_.normalGeometry().size() : window_.size();
    const Point at = tracker_.position();
    return {at.x, at.y, size.width(), size.height(), background};
}

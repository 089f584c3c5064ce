#include "common/ui/StoredWindowPlacement.h"

#include "common/PlacementCorrection.h"

#include <QEvent>
#include <QMoveEvent>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <utility>

namespace {

// Reports this close before the maximized state may belong to the maximizing itself.
constexpr std::chrono::milliseconds kMaximizingReports{1500};
constexpr size_t kKeptNormals = 8;

} // namespace

StoredWindowPlacement::StoredWindowPlacement(QWidget& window, std::function<std::vector<Rect>()> screens)
    : window_(window), screens_(std::move(screens))
{
    window_.installEventFilter(this);
}

void StoredWindowPlacement::restore(const WindowPlacement& stored, Size minimum, Point defaultTopLeft)
{
    const Rect placed = restoredPlacement(stored, minimum, screens_(), defaultTopLeft);
    // On a screen too small for the designed minimum the window still fits: it opens no larger
    // than the screen's available area, and may be made that small again.
    window_.setMinimumSize(std::min(minimum.width, placed.width()), std::min(minimum.height, placed.height()));
    place(placed);
    window_.resize(placed.width(), placed.height());
    normals_ = {{{placed.left, placed.top}, {placed.width(), placed.height()}, Clock::now()}};
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
    } else if (!window_.isMaximized()) {
        noteNormal();
    }
}

bool StoredWindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && window_.isVisible()) {
        if (event->type() == QEvent::Resize && event->spontaneous() && !window_.isMaximized()) {
            noteNormal();
        } else if (event->type() == QEvent::WindowStateChange) {
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            if (window_.isMaximized()) {
                maximizedNow();
            } else if ((change->oldState() & Qt::WindowMaximized) != 0) {
                // Restored: where it is now is its own place again (a later report corrects it).
                const QPoint at = window_.pos();
                tracker_.placed({at.x(), at.y()});
                noteNormal();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void StoredWindowPlacement::noteNormal()
{
    const Normal now{tracker_.position(), {window_.width(), window_.height()}, Clock::now()};
    if (!normals_.empty() && normals_.back().position == now.position && normals_.back().size == now.size) {
        return;
    }
    normals_.push_back(now);
    if (normals_.size() > kKeptNormals) {
        normals_.erase(normals_.begin());
    }
}

void StoredWindowPlacement::maximizedNow()
{
    // Reports of the maximized place or size that came just before the state are the maximizing's.
    const QPoint at = window_.pos();
    const Point maximizedAt{at.x(), at.y()};
    const Size maximizedSize{window_.width(), window_.height()};
    const Clock::time_point now = Clock::now();
    while (normals_.size() > 1 && now - normals_.back().at < kMaximizingReports &&
           (normals_.back().position == maximizedAt || normals_.back().size == maximizedSize)) {
        normals_.pop_back();
    }
    if (!normals_.empty()) {
        tracker_.placed(normals_.back().position);
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
    noteNormal();
}

WindowPlacement StoredWindowPlacement::toStore(ColorRef background) const
{
    if (window_.isMaximized() && !normals_.empty()) {
        const Normal& normal = normals_.back();
        return {normal.position.x, normal.position.y, normal.size.width, normal.size.height, background};
    }
    const Point at = tracker_.position();
    return {at.x, at.y, window_.width(), window_.height(), background};
}

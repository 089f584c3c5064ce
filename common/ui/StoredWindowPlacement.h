// The placement a window keeps in the settings file, applied to the window: restored onto the
// screens, following the user's moves, the window manager's frame kept on the screens once it is
// known, and what to write back. Every window with a stored placement forwards its move events
// here, so that all of them are placed and corrected alike.
#pragma once

#include "common/PlacementTracker.h"
#include "common/WindowPlacement.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <vector>

class QMoveEvent;
class QWidget;

class StoredWindowPlacement : public QObject {
public:
    // `screens` gives the available areas of the screens, asked only when a placement is corrected.
    StoredWindowPlacement(QWidget& window, std::function<std::vector<Rect>()> screens);

    // Makes `minimum` the window's minimum size and puts the window where `stored` says, brought
    // onto the screens, at `defaultTopLeft` when no screen would show it.
    void restore(const WindowPlacement& stored, Size minimum, Point defaultTopLeft);
    // The window's move events, forwarded.
    void moved(const QMoveEvent& event);
    // What to write back: the window's normal (not maximized) place and size, also while it is
    // maximized and after it was maximized and restored.
    WindowPlacement toStore(ColorRef background) const;

protected:
    // The window's resizes and state changes, seen as they happen.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Clock = std::chrono::steady_clock;
    // One normal placement the window had, and when it got it.
    struct Normal {
        Point position;
        Size size;
        Clock::time_point at;
    };

    void place(const Rect& placed);
    void keepFrameOnScreens();
    void noteNormal();
    void maximizedNow();

    QWidget& window_;
    std::function<std::vector<Rect>()> screens_;
    PlacementTracker tracker_;
    // The latest normal placements, the newest last. The window manager may report the maximized
    // place and size before it reports the state: those reports are taken back once it does.
    std::vector<Normal> normals_;
};

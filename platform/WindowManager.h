// Requests to the desktop's window manager that the toolkit does not offer: activation, minimising,
// taskbar state, moves the window manager runs itself, whether windows can be shaped, and where a
// window stands with its frame.
#pragma once

#include "common/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>

// The platform's identifier of a top-level window (an X window id).
using NativeWindow = uint64_t;

// A window as it stands on the screen: the outermost window that holds it (the window manager's
// frame, or the window itself) and the area it takes, frame and decorations included.
struct FramedWindow {
    NativeWindow outer = 0;
    Rect bounds;
};

// The sides of a window that a resize moves; the others stay put.
struct WindowEdges {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

class WindowManager {
public:
    virtual ~WindowManager() = default;

    // Brings the top-level window `windowId` (the platform's window id) to the front with the
    // keyboard focus, as a taskbar asks for it, so focus-stealing prevention does not refuse it.
    virtual void activateWindow(NativeWindow windowId) = 0;
    // Minimises the window the way the window manager's own button does. Nothing of it outlives
    // the restore, so a window hidden and shown later comes back normal, not minimised.
    virtual void minimize(NativeWindow window) = 0;
    // Takes the "minimised" mark off a window restored while no window manager runs: nobody would
    // answer the restore's request, and the next window manager would take the window over
    // minimised. With a window manager running it does nothing; call after the restore.
    virtual void clearMinimized(NativeWindow window) = 0;
    // Keeps the window out of the taskbar and pagers; call before the window is mapped.
    virtual void skipTaskbar(NativeWindow window) = 0;
    // Hands the window to the window manager's move loop as if the pointer button `button` (1 to 3)
    // had been pressed at `anchor` (screen pixels): the window keeps that point under the pointer.
    // False when there is no window manager that offers it.
    virtual bool startMove(NativeWindow window, Point anchor, int button) = 0;
    // Hands the window to the window manager's resize loop by `edges`, as startMove does the move.
    // False when there is no window manager that offers it.
    virtual bool startResize(NativeWindow window, Point anchor, WindowEdges edges, int button)
    {
        (void)window;
        (void)anchor;
        (void)edges;
        (void)button;
        return false;
    }
    // False when the display cannot shape windows, so a window cannot have holes.
    virtual bool shapesAvailable() = 0;
    // Where the shown window stands, its frame included; nothing when the desktop cannot tell.
    virtual std::optional<FramedWindow> framedWindow(NativeWindow window) = 0;
    // Where the X server has the window's top-left pixel, in screen pixels: the truth when a
    // compositor refuses or changes a move that the toolkit believes done. Nothing when unknown.
    virtual std::optional<Point> windowOrigin(NativeWindow window)
    {
        (void)window;
        return std::nullopt;
    }
    // True where a compositor places the windows and may refuse or change a move that the toolkit
    // believes done (XWayland in a Wayland session): there only the X server's word counts.
    virtual bool compositorPlacesWindows() const { return false; }
    // Where the window stands: the X server's word where the compositor places windows, else
    // `believed` (the toolkit's, exact where the window manager grants every request).
    Point placedOrigin(NativeWindow window, Point believed)
    {
        if (!compositorPlacesWindows() || window == 0) {
            return believed;
        }
        return windowOrigin(window).value_or(believed);
    }
    // What the compositor keeps from the program's windows (clicks through a window's holes,
    // staying in front of other windows), in words for the user; empty when nothing.
    virtual std::string compositorLimits() const { return {}; }
    // Puts the window just shown at `origin` once the compositor has mapped it, where the
    // compositor places windows itself as it maps them (sway centres them) and refuses the
    // window's own requests. False while the compositor has not mapped it yet (ask again); true
    // when done or when there is nothing to do.
    virtual bool placeAfterMap(NativeWindow window, Point origin)
    {
        (void)window;
        (void)origin;
        return true;
    }
};

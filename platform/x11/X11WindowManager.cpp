#include "platform/x11/X11WindowManager.h"

#include "platform/x11/QtXcbConnection.h"
#include "platform/x11/SwayIpc.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The desktop's names as the session states them (XDG_CURRENT_DESKTOP, e.g. "GNOME" or "sway").
std::string desktopNames()
{
    const char* names = std::getenv("XDG_CURRENT_DESKTOP");
    return names != nullptr ? std::string(names) : std::string();
}

xcb_connection_t* qtConnection()
{
    return qtXcbConnection().connection;
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The atoms in the window's ATOM-typed property; none when it is missing or of another type.
std::vector<xcb_atom_t> propertyAtoms(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM) {
        return {};
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / static_cast<int>(sizeof(xcb_atom_t));
    return {atoms, atoms + count};
}

bool propertyHoldsAtom(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t atom)
{
    const std::vector<xcb_atom_t> atoms = propertyAtoms(connection, window, property);
    return std::ranges::find(atoms, atom) != atoms.end();
}

// A client message about `window` to the window manager, which listens on the root window.
void sendToWindowManager(const QtXcbConnection& qt, NativeWindow window, const char* type, const uint32_t (&data)[5])
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window);
    message.type = internAtom(qt.connection, type);
    std::memcpy(message.data.data32, data, sizeof data);
    xcb_send_event(qt.connection, 0, qt.root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(qt.connection);
}

// The child of the root window that holds `window`: the window manager's frame, or the window
// itself when nothing reparented it.
std::optional<xcb_window_t> outermostWindow(xcb_connection_t* connection, xcb_window_t window)
{
    constexpr int kMostLevels = 32; // a guard against a tree that changes while it is walked
    for (int level = 0; level < kMostLevels; ++level) {
        std::unique_ptr<xcb_query_tree_reply_t, FreeDeleter> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        if (!tree) {
            return std::nullopt;
        }
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) {
            return window;
        }
        window = tree->parent;
    }
    return std::nullopt;
}

// The window's area grown by the frame the window manager announces (_NET_FRAME_EXTENTS), for
// window managers that draw decorations outside the window they reparent it into.
std::optional<Rect> boundsWithFrameExtents(xcb_connection_t* connection, xcb_window_t window)
{
    std::unique_ptr<xcb_get_geometry_reply_t, FreeDeleter> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    std::unique_ptr<xcb_translate_coordinates_reply_t, FreeDeleter> origin(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, geometry->root, 0, 0), nullptr));
    if (!origin) {
        return std::nullopt;
    }
    uint32_t extents[4] = {0, 0, 0, 0}; // left, right, top, bottom
    const xcb_atom_t property = internAtom(connection, "_NET_FRAME_EXTENTS");
    if (property != XCB_ATOM_NONE) {
        auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_CARDINAL, 0, 4);
        std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(
            xcb_get_property_reply(connection, cookie, nullptr));
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == sizeof extents) {
            std::memcpy(extents, xcb_get_property_value(reply.get()), sizeof extents);
        }
    }
    const int left = origin->dst_x;
    const int top = origin->dst_y;
    return Rect{left - static_cast<int>(extents[0]), top - static_cast<int>(extents[2]),
                left + geometry->width + static_cast<int>(extents[1]),
                top + geometry->height + static_cast<int>(extents[3])};
}

Rect united(const Rect& a, const Rect& b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

} // namespace

void X11WindowManager::activateWindow(NativeWindow windowId)
{
    const QtXcbConnection qt = qtXcbConnection();
    if (qt.connection == nullptr || windowId == 0) {
        return;
    }
    // Source 2: a pager's request, which window managers honour even from a background program;
    // the hotkey press itself is the user's request.
    sendToWindowManager(qt, windowId, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME, 0, 0, 0});
}

void X11WindowManager::minimize(NativeWindow window)
{
    const QtXcbConnection qt = qtXcbConnection();
    if (qt.connection == nullptr || window == 0) {
        return;
    }
    // The ICCCM request, as the window manager's own button: Qt's minimising also marks the window
    // to start iconic (WM_HINTS), a mark that a restore by the window manager leaves in place.
    constexpr uint32_t kIconicState = 3;
    sendToWindowManager(qt, window, "WM_CHANGE_STATE", {kIconicState, 0, 0, 0, 0});
}

void X11WindowManager::clearMinimized(NativeWindow window)
{
    xcb_connection_t* connection = qtConnection();
    if (connection == nullptr || window == 0) {
        return;
    }
    // A running window manager owns the property and drops the mark when asked by the restore.
    std::unique_ptr<xcb_get_window_attributes_reply_t, FreeDeleter> root(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, qtXcbConnection().root), nullptr));
    if (!root || (root->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT) != 0) {
        return;
    }
    const auto xcbWindow = static_cast<xcb_window_t>(window);
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t hidden = internAtom(connection, "_NET_WM_STATE_HIDDEN");
    if (state == XCB_ATOM_NONE || hidden == XCB_ATOM_NONE) {
        return;
    }
    std::vector<xcb_atom_t> kept = propertyAtoms(connection, xcbWindow, state);
    if (std::erase(kept, hidden) == 0) {
        return;
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcbWindow, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(kept.size()), kept.data());
    xcb_flush(connection);
}

void X11WindowManager::skipTaskbar(NativeWindow window)
{
    xcb_connection_t* connection = qtConnection();
    if (connection == nullptr || window == 0) {
        return;
    }
    const auto xcbWindow = static_cast<xcb_window_t>(window);
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    // Qt merges these with its own states (always on top) when it maps the window.
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t atom = internAtom(connection, name);
        if (state == XCB_ATOM_NONE || atom == XCB_ATOM_NONE || propertyHoldsAtom(connection, xcbWindow, state, atom)) {
            continue;
        }
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, xcbWindow, state, XCB_ATOM_ATOM, 32, 1, &atom);
    }
    xcb_flush(connection);
}

namespace {

// Asks the window manager to run its move or resize loop (`direction`, as _NET_WM_MOVERESIZE
// numbers them) for the window, as if `button` had been pressed at `anchor`.
bool startMoveResize(NativeWindow window, Point anchor, uint32_t direction, int button)
{
    xcb_connection_t* connection = qtConnection();
    if (connection == nullptr || window == 0) {
        return false;
    }
    const auto xcbWindow = static_cast<xcb_window_t>(window);
    std::unique_ptr<xcb_query_tree_reply_t, FreeDeleter> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, xcbWindow), nullptr));
    const xcb_atom_t moveResize = internAtom(connection, "_NET_WM_MOVERESIZE");
    if (!tree || moveResize == XCB_ATOM_NONE ||
        !propertyHoldsAtom(connection, tree->root, internAtom(connection, "_NET_SUPPORTED"), moveResize)) {
        return false;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcbWindow;
    message.type = moveResize;
    message.data.data32[0] = static_cast<uint32_t>(anchor.x);
    message.data.data32[1] = static_cast<uint32_t>(anchor.y);
    message.data.data32[2] = direction;
    message.data.data32[3] = static_cast<uint32_t>(button);
    message.data.data32[4] = 1; // a normal application
    // The window manager takes the pointer over; our implicit grab from the press must go.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_send_event(connection, 0, tree->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

} // namespace

bool X11WindowManager::startMove(NativeWindow window, Point anchor, int button)
{
    constexpr uint32_t kMoveResizeMove = 8;
    return startMoveResize(window, anchor, kMoveResizeMove, button);
}

bool X11WindowManager::startResize(NativeWindow window, Point anchor, WindowEdges edges, int button)
{
    // The directions clockwise from the top-left corner, as _NET_WM_MOVERESIZE numbers them.
    uint32_t direction = 0;
    if (edges.top) {
        direction = edges.left ? 0 : (edges.right ? 2 : 1);
    } else if (edges.bottom) {
        direction = edges.right ? 4 : (edges.left ? 6 : 5);
    } else if (edges.right) {
        direction = 3;
    } else if (edges.left) {
        direction = 7;
    } else {
        return false;
    }
    return startMoveResize(window, anchor, direction, button);
}

bool X11WindowManager::shapesAvailable()
{
    xcb_connection_t* connection = qtConnection();
    if (connection == nullptr) {
        return true;
    }
    static const bool available = [connection] {
        static constexpr char kShape[] = "SHAPE";
        auto cookie = xcb_query_extension(connection, sizeof kShape - 1, kShape);
        std::unique_ptr<xcb_query_extension_reply_t, FreeDeleter> reply(
            xcb_query_extension_reply(connection, cookie, nullptr));
        return reply && reply->present != 0;
    }();
    return available;
}

std::optional<FramedWindow> X11WindowManager::framedWindow(NativeWindow window)
{
    xcb_connection_t* connection = qtConnection();
    if (connection == nullptr || window == 0) {
        return std::nullopt;
    }
    const auto xcbWindow = static_cast<xcb_window_t>(window);
    const std::optional<xcb_window_t> outer = outermostWindow(connection, xcbWindow);
    const std::optional<Rect> announced = boundsWithFrameExtents(connection, xcbWindow);
    if (!outer || !announced) {
        return std::nullopt;
    }
    std::unique_ptr<xcb_get_geometry_reply_t, FreeDeleter> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, *outer), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    // A child of the root window has its position in screen pixels; its border lies outside its size.
    const int border = 2 * geometry->border_width;
    const Rect outerBounds =
        Rect::fromSize(geometry->x, geometry->y, geometry->width + border, geometry->height + border);
    return FramedWindow{*outer, united(outerBounds, *announced)};
}

std::optional<Point> X11WindowManager::windowOrigin(NativeWindow window)
{
    xcb_connection_t* connection = qtConnection();
    const QtXcbConnection qt = qtXcbConnection();
    if (connection == nullptr || window == 0 || qt.root == 0) {
        return std::nullopt;
    }
    std::unique_ptr<xcb_translate_coordinates_reply_t, FreeDeleter> origin(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, static_cast<xcb_window_t>(window), qt.root, 0, 0), nullptr));
    if (!origin) {
        return std::nullopt;
    }
    return Point{origin->dst_x, origin->dst_y};
}

bool X11WindowManager::placeAfterMap(NativeWindow window, Point origin)
{
    if (!compositorPlaces_) {
        return true;
    }
    // Other compositors (mutter, KWin) grant the place the window asks for.
    const SwayWindowPlace place = swayWindowPlace(window);
    if (!place.swayAnswered) {
        return true;
    }
    if (!place.content) {
        return false;
    }
    if (*place.content != origin) {
        // By the distance, so that sway's borders and title bars around the window do not count.
        auto step = [](int distance, const char* forward, const char* back) {
            return std::string("move ") + (distance < 0 ? back : forward) + " " + std::to_string(std::abs(distance)) +
                   " px";
        };
        runSwayCommand("[id=" + std::to_string(window) + "] " + step(origin.x - place.content->x, "right", "left") +
                       ", " + step(origin.y - place.content->y, "down", "up"));
    }
    return true;
}

std::string X11WindowManager::compositorLimits() const
{
    if (!compositorPlaces_) {
        return {};
    }
    // Seen with XWayland 22: sway and GNOME's mutter give the clicks in a shaped window's holes to
    // the window itself; mutter keeps "always on top" windows in front, sway does not. KDE's KWin
    // is the X11 window manager of its XWayland as on an X11 desktop.
    const std::string desktop = desktopNames();
    if (desktop.find("KDE") != std::string::npos) {
        return {};
    }
    std::string limits = "In this Wayland session clicks in the hole do not reach the window below";
    if (desktop.find("GNOME") == std::string::npos) {
        limits += ", and the frame does not stay in front of other windows";
    }
    return limits + ".";
}

#include "platform/x11/X11UncoverWatch.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// Points from `begin` on, `step` apart, and the last one before `end`.
std::vector<int> samplesAlong(int begin, int end, int step)
{
    std::vector<int> points;
    for (int p = begin; p < end - 1; p += step) {
        points.push_back(p);
    }
    points.push_back(end - 1);
    return points;
}

} // namespace

X11UncoverWatch::X11UncoverWatch(const char* displayName)
{
    int screenNumber = 0;
    connection_ = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    root_ = screens.data->root;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_damage_id);
    if (extension != nullptr && extension->present != 0) {
        std::unique_ptr<xcb_damage_query_version_reply_t, FreeDeleter> version(xcb_damage_query_version_reply(
            connection_, xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr));
        damageAvailable_ = version != nullptr;
        damageEvent_ = extension->first_event;
    }
}

X11UncoverWatch::~X11UncoverWatch()
{
    if (connection_ != nullptr) {
        stop();
        xcb_disconnect(connection_);
    }
}

void X11UncoverWatch::start(NativeWindow outer, Rect area)
{
    stop();
    outer_ = static_cast<uint32_t>(outer);
    area_ = area;
    uncovered_ = connection_ == nullptr || outer_ == 0;
    // Without the extension nothing tells when the programs behind have painted: the caller's
    // look at the pixels is all there is.
    painted_ = !damageAvailable_;
    if (connection_ == nullptr || outer_ == 0) {
        return;
    }
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, outer_, XCB_CW_EVENT_MASK, &mask);
    if (damageAvailable_) {
        damage_ = xcb_generate_id(connection_);
        // The root window's damage includes the drawing into every window on it.
        xcb_damage_create(connection_, damage_, root_, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    }
    // Both are in force before the caller hides the window; what was reported until now is old.
    roundTrip();
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        std::free(event);
    }
}

bool X11UncoverWatch::uncovered()
{
    readEvents();
    return uncovered_;
}

bool X11UncoverWatch::paintedSinceUncovered()
{
    readEvents();
    return uncovered_ && painted_;
}

bool X11UncoverWatch::windowBehind()
{
    if (connection_ == nullptr || area_.isEmpty()) {
        return false;
    }
    // The server's own hit test names the top-level window at each point, shapes respected.
    constexpr int kStep = 8;
    std::vector<xcb_translate_coordinates_cookie_t> cookies;
    for (const int y : samplesAlong(area_.top, area_.bottom, kStep)) {
        for (const int x : samplesAlong(area_.left, area_.right, kStep)) {
            cookies.push_back(
                xcb_translate_coordinates(connection_, root_, root_, static_cast<int16_t>(x), static_cast<int16_t>(y)));
        }
    }
    bool shown = false;
    for (const auto& cookie : cookies) {
        std::unique_ptr<xcb_translate_coordinates_reply_t, FreeDeleter> reply(
            xcb_translate_coordinates_reply(connection_, cookie, nullptr));
        shown |= reply && reply->child != XCB_WINDOW_NONE;
    }
    return shown;
}

void X11UncoverWatch::stop()
{
    if (connection_ == nullptr) {
        return;
    }
    if (damage_ != 0) {
        xcb_damage_destroy(connection_, damage_);
        damage_ = 0;
    }
    if (outer_ != 0) {
        // The frame may be gone already; the error that brings is dropped with the events.
        const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
        xcb_change_window_attributes(connection_, outer_, XCB_CW_EVENT_MASK, &none);
        outer_ = 0;
    }
    roundTrip();
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        std::free(event);
    }
}

// Events arrive in the order the server sent them: drawing reported after the frame's unmap
// happened after the area was uncovered.
void X11UncoverWatch::readEvents()
{
    if (connection_ == nullptr) {
        return;
    }
    xcb_flush(connection_);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY) {
            // Both events start with the window whose structure was selected, then the window itself.
            const auto* unmap = reinterpret_cast<const xcb_unmap_notify_event_t*>(event);
            uncovered_ = uncovered_ || unmap->window == outer_;
        } else if (damageAvailable_ && type == damageEvent_ + XCB_DAMAGE_NOTIFY && uncovered_) {
            const auto* notify = reinterpret_cast<const xcb_damage_notify_event_t*>(event);
            const Rect drawn = Rect::fromSize(notify->area.x, notify->area.y, notify->area.width, notify->area.height);
            painted_ = painted_ || !drawn.intersected(area_).isEmpty();
        }
        std::free(event);
    }
}

void X11UncoverWatch::roundTrip()
{
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

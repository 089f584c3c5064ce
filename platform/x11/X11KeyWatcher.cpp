#include "platform/x11/X11KeyWatcher.h"

#include "platform/x11/QtXcbConnection.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kHeldInterval = 250;

} // namespace

X11KeyWatcher::X11KeyWatcher()
{
    heldTimer_.setInterval(kHeldInterval);
    connect(&heldTimer_, &QTimer::timeout, this, &X11KeyWatcher::stillHeld);
    const QtXcbConnection qt = qtXcbConnection();
    if (qt.connection == nullptr) {
        return;
    }
    const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(qt.connection, &xcb_input_id);
    if (xinput == nullptr || !xinput->present) {
        return;
    }
    connection_ = qt.connection;
    root_ = qt.root;
    xinputOpcode_ = xinput->major_opcode;
    keyboard_ = std::make_unique<X11Keyboard>(connection_);
    printKeys_ = keyboard_->keycodes(XK_Print);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11KeyWatcher::~X11KeyWatcher()
{
    stop();
    if (connection_ != nullptr && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void X11KeyWatcher::start(std::function<void()> pressed)
{
    pressed_ = std::move(pressed);
    if (running_) {
        return;
    }
    running_ = true;
    selectRawKeys(true);
}

void X11KeyWatcher::stop()
{
    if (!running_) {
        return;
    }
    running_ = false;
    heldTimer_.stop();
    selectRawKeys(false);
}

void X11KeyWatcher::selectRawKeys(bool on)
{
    if (!isAvailable()) {
        return;
    }
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } mask{};
    // All master devices: one event per press, whichever keyboard (or xdotool) sent it. Qt's own
    // root selection is made for all devices, a separate entry this one does not replace.
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.bits = on ? XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE : 0;
    xcb_input_xi_select_events(connection_, root_, 1, &mask.head);
    xcb_flush(connection_);
}

bool X11KeyWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type == XCB_MAPPING_NOTIFY) {
        keyboard_->refresh(message);
        printKeys_ = keyboard_->keycodes(XK_Print);
        return false;
    }
    if (type != XCB_GE_GENERIC || !running_) {
        return false;
    }
    const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
    if (generic->extension != xinputOpcode_ ||
        (generic->event_type != XCB_INPUT_RAW_KEY_PRESS && generic->event_type != XCB_INPUT_RAW_KEY_RELEASE)) {
        return false;
    }
    const auto* raw = static_cast<const xcb_input_raw_key_press_event_t*>(message);
    if (std::find(printKeys_.begin(), printKeys_.end(), static_cast<uint8_t>(raw->detail)) == printKeys_.end()) {
        return false;
    }
    if (generic->event_type == XCB_INPUT_RAW_KEY_PRESS) {
        printPressed();
    } else {
        printReleased();
    }
    return true;
}

void X11KeyWatcher::printPressed()
{
    // The server's own repeat of a held key is not reported raw on every server; the held
    // timer repeats instead, so a repeat press only keeps it going.
    if (heldTimer_.isActive()) {
        return;
    }
    deliver();
    heldTimer_.start();
}

void X11KeyWatcher::printReleased()
{
    heldTimer_.stop();
}

void X11KeyWatcher::stillHeld()
{
    // A release that never arrived (the watch was off meanwhile) must not repeat for ever.
    if (!printKeyDown()) {
        heldTimer_.stop();
        return;
    }
    deliver();
}

bool X11KeyWatcher::printKeyDown() const
{
    std::unique_ptr<xcb_query_keymap_reply_t, decltype(&std::free)> keymap(
        xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr), &std::free);
    if (!keymap) {
        return false;
    }
    return std::any_of(printKeys_.begin(), printKeys_.end(),
                       [&](uint8_t code) { return (keymap->keys[code / 8] >> (code % 8)) & 1; });
}

void X11KeyWatcher::deliver()
{
    if (queued_) {
        return;
    }
    queued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            queued_ = false;
            if (running_ && pressed_) {
                pressed_();
            }
        },
        Qt::QueuedConnection);
}

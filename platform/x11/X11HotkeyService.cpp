#include "platform/x11/X11HotkeyService.h"

#include "platform/x11/QtXcbConnection.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

// Modifiers that a hotkey press is matched on; lock and pointer-button bits are not part of it.
constexpr uint16_t kChordMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2 |
                                XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;
// The keyboard extension's notices of a new keyboard and of a changed map.
constexpr uint8_t kXkbNewKeyboardNotify = 0;
constexpr uint8_t kXkbMapNotify = 1;

} // namespace

X11HotkeyService::X11HotkeyService()
{
    const QtXcbConnection qt = qtXcbConnection();
    if (qt.connection == nullptr) {
        return;
    }
    connection_ = qt.connection;
    root_ = qt.root;
    keyboard_ = std::make_unique<X11Keyboard>(connection_);
    // Desktops switch layouts through the keyboard extension, whose clients (Qt among them) get
    // its notices instead of the core MappingNotify. Qt selects them on this connection.
    constexpr char kXkbName[] = "XKEYBOARD";
    std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> xkb(
        xcb_query_extension_reply(connection_, xcb_query_extension(connection_, sizeof kXkbName - 1, kXkbName),
                                  nullptr),
        &std::free);
    if (xkb && xkb->present) {
        xkbFirstEvent_ = xkb->first_event;
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotkeyService::~X11HotkeyService()
{
    if (connection_ == nullptr) {
        return;
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    for (const auto& [id, hotkey] : hotkeys_) {
        ungrab(hotkey);
    }
    xcb_flush(connection_);
}

bool X11HotkeyService::registerHotkey(int id, Shortcut shortcut)
{
    unregisterHotkey(id);
    if (connection_ == nullptr) {
        return false;
    }
    const std::optional<KeyChord> chord = keyChordFor(shortcut, keyboard_->modifierBits());
    if (!chord) {
        return false;
    }
    Hotkey hotkey{shortcut, chord->modifiers, keycodesFor(keysymFor(shortcutKey(shortcut)))};
    if (hotkey.keycodes.empty() || heldByAnotherId(hotkey) || !grab(hotkey)) {
        return false;
    }
    hotkeys_[id] = std::move(hotkey);
    return true;
}

void X11HotkeyService::unregisterHotkey(int id)
{
    const auto found = hotkeys_.find(id);
    if (found == hotkeys_.end()) {
        return;
    }
    ungrab(found->second);
    xcb_flush(connection_);
    hotkeys_.erase(found);
    queued_.erase(id);
}

std::string X11HotkeyService::keyName(int virtualKey) const
{
    if (keyboard_ == nullptr) {
        return {};
    }
    const uint32_t keysym = keysymFor(virtualKey);
    if (keyboard_->keycodes(keysym).empty()) {
        return {};
    }
    return X11Keyboard::keysymName(keysym);
}

uint32_t X11HotkeyService::keysymFor(int virtualKey) const
{
    // An OEM key means the layout's own character where the US one is not on a key of its own
    // (German: ß where the US layout has [).
    const uint32_t us = keysymForVirtualKey(virtualKey);
    const uint32_t layout = layoutKeysymForVirtualKey(virtualKey);
    if (layout != 0 && !keyboard_->onBaseLevel(us) && keyboard_->onBaseLevel(layout)) {
        return layout;
    }
    return us;
}

std::vector<uint8_t> X11HotkeyService::keycodesFor(uint32_t keysym) const
{
    std::vector<uint8_t> codes = keyboard_->keycodes(keysym);
    // One virtual key stands for both Enter keys, as the keypad's Enter has none of its own.
    if (keysym == XK_Return) {
        for (const uint8_t code : keyboard_->keycodes(XK_KP_Enter)) {
            if (std::find(codes.begin(), codes.end(), code) == codes.end()) {
                codes.push_back(code);
            }
        }
    }
    return codes;
}

bool X11HotkeyService::heldByAnotherId(const Hotkey& hotkey) const
{
    // The server lets a client grab its own combination twice; the second id must be refused
    // as it would be for another program, or releasing one id would silence the other.
    for (const auto& [id, other] : hotkeys_) {
        if (other.modifiers != hotkey.modifiers) {
            continue;
        }
        for (const uint8_t code : other.keycodes) {
            if (std::find(hotkey.keycodes.begin(), hotkey.keycodes.end(), code) != hotkey.keycodes.end()) {
                return true;
            }
        }
    }
    return false;
}

bool X11HotkeyService::grab(Hotkey& hotkey)
{
    uint16_t variants[4];
    const int count = lockVariants(keyboard_->modifierBits(), variants);
    std::vector<xcb_void_cookie_t> cookies;
    for (const uint8_t keycode : hotkey.keycodes) {
        for (int i = 0; i < count; ++i) {
            cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, hotkey.modifiers | variants[i], keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    // Every grab is checked: one refused variant (BadAccess, another client holds it) refuses
    // the hotkey, and the variants that did succeed are released again.
    bool refused = false;
    for (const xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            refused = true;
            std::free(error);
        }
    }
    if (refused) {
        ungrab(hotkey);
        xcb_flush(connection_);
        return false;
    }
    return true;
}

void X11HotkeyService::ungrab(const Hotkey& hotkey)
{
    uint16_t variants[4];
    const int count = lockVariants(keyboard_->modifierBits(), variants);
    // Releasing a combination that another client holds leaves that client's grab alone.
    for (const uint8_t keycode : hotkey.keycodes) {
        for (int i = 0; i < count; ++i) {
            xcb_ungrab_key(connection_, keycode, root_, hotkey.modifiers | variants[i]);
        }
    }
}

bool X11HotkeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
    case XCB_KEY_PRESS: {
        const auto* press = static_cast<const xcb_key_press_event_t*>(message);
        if (press->event != root_) {
            return false;
        }
        keyPressed(press->detail, press->state);
        // Our grab took it; no window of ours expects it.
        return true;
    }
    case XCB_MAPPING_NOTIFY:
        keyboardMapChanged(message);
        // Qt reads the new map as well.
        return false;
    default:
        if (xkbFirstEvent_ != 0 && (event->response_type & 0x7F) == xkbFirstEvent_) {
            // The extension's event kind is the second byte: a new keyboard (0) or a new map (1).
            const uint8_t kind = static_cast<const uint8_t*>(message)[1];
            if (kind == kXkbNewKeyboardNotify || kind == kXkbMapNotify) {
                keyboardMapChanged(nullptr);
            }
        }
        return false;
    }
}

void X11HotkeyService::keyPressed(uint8_t keycode, uint16_t state)
{
    const uint16_t numLock = keyboard_->modifierBits().numLock;
    const auto chord = static_cast<uint16_t>(state & kChordMask & ~numLock);
    for (const auto& [id, hotkey] : hotkeys_) {
        if (hotkey.modifiers != chord) {
            continue;
        }
        for (const uint8_t code : hotkey.keycodes) {
            if (code == keycode) {
                deliver(id);
                return;
            }
        }
    }
}

void X11HotkeyService::deliver(int id)
{
    if (!queued_.insert(id).second) {
        return;
    }
    // Queued, so the command (which may open modal windows) never runs inside event filtering.
    QMetaObject::invokeMethod(
        this,
        [this, id] {
            if (queued_.erase(id) == 0) {
                return;
            }
            if (handler_) {
                handler_(id);
            }
        },
        Qt::QueuedConnection);
}

void X11HotkeyService::keyboardMapChanged(const void* event)
{
    for (auto& [id, hotkey] : hotkeys_) {
        ungrab(hotkey);
    }
    keyboard_->refresh(event);
    // The same shortcuts on the keys the new map gives them; one that is refused now stays
    // registered without a key, as if another program held it.
    for (auto& [id, hotkey] : hotkeys_) {
        const std::optional<KeyChord> chord = keyChordFor(hotkey.shortcut, keyboard_->modifierBits());
        hotkey.modifiers = chord ? chord->modifiers : 0;
        hotkey.keycodes = chord ? keycodesFor(keysymFor(shortcutKey(hotkey.shortcut))) : std::vector<uint8_t>{};
        if (!hotkey.keycodes.empty() && !grab(hotkey)) {
            hotkey.keycodes.clear();
        }
    }
    xcb_flush(connection_);
}

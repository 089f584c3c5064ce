// The X server's current keyboard map as seen through one xcb connection: the key codes that
// carry a keysym, the modifier bits of Alt and NumLock, and keysym names.
#pragma once

#include "platform/x11/VirtualKeySymbols.h"

#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;
struct _XCBKeySymbols; // NOLINT(bugprone-reserved-identifier): xcb-keysyms names it so

class X11Keyboard {
public:
    explicit X11Keyboard(xcb_connection_t* connection);
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // Every key code that produces `keysym` in some column of the map (empty: no such key).
    std::vector<uint8_t> keycodes(uint32_t keysym) const;
    // Some key gives `keysym` without Shift or a third-level key (its first two columns).
    bool onBaseLevel(uint32_t keysym) const;
    const ModifierBits& modifierBits() const { return bits_; }
    // Reads the map again after the server reported a change: a MappingNotify event, or null for
    // the keyboard extension's notice of a new layout.
    void refresh(const void* mappingNotifyEvent);

    // The keysym's own name with blanks for underscores ("Scroll Lock"), printable Latin-1
    // keysyms as their character; "" for an unknown keysym.
    static std::string keysymName(uint32_t keysym);
    // The keysym's name as keyboard maps and shortcut settings write it ("Print", "a"); "" for
    // an unknown keysym.
    static std::string keysymIdentifier(uint32_t keysym);

private:
    void readModifierBits();

    xcb_connection_t* connection_;
    _XCBKeySymbols* symbols_ = nullptr;
    ModifierBits bits_;
};

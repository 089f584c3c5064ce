#include "platform/x11/X11Keyboard.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

namespace {

// Columns of a key's keysym list worth searching: plain, shifted and the second group.
constexpr int kColumns = 4;

} // namespace

X11Keyboard::X11Keyboard(xcb_connection_t* connection) : connection_(connection)
{
    if (connection_ != nullptr) {
        symbols_ = xcb_key_symbols_alloc(connection_);
        readModifierBits();
    }
}

X11Keyboard::~X11Keyboard()
{
    if (symbols_ != nullptr) {
        xcb_key_symbols_free(symbols_);
    }
}

std::vector<uint8_t> X11Keyboard::keycodes(uint32_t keysym) const
{
    std::vector<uint8_t> codes;
    if (symbols_ == nullptr || keysym == 0) {
        return codes;
    }
    std::unique_ptr<xcb_keycode_t, decltype(&std::free)> list(xcb_key_symbols_get_keycode(symbols_, keysym),
                                                              &std::free);
    for (const xcb_keycode_t* code = list.get(); code != nullptr && *code != XCB_NO_SYMBOL; ++code) {
        codes.push_back(*code);
    }
    return codes;
}

bool X11Keyboard::onBaseLevel(uint32_t keysym) const
{
    for (const uint8_t code : keycodes(keysym)) {
        if (xcb_key_symbols_get_keysym(symbols_, code, 0) == keysym ||
            xcb_key_symbols_get_keysym(symbols_, code, 1) == keysym) {
            return true;
        }
    }
    return false;
}

void X11Keyboard::refresh(const void* mappingNotifyEvent)
{
    if (symbols_ == nullptr) {
        return;
    }
    // xcb_refresh_keyboard_mapping only takes a keyboard change; a modifier change needs the
    // modifier bits read again, and reading both is cheap.
    if (mappingNotifyEvent == nullptr) {
        // A new layout as a whole: the symbols are read again from the server when next asked.
        xcb_key_symbols_free(symbols_);
        symbols_ = xcb_key_symbols_alloc(connection_);
    } else {
        auto* event = static_cast<xcb_mapping_notify_event_t*>(const_cast<void*>(mappingNotifyEvent));
        if (event->request == XCB_MAPPING_KEYBOARD) {
            xcb_refresh_keyboard_mapping(symbols_, event);
        }
    }
    readModifierBits();
}

void X11Keyboard::readModifierBits()
{
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr), &std::free);
    if (!reply) {
        return;
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    ModifierBits found{0, 0};
    // Modifiers 3 to 7 are Mod1 to Mod5; Shift, Lock and Control are fixed.
    for (int modifier = 3; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code == 0) {
                continue;
            }
            for (int column = 0; column < kColumns; ++column) {
                const xcb_keysym_t sym = xcb_key_symbols_get_keysym(symbols_, code, column);
                const auto bit = static_cast<uint16_t>(1u << modifier);
                if (sym == XK_Num_Lock && found.numLock == 0) {
                    found.numLock = bit;
                } else if ((sym == XK_Alt_L || sym == XK_Alt_R || sym == XK_Meta_L) && found.alt == 0) {
                    found.alt = bit;
                }
            }
        }
    }
    // A map without an Alt modifier still lets Alt shortcuts be asked for on Mod1.
    bits_.alt = found.alt != 0 ? found.alt : ModifierBits{}.alt;
    bits_.numLock = found.numLock;
}

std::string X11Keyboard::keysymName(uint32_t keysym)
{
    if (keysym > 0x20 && keysym < 0x7F) {
        return std::string(1, static_cast<char>(keysym));
    }
    if (keysym > 0xA0 && keysym <= 0xFF) {
        // Latin-1 above ASCII, as UTF-8.
        std::string text;
        text += static_cast<char>(0xC0 | (keysym >> 6));
        text += static_cast<char>(0x80 | (keysym & 0x3F));
        return text;
    }
    const char* name = XKeysymToString(keysym);
    if (name == nullptr) {
        return {};
    }
    std::string text(name);
    for (char& c : text) {
        if (c == '_') {
            c = ' ';
        }
    }
    return text;
}

std::string X11Keyboard::keysymIdentifier(uint32_t keysym)
{
    const char* name = XKeysymToString(keysym);
    return name != nullptr ? std::string(name) : std::string();
}

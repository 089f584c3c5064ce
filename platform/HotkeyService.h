// System-wide hotkeys: shortcuts that reach the program while any other program has the keyboard.
#pragma once

#include "platform/Shortcut.h"

#include <functional>
#include <string>

class HotkeyService {
public:
    using Handler = std::function<void(int id)>;

    virtual ~HotkeyService() = default;

    // Takes `shortcut` for the whole desktop under `id` (an id already registered is released
    // first). False when the desktop refuses it: another program holds it, or this keyboard has
    // no such key.
    virtual bool registerHotkey(int id, Shortcut shortcut) = 0;
    // Releases `id`; harmless when it was never registered.
    virtual void unregisterHotkey(int id) = 0;
    // Receives the id of each press of a registered hotkey, on the user-interface thread, after
    // the event that reported it has been handled (never inside another event's handling).
    virtual void setHandler(Handler handler) = 0;
    // The keyboard's own name for a virtual key ("" when this keyboard has no such key).
    virtual std::string keyName(int virtualKey) const = 0;
    // What the desktop keeps from the hotkeys, in words for the user; empty when nothing.
    virtual std::string limitation() const { return {}; }
};

// The Remote Control's five system-wide hotkeys: switching them on and off as one set, and the
// message about those that the desktop refused.
#pragma once

#include "platform/HotkeyService.h"
#include "platform/Shortcut.h"

#include <array>
#include <functional>
#include <string>

// Identifiers in the order of registration.
enum HotkeyId : int {
    kHotkeyCapture = 101,
    kHotkeyFullScreen = 102,
    kHotkeyEdit = 103,
    kHotkeySave = 104,
    kHotkeyPrint = 105,
};

// The five shortcuts in identifier order.
using HotkeyShortcuts = std::array<Shortcut, 5>;

// The failure dialog's message: `list` holds each refused shortcut's text followed by ", ", as
// switching on collects them; `count` is how many were refused (at least one).
std::string hotkeyFailureMessage(std::string list, int count);

class GlobalHotkeys {
public:
    // Shows the failure dialog with its message; true when "Disable hotkeys" was ticked.
    using FailureDialog = std::function<bool(const std::string& message)>;

    // Without a service (a desktop without hotkeys) only the switched-on state is kept.
    GlobalHotkeys(HotkeyService* service, FailureDialog failureDialog);

    // Whether the hotkeys are switched on (registered as far as the desktop allowed).
    bool enabled() const { return enabled_; }

    // Switching off releases all five. Switching on registers them in identifier order; refusals
    // leave the hotkeys on and are shown only when `reportFailures` is set, in a dialog whose
    // "Disable hotkeys" switches them off again. Nothing happens when the state is unchanged.
    void setEnabled(bool enable, const HotkeyShortcuts& shortcuts, bool reportFailures);

private:
    void releaseAll();

    HotkeyService* service_;
    FailureDialog failureDialog_;
    bool enabled_ = false;
};

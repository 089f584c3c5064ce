#include "platform/ui/QtKeyPress.h"

#include <QKeyEvent>

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// Named keys, and punctuation by its unshifted key (US layout), as the desktop's key codes number them.
constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    {Qt::Key_SysReq, 0x2C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_ScrollLock, 0x91},
    // The German layout's letters on OEM keys, with the virtual keys that layout gives them.
    {Qt::Key_ssharp, 0xDB},
    {Qt::Key_Odiaeresis, 0xC0},
    {Qt::Key_Adiaeresis, 0xDE},
    {Qt::Key_Udiaeresis, 0xBA},
};

// Keys of the numeric keypad that Qt names like their main-keyboard twins.
constexpr KeyCode kKeypadCodes[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Slash, 0x6F}, {Qt::Key_Comma, 0x6C},
};

// Ctrl+Pause arrives as the Break keysym, which Qt does not name.
constexpr quint32 kBreakKeysym = 0xFF6B;

// Shift with a digit gives its symbol; the key is the digit's.
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

} // namespace

int virtualKeyOf(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey; // the same ASCII codes
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return keypad ? 0x60 + (qtKey - Qt::Key_0) : qtKey;
    }
    if (keypad) {
        for (const KeyCode& code : kKeypadCodes) {
            if (code.qtKey == qtKey) {
                return code.virtualKey;
            }
        }
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return kVirtualKeyF1 + (qtKey - Qt::Key_F1);
    }
    for (int digit = 0; digit < 10; ++digit) {
        if (qtKey == kShiftedDigits[digit]) {
            return '0' + digit;
        }
    }
    for (const KeyCode& code : kKeyCodes) {
        if (code.qtKey == qtKey) {
            return code.virtualKey;
        }
    }
    return 0;
}

KeyPress keyPressOf(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers held = event.modifiers();
    int virtualKey = virtualKeyOf(event.key(), (held & Qt::KeypadModifier) != 0);
    if (virtualKey == 0 && event.nativeVirtualKey() == kBreakKeysym) {
        virtualKey = 0x13; // Pause
    }
    return {virtualKey,
            {(held & Qt::ShiftModifier) != 0, (held & Qt::ControlModifier) != 0, (held & Qt::AltModifier) != 0,
             (held & Qt::MetaModifier) != 0}};
}

#include "platform/ShortcutText.h"

namespace {

struct NamedKey {
    int virtualKey;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

// Letters, digits, keypad digits, F1-F24 and the named keys; "" for other keys.
std::string fixedKeyName(int virtualKey)
{
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return std::string(1, static_cast<char>(virtualKey));
    }
    if (virtualKey >= 0x60 && virtualKey <= 0x69) {
        return std::string(1, static_cast<char>('0' + virtualKey - 0x60));
    }
    if (virtualKey >= kVirtualKeyF1 && virtualKey <= kVirtualKeyF24) {
        return "F" + std::to_string(virtualKey - kVirtualKeyF1 + 1);
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.virtualKey == virtualKey) {
            return key.name;
        }
    }
    return {};
}

} // namespace

std::string shortcutText(Shortcut shortcut, const KeyNameLookup& platformKeyName)
{
    const int key = shortcutKey(shortcut);
    std::string name = fixedKeyName(key);
    if (name.empty() && platformKeyName) {
        name = platformKeyName(key);
    }
    if (name.empty()) {
        return {};
    }
    std::string text;
    if (shortcut & kShortcutShift) {
        text += "Shift+";
    }
    if (shortcut & kShortcutCtrl) {
        text += "Ctrl+";
    }
    if (shortcut & kShortcutAlt) {
        text += "Alt+";
    }
    return text + name;
}

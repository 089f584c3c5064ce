#include "platform/ShortcutText.h"
#include "platform/x11/VirtualKeySymbols.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {

std::string text(Shortcut s)
{
    // The platform's names are asked for only keys without a fixed name.
    return shortcutText(s, [](int key) { return key == 0x91 ? std::string("Scroll Lock") : std::string(); });
}

TEST(ShortcutText, ModifiersInFixedOrderThenTheKey)
{
    EXPECT_EQ(text(0x6043), "Shift+Ctrl+C") << "the default Capture hotkey";
    EXPECT_EQ(text(0xE041), "Shift+Ctrl+Alt+A");
    EXPECT_EQ(text(0x8000 | 0x35), "Alt+5");
    EXPECT_EQ(text(0x2000 | 0x65), "Shift+5") << "keypad 5 reads as the digit";
    EXPECT_EQ(text(0x4060), "Ctrl+0");
    EXPECT_EQ(text(0x5A), "Z");
}

TEST(ShortcutText, NamedAndFunctionKeys)
{
    const std::pair<int, const char*> named[] = {
        {0x08, "BkSp"}, {0x09, "Tab"},  {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"}, {0x21, "PgUp"}, {0x22, "PgDn"},
        {0x23, "End"},  {0x24, "Home"}, {0x25, "Left"},  {0x26, "Up"},  {0x27, "Right"}, {0x28, "Down"}, {0x2D, "Ins"},
        {0x2E, "Del"},  {0x70, "F1"},   {0x7B, "F12"},   {0x7C, "F13"}, {0x80, "F17"},   {0x87, "F24"},
    };
    for (const auto& [key, name] : named) {
        EXPECT_EQ(text(static_cast<Shortcut>(0x4000 | key)), std::string("Ctrl+") + name) << std::hex << key;
    }
    EXPECT_EQ(text(0x91), "Scroll Lock") << "other keys by the platform's name";
}

TEST(ShortcutText, KeyWithoutNameGivesNoTextAtAll)
{
    EXPECT_EQ(text(0x6000), "") << "no key";
    EXPECT_EQ(text(0x6088), "") << "the code after F24";
    EXPECT_EQ(text(0x7FFF), "") << "the largest key code";
    EXPECT_EQ(shortcutText(0x6091, nullptr), "") << "no platform lookup";
}

TEST(ShortcutToKeysym, KeysAndModifiers)
{
    const ModifierBits bits{0x08, 0x10};
    struct Case {
        Shortcut shortcut;
        uint32_t keysym;
        uint16_t modifiers;
    };
    const Case cases[] = {
        {0x6043, XK_c, 0x01 | 0x04}, {0x8000 | 0x70, XK_F1, 0x08},
        {0x7C, XK_F13, 0},           {0x87, XK_F24, 0},
        {0x2060, XK_KP_0, 0x01},     {0x69, XK_KP_9, 0},
        {0x6A, XK_KP_Multiply, 0},   {0x6F, XK_KP_Divide, 0},
        {0x2C, XK_Print, 0},         {0xE000 | 0x21, XK_Prior, 0x0D},
        {0x0D, XK_Return, 0},        {0xBA, XK_semicolon, 0},
        {0xAD, XF86XK_AudioMute, 0}, {0x39, XK_9, 0},
    };
    for (const Case& c : cases) {
        const std::optional<KeyChord> chord = keyChordFor(c.shortcut, bits);
        ASSERT_TRUE(chord) << std::hex << c.shortcut;
        EXPECT_EQ(chord->keysym, c.keysym) << std::hex << c.shortcut;
        EXPECT_EQ(chord->modifiers, c.modifiers) << std::hex << c.shortcut;
    }
    EXPECT_EQ(keyChordFor(0x8041, {0x40, 0x10})->modifiers, 0x40) << "Alt on the map's own modifier";
    for (Shortcut none : {Shortcut{0}, Shortcut{0x6000}, Shortcut{0x60FF}, Shortcut{0x7FFF}, Shortcut{0x6088}}) {
        EXPECT_FALSE(keyChordFor(none, bits)) << std::hex << none;
    }
}

TEST(ShortcutToKeysym, LockVariantsCoverCapsAndNumLock)
{
    uint16_t variants[4];
    ASSERT_EQ(lockVariants({0x08, 0x10}, variants), 4);
    EXPECT_EQ(std::vector<uint16_t>(variants, variants + 4), (std::vector<uint16_t>{0, 0x02, 0x10, 0x12}));
    EXPECT_EQ(lockVariants({0x08, 0}, variants), 2) << "a keyboard without NumLock";
}

} // namespace

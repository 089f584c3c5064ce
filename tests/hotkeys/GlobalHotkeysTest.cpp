#include "hotkeys/GlobalHotkeys.h"
#include "hotkeys/HotkeyFailureLayout.h"
#include "platform/fake/FakeHotkeyService.h"

#include <gtest/gtest.h>

namespace {

const HotkeyShortcuts kDefaults{0x6043, 0x6046, 0x6045, 0x6053, 0x6050};
const std::string kClosing = "To disable or customize the hotkeys, open the Hotkeys page on the Preferences window.";

struct Switching : ::testing::Test {
    FakeHotkeyService service;
    std::vector<std::string> shown;
    bool tickDisable = false;
    GlobalHotkeys hotkeys{&service, [this](const std::string& message) {
                              shown.push_back(message);
                              return tickDisable;
                          }};
};

TEST_F(Switching, OneRefusalMessage)
{
    service.refused = {0x6043};
    hotkeys.setEnabled(true, kDefaults, true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0],
              "Shift+Ctrl+C hotkey is not registered.\r\nSome other program has already used it.\r\n" + kClosing);
    EXPECT_TRUE(hotkeys.enabled()) << "a refusal leaves the hotkeys on";
    EXPECT_EQ(service.registered.size(), 4u);
}

TEST_F(Switching, TwoRefusalsMessage)
{
    service.refused = {0x6043, 0x6050};
    hotkeys.setEnabled(true, kDefaults, true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "The following hotkeys are not registered:\r\nShift+Ctrl+C, Shift+Ctrl+P. \r\n"
                        "Some other program has already used it.\r\n" +
                            kClosing);
}

TEST_F(Switching, CommaRuleWithAShortcutThatHasNoText)
{
    // The list "Shift+Ctrl+C, , " loses only its last ", ": the empty text leaves its comma.
    const HotkeyShortcuts shortcuts{0x6043, 0x6046, 0x6045, 0x6053, 0x6000};
    service.refused = {0x6043, 0x6000};
    hotkeys.setEnabled(true, shortcuts, true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 61), "The following hotkeys are not registered:\r\nShift+Ctrl+C, . \r\n");
    // A single refusal of a shortcut without text leaves ", ", whose comma is cut.
    EXPECT_EQ(hotkeyFailureMessage(", ", 1).substr(0, 29), " hotkey is not registered.\r\nS");
    EXPECT_EQ(hotkeyFailureMessage("A, B, ", 2).substr(43, 8), "A, B. \r\n");
}

TEST_F(Switching, DisableHotkeysReleasesAllFive)
{
    service.refused = {0x6046};
    tickDisable = true;
    hotkeys.setEnabled(true, kDefaults, true);
    EXPECT_FALSE(hotkeys.enabled());
    EXPECT_TRUE(service.registered.empty()) << "the four that did register are released too";
    const std::vector<std::string> tail(service.calls.end() - 5, service.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"unregister 101", "unregister 102", "unregister 103", "unregister 104",
                                              "unregister 105"}));
}

TEST_F(Switching, SilentUnlessReportingAndIdempotent)
{
    service.refused = {0x6043};
    hotkeys.setEnabled(true, kDefaults, false);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(service.calls, (std::vector<std::string>{"register 101", "register 102", "register 103", "register 104",
                                                       "register 105"}));
    hotkeys.setEnabled(true, kDefaults, true);
    EXPECT_EQ(service.calls.size(), 5u) << "switching on what is on does nothing";
    hotkeys.setEnabled(false, kDefaults, true);
    EXPECT_TRUE(service.registered.empty());
    EXPECT_TRUE(shown.empty()) << "switching off is silent";
}

bool inside(const Rect& inner, const Rect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool overlap(const Rect& a, const Rect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// At every density, however tall the message and wide the check box's caption: the parts stay in
// the window and apart, the message and the check box get the room they need, and the window is its
// designed 292 x 183 at 96 dpi when they fit the designed room.
TEST(HotkeyFailureLayoutTest, PartsStayApartAndInsideAtEveryDensity)
{
    for (int dpi : {96, 120, 144}) {
        for (auto [messageHeight, checkBox] : {std::pair{60, Size{100, 17}}, std::pair{400, Size{240, 40}}}) {
            const HotkeyFailureLayout l = hotkeyFailureLayout(dpi, messageHeight, checkBox);
            SCOPED_TRACE(testing::Message() << dpi << " dpi, message " << messageHeight);
            const Rect client = Rect::fromSize(0, 0, l.client.width, l.client.height);
            for (const Rect& part : {l.frame, l.icon, l.message, l.checkBox, l.ok, l.help}) {
                EXPECT_TRUE(inside(part, client));
            }
            EXPECT_TRUE(inside(l.icon, l.frame) && inside(l.message, l.frame));
            EXPECT_GE(l.message.height(), messageHeight);
            EXPECT_TRUE(l.checkBox.width() >= checkBox.width && l.checkBox.height() >= checkBox.height);
            const Rect parts[] = {l.icon, l.message, l.checkBox, l.ok, l.help};
            for (size_t i = 0; i < std::size(parts); ++i) {
                for (size_t j = i + 1; j < std::size(parts); ++j) {
                    EXPECT_FALSE(overlap(parts[i], parts[j])) << i << " and " << j;
                }
            }
            EXPECT_FALSE(overlap(l.frame, l.ok) || overlap(l.frame, l.help) || overlap(l.frame, l.checkBox));
        }
    }
    EXPECT_EQ(hotkeyFailureLayout(96, 60, {100, 17}).client, (Size{292, 183}));
}

} // namespace

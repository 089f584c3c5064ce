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

TEST(HotkeyFailureLayoutTest, DesignedGeometryAndGrowth)
{
    const HotkeyFailureLayout plain = hotkeyFailureLayout(1.0, 60, 100);
    EXPECT_EQ(plain.client, (Size{292, 183}));
    EXPECT_EQ(plain.frame, Rect::fromSize(8, 8, 276, 129));
    EXPECT_EQ(plain.icon.left, 20);
    EXPECT_EQ(plain.message, Rect::fromSize(64, 20, 209, 105));
    EXPECT_EQ(plain.checkBox.left, 8);
    EXPECT_EQ(plain.checkBox.top, 152);
    EXPECT_EQ(plain.ok, Rect::fromSize(128, 148, 75, 25));
    EXPECT_EQ(plain.help, Rect::fromSize(208, 148, 75, 25));
    // At 144 pixels per inch with a message 200 pixels tall: everything below the message moves down.
    const HotkeyFailureLayout large = hotkeyFailureLayout(1.5, 200, 120);
    EXPECT_EQ(large.message.height(), 200);
    EXPECT_EQ(large.client, (Size{438, 275 + 200 - 158}));
    EXPECT_EQ(large.ok.top, 222 + 200 - 158);
    EXPECT_GE(large.ok.top, large.frame.bottom);
}

} // namespace

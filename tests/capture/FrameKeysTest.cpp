#include "capture/FrameKeys.h"

#include <gtest/gtest.h>

namespace {

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kCtrl{false, true, false, false};
constexpr KeyModifiers kCtrlShift{true, true, false, false};
constexpr KeyModifiers kCtrlAlt{false, true, true, false};
constexpr KeyModifiers kShift{true, false, false, false};
constexpr KeyModifiers kAlt{false, false, true, false};

} // namespace

TEST(FrameKeys, CtrlAloneWithALetterForwardsItsCommand)
{
    EXPECT_EQ(frameCommandForKey('C', kCtrl), FrameCommand::Capture);
    EXPECT_EQ(frameCommandForKey('E', kCtrl), FrameCommand::Edit);
    EXPECT_EQ(frameCommandForKey('F', kCtrl), FrameCommand::FullScreen);
    EXPECT_EQ(frameCommandForKey('M', kCtrl), FrameCommand::Menu);
    EXPECT_EQ(frameCommandForKey('O', kCtrl), FrameCommand::Preferences);
    EXPECT_EQ(frameCommandForKey('P', kCtrl), FrameCommand::Print);
    EXPECT_EQ(frameCommandForKey('S', kCtrl), FrameCommand::Save);
}

TEST(FrameKeys, OtherModifiersOrLettersDoNothing)
{
    EXPECT_EQ(frameCommandForKey('C', kCtrlShift), std::nullopt);
    EXPECT_EQ(frameCommandForKey('C', kCtrlAlt), std::nullopt);
    EXPECT_EQ(frameCommandForKey('C', {false, true, false, true}), std::nullopt);
    EXPECT_EQ(frameCommandForKey('C', kNone), std::nullopt);
    EXPECT_EQ(frameCommandForKey('T', kCtrl), std::nullopt); // the timer is the Remote Control's own key
    EXPECT_EQ(frameCommandForKey('X', kCtrl), std::nullopt);
}

TEST(FrameKeys, F1OpensHelpUnlessCtrlAloneIsHeld)
{
    EXPECT_EQ(frameCommandForKey(kVirtualKeyF1, kNone), FrameCommand::Help);
    EXPECT_EQ(frameCommandForKey(kVirtualKeyF1, kShift), FrameCommand::Help);
    EXPECT_EQ(frameCommandForKey(kVirtualKeyF1, kCtrlShift), FrameCommand::Help);
    EXPECT_EQ(frameCommandForKey(kVirtualKeyF1, kCtrl), std::nullopt);
}

TEST(FrameKeys, AltF4Closes)
{
    EXPECT_EQ(frameCommandForKey(kVirtualKeyF4, kAlt), FrameCommand::Close);
    EXPECT_EQ(frameCommandForKey(kVirtualKeyF4, kNone), std::nullopt);
    EXPECT_EQ(frameCommandForKey(kVirtualKeyF4, kCtrlAlt), std::nullopt);
}

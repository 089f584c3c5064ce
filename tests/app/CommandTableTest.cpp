#include "app/CommandTable.h"
#include "platform/ui/QtKeyPress.h"
#include "support/TestApplication.h"

#include <QKeyEvent>

#include <optional>

#include <gtest/gtest.h>

namespace {

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kCtrl{.ctrl = true};
constexpr KeyModifiers kShift{.shift = true};
constexpr KeyModifiers kAlt{.alt = true};
constexpr KeyModifiers kCtrlShift{.shift = true, .ctrl = true};
constexpr KeyModifiers kCtrlAlt{.ctrl = true, .alt = true};
constexpr KeyModifiers kCtrlMeta{.ctrl = true, .meta = true};
constexpr KeySource kSources[] = {KeySource::RemoteControl, KeySource::CaptureFrame};

std::optional<Command> remoteKey(int virtualKey, KeyModifiers modifiers)
{
    return commandForKey(virtualKey, modifiers, KeySource::RemoteControl);
}

std::optional<Command> qtKey(int key, Qt::KeyboardModifiers modifiers)
{
    testApplication(); // key events need the application's keyboard device
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    const KeyPress press = keyPressOf(event);
    return remoteKey(press.virtualKey, press.modifiers);
}

TEST(CommandTable, CtrlAloneWithALetterStartsItsCommandTheFrameForwardsAllButTheTimer)
{
    const struct {
        int key;
        Command command;
        bool fromFrame;
    } table[] = {
        {'C', Command::Capture, true}, {'E', Command::Edit, true},        {'F', Command::FullScreen, true},
        {'M', Command::Menu, true},    {'O', Command::Preferences, true}, {'P', Command::Print, true},
        {'S', Command::Save, true},    {'T', Command::Timer, false},
    };
    for (const auto& row : table) {
        EXPECT_EQ(remoteKey(row.key, kCtrl), row.command) << row.key;
        EXPECT_EQ(commandForKey(row.key, kCtrl, KeySource::CaptureFrame),
                  row.fromFrame ? std::optional(row.command) : std::nullopt)
            << row.key;
        for (KeySource source : kSources) {
            for (KeyModifiers notCtrlAlone : {kNone, kShift, kAlt, kCtrlShift, kCtrlAlt, kCtrlMeta}) {
                EXPECT_EQ(commandForKey(row.key, notCtrlAlone, source), std::nullopt) << row.key;
            }
        }
    }
    for (KeySource source : kSources) {
        EXPECT_EQ(commandForKey('X', kCtrl, source), std::nullopt);
        EXPECT_EQ(commandForKey(kVirtualKeyF4, kCtrl, source), std::nullopt);
    }
}

TEST(CommandTable, F1OpensHelpUnlessCtrlAloneIsHeldAltF4Closes)
{
    for (KeySource source : kSources) {
        for (KeyModifiers helps : {kNone, kShift, kCtrlShift, kCtrlAlt}) {
            EXPECT_EQ(commandForKey(kVirtualKeyF1, helps, source), Command::Help);
        }
        EXPECT_EQ(commandForKey(kVirtualKeyF1, kCtrl, source), std::nullopt);
        EXPECT_EQ(commandForKey(kVirtualKeyF4, kAlt, source), Command::Close);
        for (KeyModifiers notAltAlone : {kNone, kCtrl, kCtrlAlt, KeyModifiers{.alt = true, .meta = true}}) {
            EXPECT_EQ(commandForKey(kVirtualKeyF4, notAltAlone, source), std::nullopt);
        }
    }
}

TEST(CommandTable, QtKeyEventsReadAsVirtualKeys)
{
    EXPECT_EQ(qtKey(Qt::Key_C, Qt::ControlModifier), Command::Capture);
    EXPECT_EQ(qtKey(Qt::Key_C, Qt::ControlModifier | Qt::KeypadModifier), Command::Capture)
        << "the keypad flag is not a modifier";
    EXPECT_EQ(qtKey(Qt::Key_C, Qt::ControlModifier | Qt::MetaModifier), std::nullopt);
    EXPECT_EQ(qtKey(Qt::Key_F1, Qt::ShiftModifier), Command::Help);
    EXPECT_EQ(qtKey(Qt::Key_F4, Qt::AltModifier), Command::Close);
    // Hotkey fields store the keypad's digits apart and a shifted digit as its digit key.
    EXPECT_EQ(virtualKeyOf(Qt::Key_7, true), 0x67);
    EXPECT_EQ(virtualKeyOf(Qt::Key_7, false), '7');
    EXPECT_EQ(virtualKeyOf(Qt::Key_Ampersand, false), '7');
    EXPECT_EQ(virtualKeyOf(Qt::Key_F24, false), kVirtualKeyF24);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Question, false), 0xBF);
    EXPECT_EQ(virtualKeyOf(Qt::Key_unknown, false), 0);
}

} // namespace

#include "app/ui/KeyTable.h"

#include <gtest/gtest.h>

using K = RemoteKeyCommand;

TEST(KeyTable, CtrlAloneWithALetterStartsItsCommand)
{
    const struct {
        int key;
        K command;
    } table[] = {
        {Qt::Key_C, K::Capture},    {Qt::Key_E, K::Edit},        {Qt::Key_F, K::FullScreenToggle},
        {Qt::Key_M, K::SystemMenu}, {Qt::Key_O, K::Preferences}, {Qt::Key_P, K::Print},
        {Qt::Key_S, K::Save},       {Qt::Key_T, K::TimerToggle},
    };
    for (const auto& row : table) {
        EXPECT_EQ(remoteKeyCommand(row.key, Qt::ControlModifier), row.command) << row.key;
        EXPECT_EQ(remoteKeyCommand(row.key, Qt::ControlModifier | Qt::KeypadModifier), row.command)
            << "the keypad flag is not a modifier";
        EXPECT_EQ(remoteKeyCommand(row.key, Qt::NoModifier), K::None) << row.key;
        EXPECT_EQ(remoteKeyCommand(row.key, Qt::ControlModifier | Qt::ShiftModifier), K::None) << row.key;
        EXPECT_EQ(remoteKeyCommand(row.key, Qt::ControlModifier | Qt::AltModifier), K::None) << row.key;
    }
    EXPECT_EQ(remoteKeyCommand(Qt::Key_X, Qt::ControlModifier), K::None);
}

TEST(KeyTable, F1OpensHelpUnlessCtrlAloneIsHeld)
{
    EXPECT_EQ(remoteKeyCommand(Qt::Key_F1, Qt::NoModifier), K::Help);
    EXPECT_EQ(remoteKeyCommand(Qt::Key_F1, Qt::ShiftModifier), K::Help);
    EXPECT_EQ(remoteKeyCommand(Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier), K::Help);
    EXPECT_EQ(remoteKeyCommand(Qt::Key_F1, Qt::ControlModifier), K::None);
}

TEST(KeyTable, AltF4RequestsClosing)
{
    EXPECT_EQ(remoteKeyCommand(Qt::Key_F4, Qt::AltModifier), K::Close);
    EXPECT_EQ(remoteKeyCommand(Qt::Key_F4, Qt::NoModifier), K::None);
    EXPECT_EQ(remoteKeyCommand(Qt::Key_F4, Qt::ControlModifier), K::None);
}

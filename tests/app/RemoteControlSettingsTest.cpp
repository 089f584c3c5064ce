#include "app/RemoteControlSettings.h"
#include "common/SettingsStore.h"
#include "platform/FileRegistryHive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A hive that records the order in which values are read and written.
class RecordingHive : public FileRegistryHive {
public:
    using FileRegistryHive::FileRegistryHive;

    std::optional<RegValue> value(std::string_view key, std::string_view name) const override
    {
        reads.emplace_back(name);
        return FileRegistryHive::value(key, name);
    }
    bool setValue(std::string_view key, std::string_view name, const RegValue& value) override
    {
        writes.emplace_back(name);
        return FileRegistryHive::setValue(key, name, value);
    }

    mutable std::vector<std::string> reads;
    std::vector<std::string> writes;
};

using Names = std::vector<std::string>;

class RemoteControlSettingsTest : public ::testing::Test {
protected:
    void user(const std::string& values)
    {
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n" + values);
    }
    void fallback(const std::string& values)
    {
        machine.loadText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane Software\\Zentrap]\n" + values);
    }
    RemoteControlSettings read(Size screen = {1920, 1080})
    {
        SettingsKey key = store.openWithFallback();
        return readRemoteControlSettings(key, Rect::fromSize(0, 0, screen.width, screen.height));
    }

    RecordingHive userHive;
    RecordingHive machine{"HKEY_LOCAL_MACHINE", FileRegistryHive::Access::ReadOnly};
    SettingsStore store{userHive, &machine};
};

} // namespace

TEST_F(RemoteControlSettingsTest, FirstStartGivesTheDefaults)
{
    const RemoteControlSettings s = read();
    EXPECT_EQ(s.position, (Point{910, 410}));
    EXPECT_TRUE(s.updateRulers && s.showRulers && s.usePrintScreen && s.hideRemote && s.exitConfirmation);
    EXPECT_FALSE(s.trayMinimize);
    EXPECT_TRUE(s.showHint);
    EXPECT_EQ(s.skin, "");
    // Ctrl+Shift+C, F, E, S and P.
    EXPECT_EQ(s.hotkeys, (HotkeyShortcuts{24643, 24646, 24645, 24659, 24656}));
    EXPECT_TRUE(s.globalHotkeys);
    EXPECT_TRUE(s.captureCursor);
    EXPECT_TRUE(userHive.keyExists(SettingsStore::kPrimaryKey)) << "the key exists from the first start on";
}

TEST_F(RemoteControlSettingsTest, DefaultPositionCentresWithDivisionTowardZero)
{
    EXPECT_EQ(defaultRemoteControlPosition(Rect::fromSize(0, 0, 1023, 767)), (Point{461, 253}));
    EXPECT_EQ(defaultRemoteControlPosition(Rect::fromSize(0, 0, 99, 259)), (Point{-1, -1}));
    EXPECT_EQ(defaultRemoteControlPosition(Rect::fromSize(0, 0, -5, -5)), (Point{-52, -132})) << "-5 div 2 is -2";
    // A primary monitor right of another one: centred on it, not on the desktop.
    EXPECT_EQ(defaultRemoteControlPosition(Rect::fromSize(1920, 0, 1280, 1024)), (Point{2510, 382}));
}

TEST_F(RemoteControlSettingsTest, EveryValueChangedFromItsDefaultSurvivesARestart)
{
    RemoteControlSettings s;
    s.position = {-7, 2000};
    s.updateRulers = s.showRulers = s.usePrintScreen = s.hideRemote = s.exitConfirmation = false;
    s.trayMinimize = true;
    s.showHint = false;
    s.skin = "/skins/dark.png";
    s.hotkeys = {0x2041, 0, 0xFFFF, 0x6053, 0x4050};
    s.globalHotkeys = s.captureCursor = false;
    s.fullScreenAllMonitors = true;
    {
        SettingsKey key = store.open();
        writeRemoteControlSettings(key, s);
    }
    EXPECT_EQ(read(), s);
}

TEST_F(RemoteControlSettingsTest, FallbackOnlyValueIsUsedAndPrimaryWinsOverIt)
{
    user("\"Top\"=dword:00000005\n\"HideRemote\"=dword:00000000\n");
    fallback("\"Top\"=dword:00000063\n\"Left\"=dword:00000021\n\"TrayMinimize\"=dword:00000001\n"
             "\"HideRemote\"=dword:00000001\n");
    const RemoteControlSettings s = read();
    EXPECT_EQ(s.position, (Point{33, 5}));
    EXPECT_TRUE(s.trayMinimize);
    EXPECT_FALSE(s.hideRemote);
}

TEST_F(RemoteControlSettingsTest, EmptySkinInThePrimaryKeyReadsTheFallbackPath)
{
    user("\"Skin\"=\"\"\n");
    fallback("\"Skin\"=\"/usr/share/zentrap/skins/blue.bmp\"\n");
    EXPECT_EQ(read().skin, "/usr/share/zentrap/skins/blue.bmp");
}

TEST_F(RemoteControlSettingsTest, LeftStoredAsAStringTakesTheFallbackOrTheDefault)
{
    user("\"Left\"=\"300\"\n\"Top\"=dword:00000007\n\"ShowHint\"=dword:00000000\n");
    fallback("\"Left\"=dword:0000000c\n");
    RemoteControlSettings s = read();
    EXPECT_EQ(s.position, (Point{12, 7}));
    EXPECT_FALSE(s.showHint) << "the remaining values are read normally";

    fallback("");
    s = read();
    EXPECT_EQ(s.position, (Point{910, 7}));
}

TEST_F(RemoteControlSettingsTest, WritesEveryValueInOrderToThePrimaryKeyOnly)
{
    fallback("\"Left\"=dword:0000000c\n");
    const std::string machineBefore = machine.text();
    RemoteControlSettings s;
    s.position = {-20, 30};
    s.skin = "skin.jpg";
    s.globalHotkeys = false;
    {
        SettingsKey key = store.open();
        writeRemoteControlSettings(key, s);
    }
    EXPECT_EQ(userHive.writes,
              (Names{"FCursor", "FGlobalHotkeys", "ShowRulers", "UpdateRulers", "HideRemote", "ExitConfirmation",
                     "TrayMinimize", "ShowHint", "UsePrintScreen", "GlobalHotkeys", "Skin", "Top", "Left", "FHKCapture",
                     "FHKFullScreen", "FHKEdit", "FHKSave", "FHKPrint", "FullScreenAllMonitors"}));
    EXPECT_TRUE(machine.writes.empty());
    EXPECT_EQ(machine.text(), machineBefore);

    const RemoteControlSettings back = read();
    EXPECT_EQ(back.position, (Point{-20, 30})) << "positions are kept unchanged, off the screen too";
    EXPECT_EQ(back.skin, "skin.jpg");
    EXPECT_FALSE(back.globalHotkeys) << "switching the hotkeys off survives a restart";
}

TEST_F(RemoteControlSettingsTest, ShortcutsOutsideSixteenBitsAreNoShortcut)
{
    // Not Ctrl+Shift+C by their low bits: a value no shortcut can have registers nothing.
    user("\"FHKCapture\"=dword:00016043\n\"FHKPrint\"=dword:ffffffff\n\"FHKEdit\"=dword:0000ffff\n");
    const RemoteControlSettings s = read();
    EXPECT_EQ(s.hotkeys[0], 0);
    EXPECT_EQ(s.hotkeys[4], 0) << "a negative value";
    EXPECT_EQ(s.hotkeys[2], 0xFFFF) << "the largest 16-bit value is kept as stored";
}

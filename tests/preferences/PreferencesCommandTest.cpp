// The Preferences command's steps with a recording Remote Control: the order in which an accepted
// window is applied, refused hotkeys, the drag option under full-window dragging, Cancel; the
// pages and the skin filter kept between openings; what a hotkey field accepts.
#include "preferences/PreferencesCommand.h"
#include "common/SettingsStore.h"
#include "hotkeys/HotkeyEntry.h"
#include "platform/FileRegistryHive.h"
#include "platform/fake/FakeHotkeyService.h"
#include "preferences/PreferencesPages.h"
#include "preferences/SkinPicker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every change; its hotkeys are real, over a fake desktop that may refuse shortcuts.
class RecordingHost : public PreferencesHost {
public:
    RecordingHost()
        : hotkeys(&desktop, [this](const std::string& message) {
              log.push_back("failure dialog: " + message.substr(0, message.find('\r')));
              return false;
          })
    {
        hotkeys.setEnabled(true, shortcuts, false);
    }

    RemoteControlSettings currentOptions() const override
    {
        RemoteControlSettings s = options;
        s.globalHotkeys = hotkeys.enabled();
        return s;
    }
    bool dragFullWindows() const override { return dragFull; }
    std::optional<int> frameUnit() const override { return unit; }
    void chooseFrameUnit(int u) override { log.push_back("unit " + std::to_string(u)); }
    void setShortcuts(const HotkeyShortcuts& s) override
    {
        shortcuts = s;
        log.push_back("shortcuts");
    }
    void setReportHotkeyFailures(bool r) override
    {
        report = r;
        log.push_back(r ? "report on" : "report off");
    }
    void setHotkeysEnabled(bool e) override
    {
        log.push_back(e ? "hotkeys on" : "hotkeys off");
        hotkeys.setEnabled(e, shortcuts, report);
    }
    void setCaptureCursor(bool) override { log.push_back("cursor"); }
    void setShowRulers(bool) override { log.push_back("show rulers"); }
    void setUpdateRulers(bool on) override { log.push_back(on ? "update rulers on" : "update rulers off"); }
    void applyDragOption() override { log.push_back("drag option"); }
    void setShowHint(bool) override { log.push_back("hints"); }
    void setPrintScreenWatch(bool on) override { log.push_back(on ? "print screen on" : "print screen off"); }
    void setHideRemote(bool) override { log.push_back("hide"); }
    void setExitConfirmation(bool) override { log.push_back("exit question"); }
    void setTrayMinimize(bool) override { log.push_back("tray"); }
    void setFullScreenAllMonitors(bool on) override { fullScreenAllMonitors = on; }
    bool fullScreenAllMonitors = false;
    void loadSkin(const std::string& path) override { log.push_back("load skin " + path); }
    void setSkin(const std::string& path) override { log.push_back("skin " + path); }

    FakeHotkeyService desktop;
    HotkeyShortcuts shortcuts{0x6043, 0x6046, 0x6045, 0x6053, 0x6050};
    GlobalHotkeys hotkeys;
    RemoteControlSettings options;
    bool dragFull = false;
    bool report = false;
    std::optional<int> unit = 0;
    std::vector<std::string> log;
};

} // namespace

TEST(PreferencesCommand, AppliesInOrderAndARefusedHotkeyIsReportedOnceWhileTheRestStillApplies)
{
    RecordingHost host;
    bool hotkeysWere = false;
    PreferencesValues values = fillPreferences(host, hotkeysWere);
    EXPECT_TRUE(hotkeysWere);
    EXPECT_FALSE(host.hotkeys.enabled()) << "combinations typed into a field must reach it";
    EXPECT_EQ(host.log, std::vector<std::string>{"hotkeys off"});
    EXPECT_TRUE(values.options.globalHotkeys) << "the box shows the state before switching off";

    host.log.clear();
    host.desktop.refused = {0x4000 | 'K'};
    values.unit = 2;
    values.options.hkCapture = 0x4000 | 'K';
    values.options.usePrintScreen = false;
    values.options.skin = "/skins/blue.bmp";
    applyPreferences(host, values);
    const std::vector<std::string> expected{"unit 2",
                                            "shortcuts",
                                            "report on",
                                            "hotkeys on",
                                            "failure dialog: Ctrl+K hotkey is not registered.",
                                            "report off",
                                            "cursor",
                                            "show rulers",
                                            "update rulers on",
                                            "drag option",
                                            "hints",
                                            "print screen off",
                                            "hide",
                                            "exit question",
                                            "tray",
                                            "load skin /skins/blue.bmp",
                                            "skin /skins/blue.bmp"};
    EXPECT_EQ(host.log, expected);
    EXPECT_TRUE(host.hotkeys.enabled());
    EXPECT_EQ(host.desktop.registered.count(101), 0u);
    EXPECT_EQ(host.desktop.registered.at(102), 0x6046);
}

TEST(PreferencesCommand, FullWindowDraggingLeavesTheRulerOptionAndTheFrameAlone)
{
    RecordingHost host;
    host.dragFull = true;
    host.options.updateRulers = false;
    host.unit = std::nullopt;
    bool hotkeysWere = false;
    PreferencesValues values = fillPreferences(host, hotkeysWere);
    EXPECT_TRUE(values.updateRulersLocked);
    EXPECT_TRUE(values.options.updateRulers) << "shown ticked while locked";
    host.log.clear();
    applyPreferences(host, values);
    for (const std::string& step : host.log) {
        EXPECT_EQ(step.find("update rulers"), std::string::npos) << step;
        EXPECT_NE(step, "drag option");
        EXPECT_EQ(step.find("unit"), std::string::npos) << "no unit was selected";
    }
}

TEST(PreferencesCommand, CancelBringsTheHotkeysBackWithTheirOldShortcutsAndChangesNothingElse)
{
    RecordingHost host;
    bool hotkeysWere = false;
    fillPreferences(host, hotkeysWere);
    host.log.clear();
    cancelPreferences(host, hotkeysWere);
    EXPECT_EQ(host.log, std::vector<std::string>{"hotkeys on"});
    EXPECT_EQ(host.desktop.registered.at(101), 0x6043);

    RecordingHost off;
    off.hotkeys.setEnabled(false, off.shortcuts, false);
    fillPreferences(off, hotkeysWere);
    cancelPreferences(off, hotkeysWere);
    EXPECT_FALSE(off.hotkeys.enabled());
    EXPECT_TRUE(off.desktop.registered.empty());
}

TEST(PreferencesPages, TheStoredPageAndFilterComeBackAndAnythingElseGivesTheDefaults)
{
    struct Case {
        const char* values;
        int page;
        int filter;
    };
    const Case cases[] = {
        {"\"SkinFilter\"=dword:00000002\n\"OptionsPage\"=dword:00000001\n", 1, 2},
        // No third page: a stored 2 leaves the Options page in front, as any other number does.
        {"\"SkinFilter\"=dword:00000002\n\"OptionsPage\"=dword:00000002\n", 0, 2},
        {"\"SkinFilter\"=dword:00000002\n\"OptionsPage\"=dword:ffffffff\n", 0, 2},
        {"\"SkinFilter\"=dword:00000102\n\"OptionsPage\"=dword:00000001\n", 1, 2},
        // Either value unreadable: both defaults.
        {"\"OptionsPage\"=dword:00000001\n", 0, 1},
        {"\"SkinFilter\"=dword:00000002\n\"OptionsPage\"=\"1\"\n", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        FileRegistryHive hive;
        hive.loadText(std::string("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n") + c.values);
        SettingsKey key(hive, SettingsStore::kPrimaryKey);
        PreferencesPages pages;
        skinFilterIndex() = 7;
        pages.read(key);
        EXPECT_EQ(pages.page(), c.page);
        EXPECT_EQ(skinFilterIndex(), c.filter);
    }

    FileRegistryHive hive;
    SettingsKey key(hive, SettingsStore::kPrimaryKey);
    PreferencesPages pages;
    EXPECT_STREQ(pages.helpTopic(), "HTML/Setting the preferences.htm");
    EXPECT_FALSE(pages.select(kOptionsPage));
    EXPECT_TRUE(pages.select(kHotkeysPage));
    EXPECT_STREQ(pages.helpTopic(), "HTML/Hotkeys.htm");
    skinFilterIndex() = 2;
    pages.write(key);
    EXPECT_EQ(key.readInteger("OptionsPage", -1), 1);
    EXPECT_EQ(key.readInteger("SkinFilter", -1), 2);
    skinFilterIndex() = 1;
}

TEST(HotkeyEntry, TakesKeysWithCtrlOrAltAndRefusesPlainShiftedAndModifierKeys)
{
    EXPECT_EQ(acceptedHotkey('C', {true, true, false}), 0x6043);
    EXPECT_EQ(acceptedHotkey(0x73, {false, false, true}), 0x8073); // Alt+F4
    EXPECT_EQ(acceptedHotkey(0x2E, {true, true, true}), 0xE02E);   // Shift+Ctrl+Alt+Del
    EXPECT_EQ(acceptedHotkey('C', {}), std::nullopt);
    EXPECT_EQ(acceptedHotkey('C', {true, false, false}), std::nullopt);
    EXPECT_EQ(acceptedHotkey(0x70, {true, false, false}), std::nullopt);
    EXPECT_EQ(acceptedHotkey(0x10, {true, true, false}), std::nullopt); // Ctrl+Shift alone
    EXPECT_EQ(acceptedHotkey(0x12, {false, true, true}), std::nullopt);
    EXPECT_EQ(acceptedHotkey(0, {false, true, false}), std::nullopt);
}

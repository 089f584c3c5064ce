#include "app/ModalBracket.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class RecordingHost : public ModalHost {
public:
    bool frameVisible() const override { return frame; }
    void setFrameVisible(bool visible) override
    {
        frame = visible;
        log.push_back(visible ? "frame shown" : "frame hidden");
    }
    bool hotkeysEnabled() const override { return hotkeys; }
    void setHotkeysEnabled(bool enabled) override
    {
        hotkeys = enabled;
        log.push_back(enabled ? "hotkeys on" : "hotkeys off");
    }
    void disableTrayMenu() override
    {
        trayEnabled = false;
        log.push_back("tray off");
    }
    void enableTrayMenu() override
    {
        trayEnabled = true;
        log.push_back("tray on");
    }
    void repaintRemote() override { log.push_back("repaint"); }

    bool frame = true;
    bool hotkeys = true;
    bool trayEnabled = true;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

// Runs bracket steps 2 to 4 with a window that logs its life and answers `show`.
int runWindow(ModalBracket& bracket, RecordingHost& host, const ModalWindowKind& kind, const std::function<int()>& show,
              bool exists = true)
{
    return bracket.runWindow(
        kind,
        [&](const std::string& caption) {
            host.log.push_back(exists ? "create '" + caption + "'" : "no window");
            return exists;
        },
        show, [&] { host.log.push_back("destroy"); });
}

} // namespace

TEST(ModalBracket, HidesTheFrameAndHotkeysAroundTheWindowAndRestoresThem)
{
    RecordingHost host;
    {
        ModalBracket bracket(host, ModalWindows::save.repaints);
        const int result = runWindow(bracket, host, ModalWindows::save, [&] {
            EXPECT_FALSE(host.frame);
            EXPECT_FALSE(host.hotkeys);
            EXPECT_FALSE(host.trayEnabled);
            host.log.push_back("window");
            return 7;
        });
        EXPECT_EQ(result, 7);
    }
    EXPECT_EQ(host.log, (Log{"hotkeys off", "frame hidden", "create 'Zentrap Save As'", "tray off", "window", "destroy",
                             "tray on", "frame shown", "repaint", "hotkeys on"}));
}

TEST(ModalBracket, RestoresEverythingWhenTheWindowFails)
{
    RecordingHost host;
    EXPECT_THROW(
        {
            ModalBracket bracket(host, true);
            runWindow(bracket, host, ModalWindows::print, []() -> int { throw std::runtime_error("window failed"); });
        },
        std::runtime_error);
    EXPECT_TRUE(host.frame);
    EXPECT_TRUE(host.hotkeys);
    EXPECT_TRUE(host.trayEnabled);
    EXPECT_EQ(host.log, (Log{"hotkeys off", "frame hidden", "create 'Zentrap Print Preview'", "tray off", "destroy",
                             "tray on", "frame shown", "repaint", "hotkeys on"}));
}

TEST(ModalBracket, WithoutAWindowTheTrayMenuIsLeftAloneAndTheRestRestored)
{
    // "No printer installed" is shown instead of the Print Preview.
    RecordingHost host;
    {
        ModalBracket bracket(host, true);
        EXPECT_EQ(runWindow(
                      bracket, host, ModalWindows::print, [] { return 5; }, false),
                  0);
    }
    EXPECT_EQ(host.log, (Log{"hotkeys off", "frame hidden", "no window", "frame shown", "repaint", "hotkeys on"}));
}

TEST(ModalBracket, GivesBackTheRememberedStateNotAlwaysOn)
{
    RecordingHost host;
    host.frame = false; // full-screen mode
    host.hotkeys = false;
    {
        ModalBracket bracket(host, ModalWindows::view.repaints);
        runWindow(bracket, host, ModalWindows::view, [&] {
            EXPECT_TRUE(host.trayEnabled) << "the View leaves the tray menu alone";
            return 1;
        });
    }
    EXPECT_FALSE(host.frame);
    EXPECT_FALSE(host.hotkeys);
    EXPECT_EQ(host.log,
              (Log{"hotkeys off", "frame hidden", "create 'Zentrap View'", "destroy", "frame hidden", "hotkeys off"}));
}

TEST(ModalBracket, NestedWindowsBringTheFrameBackOnlyAfterBoth)
{
    // The editor closed with "Save As...": the Save As window opens inside the editor's bracket.
    RecordingHost host;
    {
        ModalBracket edit(host, true);
        runWindow(edit, host, ModalWindows::edit, [] { return 9; });
        {
            ModalBracket save(host, true);
            runWindow(save, host, ModalWindows::save, [] { return 1; });
        }
        EXPECT_FALSE(host.frame) << "still hidden between the two windows";
        EXPECT_FALSE(host.hotkeys);
        EXPECT_TRUE(host.trayEnabled);
    }
    EXPECT_TRUE(host.frame);
    EXPECT_TRUE(host.hotkeys);
}

TEST(ModalBracket, TableOfWindows)
{
    EXPECT_EQ(ModalWindows::edit.caption, "Image Editor");
    EXPECT_TRUE(ModalWindows::edit.disablesTrayMenu);
    EXPECT_EQ(ModalWindows::print.caption, "Zentrap Print Preview");
    EXPECT_EQ(ModalWindows::preferences.caption, "Zentrap Preferences");
    EXPECT_TRUE(ModalWindows::preferences.disablesTrayMenu);
    EXPECT_FALSE(ModalWindows::preferences.repaints);
    EXPECT_EQ(ModalWindows::about.caption, "Zentrap About");
    EXPECT_FALSE(ModalWindows::about.disablesTrayMenu);
    EXPECT_FALSE(ModalWindows::view.disablesTrayMenu);
}

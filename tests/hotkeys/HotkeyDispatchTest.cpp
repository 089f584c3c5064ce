#include "hotkeys/HotkeyDispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingTarget : public HotkeyTarget {
public:
    bool hotkeysBlocked() const override { return blocked; }
    bool minimized() const override { return isMinimized; }
    bool trayMinimize() const override { return tray; }
    void showFromTray() override
    {
        log.push_back("from tray");
        isMinimized = false;
    }
    void restoreApplication() override
    {
        log.push_back("restore");
        isMinimized = false;
    }
    void bringToFront() override { log.push_back("front"); }
    void runHotkeyCommand(int id) override { log.push_back("hotkey " + std::to_string(id)); }

    bool blocked = false;
    bool isMinimized = false;
    bool tray = false;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(HotkeyDispatchTest, RestoresTheWayItWasMinimisedThenComesToTheFrontThenRuns)
{
    RecordingTarget tray;
    tray.isMinimized = tray.tray = true;
    dispatchHotkey(tray, 101);
    EXPECT_EQ(tray.log, (Log{"from tray", "front", "hotkey 101"}));

    RecordingTarget taskbar;
    taskbar.isMinimized = true;
    dispatchHotkey(taskbar, 102);
    EXPECT_EQ(taskbar.log, (Log{"restore", "front", "hotkey 102"}));

    RecordingTarget shown;
    shown.tray = true;
    dispatchHotkey(shown, 105);
    EXPECT_EQ(shown.log, (Log{"front", "hotkey 105"}));
}

TEST(HotkeyDispatchTest, NothingWhileBlocked)
{
    RecordingTarget target;
    target.blocked = true;
    target.isMinimized = true;
    dispatchHotkey(target, 101);
    EXPECT_TRUE(target.log.empty());
}

} // namespace

#include "hotkeys/HotkeyDispatch.h"

#include <gtest/gtest.h>

#include <map>
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
    void runCommand(Command command) override
    {
        const std::map<Command, std::string> names{{Command::Capture, "capture"},
                                                   {Command::FullScreen, "full screen"},
                                                   {Command::Edit, "edit"},
                                                   {Command::Save, "save"},
                                                   {Command::Print, "print"}};
        const auto name = names.find(command);
        log.push_back(name != names.end() ? name->second : "another command");
    }

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
    EXPECT_EQ(tray.log, (Log{"from tray", "front", "capture"}));

    RecordingTarget taskbar;
    taskbar.isMinimized = true;
    dispatchHotkey(taskbar, 102);
    EXPECT_EQ(taskbar.log, (Log{"restore", "front", "full screen"}));

    RecordingTarget shown;
    shown.tray = true;
    for (int id : {103, 104, 105, 106}) {
        dispatchHotkey(shown, id);
    }
    EXPECT_EQ(shown.log, (Log{"front", "edit", "front", "save", "front", "print", "front"}))
        << "an unknown identifier only brings the window to the front";
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

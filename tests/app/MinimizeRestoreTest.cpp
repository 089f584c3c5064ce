// Minimising and restoring: the frame's visibility kept across, the taskbar left and rejoined,
// and the requests to the window manager.
#include "app/MinimizeRestore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DesktopHost : public MinimizeHost {
public:
    bool frameShown() const override { return frame; }
    void showFrame(bool shown) override { frame = shown; }
    void minimizeWindow() override { log.push_back("minimize"); }
    void restoreWindow() override { log.push_back("restore"); }
    void leaveTaskbar() override
    {
        onTaskbar = false;
        log.push_back("leave taskbar");
    }
    void returnFromTray() override
    {
        onTaskbar = true;
        log.push_back("return");
    }

    bool frame = true;
    bool onTaskbar = true;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

struct Application {
    DesktopHost host;
    MinimizeRestore minimizing{host};
};

} // namespace

TEST(MinimizeRestore, TheCommandAsksTheWindowManagerAndTheNotificationsDoTheWork)
{
    for (bool frameAtFirst : {true, false}) {
        Application app;
        app.host.frame = frameAtFirst;
        app.minimizing.command();
        EXPECT_EQ(app.host.log, Log{"minimize"});
        EXPECT_FALSE(app.minimizing.minimized());

        app.minimizing.minimizeNotified(false, false);
        EXPECT_TRUE(app.minimizing.minimized());
        EXPECT_FALSE(app.host.frame);
        EXPECT_EQ(app.minimizing.frameVisible(), frameAtFirst);
        EXPECT_TRUE(app.host.onTaskbar);
        // A repeated notification (window managers send several) changes nothing.
        app.minimizing.minimizeNotified(false, false);
        EXPECT_EQ(app.minimizing.frameVisible(), frameAtFirst);

        app.minimizing.command();
        EXPECT_EQ(app.host.log, (Log{"minimize", "restore"}));
        EXPECT_TRUE(app.minimizing.minimized());
        app.minimizing.restoreNotified();
        EXPECT_FALSE(app.minimizing.minimized());
        EXPECT_EQ(app.host.frame, frameAtFirst);
    }
}

TEST(MinimizeRestore, FrameChangesWhileMinimizedWaitForTheRestore)
{
    Application app;
    app.minimizing.minimizeNotified(true, false);
    // A window opened from the tray menu while minimised hides the frame and gives it back.
    EXPECT_TRUE(app.minimizing.frameVisible());
    app.minimizing.setFrameVisible(false);
    app.minimizing.setFrameVisible(true);
    EXPECT_FALSE(app.host.frame);
    app.minimizing.setFrameVisible(false);
    app.minimizing.restore();
    EXPECT_FALSE(app.host.frame);

    app.minimizing.setFrameVisible(true);
    EXPECT_TRUE(app.host.frame);
}

TEST(MinimizeRestore, AMinimizeWhileAModalWindowIsOpenIsUndone)
{
    Application app;
    app.host.frame = false;
    app.minimizing.minimizeNotified(true, true);
    EXPECT_FALSE(app.minimizing.minimized());
    EXPECT_TRUE(app.host.onTaskbar);
    EXPECT_EQ(app.host.log, Log{"restore"});
    EXPECT_FALSE(app.minimizing.frameVisible()) << "the frame stays as it was";
}

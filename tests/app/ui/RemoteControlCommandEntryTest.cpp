// Every way into the Capture command (button, key, the Capture Frame's forwarded key, tray menu,
// hotkey, PrintScreen, end of the countdown) takes exactly one capture; while a window that must
// be answered is open none of them captures, and a running countdown is cancelled.
#include "app/CaptureFrameLink.h"
#include "app/ui/RemoteControlWindow.h"
#include "capture/FrameHost.h"
#include "support/RemoteControlUser.h"
#include "support/ShownCaptureFrame.h"
#include "support/TestApplication.h"
#include "support/WindowTestFakes.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

Bitmap screenPixels()
{
    Bitmap b(64, 48);
    b.fillRect(Rect::fromSize(0, 0, 64, 48), makeColor(0x20, 0x90, 0xE0));
    return b;
}

class CommandEntryTest : public ::testing::Test, public WindowTestFakes {
protected:
    CommandEntryTest() : WindowTestFakes(screenPixels())
    {
        testApplication();
        platform.hotkeys = &fakes.hotkeys;
        platform.keyWatcher = &fakes.keyWatcher;
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n\"HideRemote\"=dword:00000000\n");
        RemoteWindowFactories windows;
        windows.edit = [this](const ModalWindowContext& context) {
            auto dialog = std::make_unique<QDialog>(&context.owner);
            QDialog* raw = dialog.get();
            Bitmap& edited = *context.session.editImage;
            QTimer::singleShot(0, raw, [this, raw, &edited] {
                insideEditor(edited);
                raw->done(kEditResultClose);
            });
            return dialog;
        };
        // The Save As window reports the image it was given.
        windows.save = [this](const ModalWindowContext& context) {
            auto dialog = std::make_unique<QDialog>(&context.owner);
            savedWidth = context.session.image.width();
            QTimer::singleShot(0, dialog.get(), [raw = dialog.get()] { raw->done(0); });
            return dialog;
        };
        form = std::make_unique<RemoteControlWindow>(platform, std::move(windows));
        form->attachFrame(&frame);
        form->show();
        user = std::make_unique<RemoteControlUser>(*form);
    }

    void countdownToTheEnd()
    {
        const long long end = fakes.clock.now() + 9000;
        while (fakes.clock.now() < end) {
            fakes.clock.advance(100);
        }
    }

    // Each way into the Capture command, named for the failure message.
    std::vector<std::pair<std::string, std::function<void()>>> waysIn()
    {
        return {
            {"button", [this] { user->click("captureButton"); }},
            {"key", [this] { user->press(Qt::Key_C); }},
            {"frame key", [this] { form->frameHost().frameKey('C', KeyModifiers{.ctrl = true}); }},
            {"tray menu", [this] { user->choose("trayMenu", "Capture"); }},
            {"hotkey", [this] { fakes.hotkeys.press(101); }},
            {"PrintScreen", [this] { fakes.keyWatcher.press(); }},
            {"countdown end",
             [this] {
                 user->click("timerButton");
                 user->press(Qt::Key_C);
                 countdownToTheEnd();
             }},
        };
    }

    std::function<void(Bitmap& edited)> insideEditor = [](Bitmap&) {};
    int savedWidth = 0;
    ShownCaptureFrame frame;
    std::unique_ptr<RemoteControlWindow> form;
    std::unique_ptr<RemoteControlUser> user;
};

} // namespace

TEST_F(CommandEntryTest, EveryWayIntoCaptureTakesOneCapture)
{
    for (const auto& [way, run] : waysIn()) {
        const int before = clipboard.placements;
        run();
        EXPECT_EQ(clipboard.placements, before + 1) << way;
        EXPECT_FALSE(user->button("timerButton").isChecked()) << way;
    }
    EXPECT_TRUE(user->button("editButton").isEnabled());
}

TEST_F(CommandEntryTest, NothingCapturesWhileTheEditorIsOpenAndItsImageComesBack)
{
    fakes.keyWatcher.press();
    ASSERT_EQ(clipboard.placements, 1);
    Bitmap edited(7, 5);
    edited.fillRect(Rect::fromSize(0, 0, 7, 5), makeColor(0xFF, 0, 0));
    std::vector<std::string> captured;
    bool frameShownInside = false;
    insideEditor = [&](Bitmap& editImage) {
        for (const auto& [way, run] : waysIn()) {
            const int before = clipboard.placements;
            run();
            if (clipboard.placements != before) {
                captured.push_back(way);
            }
        }
        frameShownInside = frame.shown;
        editImage = edited;
    };
    user->click("editButton");
    EXPECT_TRUE(captured.empty()) << captured.front();
    EXPECT_FALSE(frameShownInside) << "the Capture Frame stays hidden under the editor";
    EXPECT_TRUE(frame.shown);
    user->click("saveButton");
    EXPECT_EQ(savedWidth, 7) << "the editor's picture is the image after it";
    EXPECT_EQ(user->thumbnail().pixelColor(40, 40), QColor(0xFF, 0, 0));
}

TEST_F(CommandEntryTest, OpeningAWindowCancelsARunningCountdown)
{
    user->click("timerButton");
    user->press(Qt::Key_C);
    ASSERT_TRUE(user->button("timerButton").isChecked());
    bool timerDownInside = true;
    QTimer::singleShot(0, form.get(), [&] {
        timerDownInside = user->button("timerButton").isChecked();
        countdownToTheEnd();
        QApplication::activeModalWidget()->close();
    });
    user->choose("systemMenu", "About");
    EXPECT_FALSE(timerDownInside) << "the Timer button comes up when the window opens";
    countdownToTheEnd();
    EXPECT_EQ(clipboard.placements, 0);
}

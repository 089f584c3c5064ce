// Every way into the Capture command (button, key, the Capture Frame's forwarded key, tray menu,
// hotkey, PrintScreen, end of the countdown) takes exactly one capture; while a window that must
// be answered is open none of them captures, and a running countdown is cancelled.
#include "app/CaptureFrameLink.h"
#include "app/ui/RemoteControlWindow.h"
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
            QTimer::singleShot(0, raw, [this, raw] {
                insideEditor();
                raw->done(kEditResultClose);
            });
            return dialog;
        };
        form = std::make_unique<RemoteControlWindow>(platform, std::move(windows));
        form->attachFrame(&frame);
        form->show();
    }

    QAction& trayItem(const char* text)
    {
        for (QAction* item : form->menus().trayMenu.actions()) {
            if (item->text() == text) {
                return *item;
            }
        }
        throw std::runtime_error(std::string("no tray item ") + text);
    }
    void pressCtrl(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::ControlModifier);
        QApplication::sendEvent(form.get(), &event);
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
            {"button", [this] { form->button("captureButton")->click(); }},
            {"key", [this] { pressCtrl(Qt::Key_C); }},
            {"frame key", [this] { form->frameKey('C', KeyModifiers{.ctrl = true}); }},
            {"tray menu", [this] { trayItem("Capture").trigger(); }},
            {"hotkey", [this] { fakes.hotkeys.press(101); }},
            {"PrintScreen", [this] { fakes.keyWatcher.press(); }},
            {"countdown end",
             [this] {
                 form->button("timerButton")->click();
                 pressCtrl(Qt::Key_C);
                 countdownToTheEnd();
             }},
        };
    }

    std::function<void()> insideEditor = [] {};
    ShownCaptureFrame frame;
    std::unique_ptr<RemoteControlWindow> form;
};

} // namespace

TEST_F(CommandEntryTest, EveryWayIntoCaptureTakesOneCapture)
{
    for (const auto& [way, run] : waysIn()) {
        const int before = clipboard.placements;
        run();
        EXPECT_EQ(clipboard.placements, before + 1) << way;
        EXPECT_FALSE(form->button("timerButton")->isChecked()) << way;
    }
    EXPECT_TRUE(form->button("editButton")->isEnabled());
}

TEST_F(CommandEntryTest, NothingCapturesWhileTheEditorIsOpenAndItsImageComesBack)
{
    fakes.keyWatcher.press();
    ASSERT_EQ(clipboard.placements, 1);
    Bitmap edited(7, 5);
    edited.fillRect(Rect::fromSize(0, 0, 7, 5), makeColor(0xFF, 0, 0));
    std::vector<std::string> captured;
    bool frameShownInside = false;
    insideEditor = [&] {
        for (const auto& [way, run] : waysIn()) {
            const int before = clipboard.placements;
            run();
            if (clipboard.placements != before) {
                captured.push_back(way);
            }
        }
        frameShownInside = frame.shown;
        *form->session().editImage = edited;
    };
    form->runCommand(Command::Edit);
    EXPECT_TRUE(captured.empty()) << captured.front();
    EXPECT_FALSE(frameShownInside) << "the Capture Frame stays hidden under the editor";
    EXPECT_EQ(form->session().image.width(), 7) << "the editor's picture is the image after it";
    EXPECT_EQ(form->session().image.pixelColor(3, 2), makeColor(0xFF, 0, 0));
    EXPECT_TRUE(frame.shown);
}

TEST_F(CommandEntryTest, OpeningAWindowCancelsARunningCountdown)
{
    form->button("timerButton")->click();
    pressCtrl(Qt::Key_C);
    ASSERT_TRUE(form->button("timerButton")->isChecked());
    bool timerDownInside = true;
    QTimer::singleShot(0, form.get(), [&] {
        timerDownInside = form->button("timerButton")->isChecked();
        countdownToTheEnd();
        QApplication::activeModalWidget()->close();
    });
    form->runCommand(Command::About);
    EXPECT_FALSE(timerDownInside) << "the Timer button comes up when the window opens";
    countdownToTheEnd();
    EXPECT_EQ(clipboard.placements, 0);
    EXPECT_FALSE(form->session().notSaved);
}

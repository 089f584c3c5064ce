// The Remote Control with fake hotkey, PrintScreen and window-manager services: presses reach the
// commands, refusals reach the failure dialog, and the services follow the window's states.
#include "app/CaptureFrameLink.h"
#include "app/ui/RemoteControlWindow.h"
#include "hotkeys/ui/HotkeyFailureDialog.h"
#include "platform/FileRegistryHive.h"
#include "platform/Platform.h"
#include "platform/fake/FakeClipboard.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeHelpService.h"
#include "platform/fake/FakeHotkeyService.h"
#include "platform/fake/FakeKeyWatcher.h"
#include "platform/fake/FakeMessageService.h"
#include "platform/fake/FakeScreenSource.h"
#include "platform/fake/FakeWindowManager.h"
#include "support/RemoteControlUser.h"
#include "support/ShownCaptureFrame.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

class RemoteControlHotkeysTest : public ::testing::Test {
protected:
    RemoteControlHotkeysTest()
    {
        testApplication();
        platform.hotkeys = &hotkeys;
        platform.keyWatcher = &keyWatcher;
        platform.windowManager = &windowManager;
    }

    std::unique_ptr<RemoteControlWindow> makeForm(const std::string& values = "")
    {
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n\"HideRemote\"=dword:00000000\n" +
                          values);
        auto form = std::make_unique<RemoteControlWindow>(platform);
        form->attachFrame(&frame);
        user = std::make_unique<RemoteControlUser>(*form);
        return form;
    }

    FileRegistryHive userHive;
    FakeScreenSource screen{Bitmap(64, 48)};
    FakeClipboard clipboard;
    FakeHelpService help;
    FakeMessageService messages;
    FakeHotkeyService hotkeys;
    FakeKeyWatcher keyWatcher;
    FakeWindowManager windowManager;
    FakeClock clock;
    Platform platform{userHive, nullptr, screen, clipboard, help, messages, clock, "/opt/zentrap/"};
    ShownCaptureFrame frame;
    std::unique_ptr<RemoteControlUser> user;
};

TEST_F(RemoteControlHotkeysTest, PressesRunTheirCommandsAndBringTheWindowForward)
{
    auto form = makeForm("\"TrayMinimize\"=dword:00000001\n");
    form->show();
    ASSERT_EQ(hotkeys.registered.size(), 5u);
    hotkeys.press(101);
    EXPECT_EQ(clipboard.placements, 1) << "Capture";
    EXPECT_EQ(windowManager.activated, std::vector<uint64_t>{form->winId()});
    hotkeys.press(102);
    EXPECT_TRUE(user->button("fullScreenButton").isChecked());
    EXPECT_FALSE(frame.shown);
    hotkeys.press(102);
    EXPECT_TRUE(frame.shown) << "the full-screen hotkey flips the button each time";
    // Minimised to the tray with the frame hidden at that moment.
    frame.shown = false;
    form->showMinimized();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
    ASSERT_TRUE(user->hasMenuItem("trayMenu", "Restore")) << "minimised";
    ASSERT_FALSE(form->isVisible());
    hotkeys.press(101);
    EXPECT_TRUE(form->isVisible()) << "back from the tray";
    EXPECT_TRUE(user->hasMenuItem("trayMenu", "Minimize")) << "no longer minimised";
    EXPECT_FALSE(frame.shown) << "the frame keeps the visibility it had when minimised";
    EXPECT_EQ(screen.pixelCopies, 2);
}

TEST_F(RemoteControlHotkeysTest, OffDuringModalWindowsAndNoPressRunsInsideOne)
{
    auto form = makeForm();
    bool registeredInside = true;
    int copiesInside = -1;
    QTimer::singleShot(0, form.get(), [&] {
        QWidget* view = QApplication::activeModalWidget();
        ASSERT_NE(view, nullptr);
        registeredInside = !hotkeys.registered.empty();
        // A press that was already on its way when the window opened.
        hotkeys.registered[101] = 0x6043;
        hotkeys.press(101);
        copiesInside = screen.pixelCopies;
        hotkeys.registered.clear();
        view->close();
    });
    user->doubleClickThumbnail();
    EXPECT_FALSE(registeredInside);
    EXPECT_EQ(copiesInside, 0);
    EXPECT_EQ(hotkeys.registered.size(), 5u) << "back on after the window";
}

TEST_F(RemoteControlHotkeysTest, PrintScreenWatchFollowsTheSettingAndCaptures)
{
    {
        auto form = makeForm("\"UsePrintScreen\"=dword:00000000\n");
        EXPECT_FALSE(keyWatcher.isRunning());
    }
    auto form = makeForm();
    ASSERT_TRUE(keyWatcher.isRunning());
    keyWatcher.press();
    EXPECT_EQ(screen.pixelCopies, 1);
    form.reset();
    EXPECT_FALSE(keyWatcher.isRunning()) << "stopped when the window goes";
}

TEST_F(RemoteControlHotkeysTest, RefusalsWhenPreferencesSwitchesThemOnOpenTheFailureDialog)
{
    hotkeys.refused = {0x6043, 0x6050};
    auto form = makeForm("\"GlobalHotkeys\"=dword:00000000\n");
    ASSERT_TRUE(hotkeys.registered.empty());
    QString caption;
    QString text;
    bool stayedOpenAfterHelp = false;
    // Answers the failure dialog once it has opened (after the Preferences window has closed).
    int looks = 0;
    std::function<void()> answerFailure = [&] {
        auto* dialog = dynamic_cast<HotkeyFailureDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (++looks < 100) {
                QTimer::singleShot(0, form.get(), answerFailure);
            }
            return;
        }
        caption = dialog->windowTitle();
        text = dialog->messageText();
        EXPECT_EQ(dialog->parentWidget(), form.get());
        dialog->findChild<QPushButton*>("help")->click();
        stayedOpenAfterHelp = dialog->isVisible();
        EXPECT_TRUE(dialog->findChild<QPushButton*>("ok")->isDefault());
        dialog->findChild<QCheckBox*>("disableHotkeys")->setChecked(true);
        dialog->findChild<QPushButton*>("ok")->click();
    };
    QTimer::singleShot(0, form.get(), [&] {
        QWidget* preferences = QApplication::activeModalWidget();
        ASSERT_NE(preferences, nullptr);
        preferences->findChild<QCheckBox*>("cbEnableHotkeys")->setChecked(true);
        QTimer::singleShot(0, form.get(), answerFailure);
        preferences->findChild<QPushButton*>("OK")->click();
    });
    user->click("preferencesButton");
    EXPECT_EQ(caption, "Zentrap");
    EXPECT_EQ(text, "The following hotkeys are not registered:\nShift+Ctrl+C, Shift+Ctrl+P. \nSome other program has "
                    "already used it.\nTo disable or customize the hotkeys, open the Hotkeys page on the Preferences "
                    "window.");
    EXPECT_TRUE(stayedOpenAfterHelp);
    EXPECT_EQ(help.topics, std::vector<std::string>{"/opt/zentrap/ztp.chm::/HTML/Hotkeys.htm"});
    EXPECT_TRUE(hotkeys.registered.empty()) << "\"Disable hotkeys\" switches them off";
    form.reset();
    EXPECT_NE(userHive.text().find("\"GlobalHotkeys\"=dword:00000000"), std::string::npos) << "and they stay off";
}

} // namespace

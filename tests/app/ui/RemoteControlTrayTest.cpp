// The Remote Control with a fake tray: the icon for the whole run, its clicks, minimising to the
// tray and back, captures while minimised, and the exit question from the close request.
#include "app/ui/ExitQuestionDialog.h"
#include "app/ui/OutsideEndWatch.h"
#include "app/ui/RemoteControlWindow.h"
#include "platform/fake/FakePlatform.h"
#include "support/RemoteControlUser.h"
#include "support/ShownCaptureFrame.h"
#include "support/TestApplication.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// A granted close ends the application's event loop; running it once more lets the next test's
// modal windows run their own loops again.
void finishExit()
{
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

// Runs `act` once the exit question is open, then sends the close request; true when granted.
bool closeWith(RemoteControlWindow& form, const std::function<void(ExitQuestionDialog&)>& act)
{
    bool asked = false;
    QTimer::singleShot(0, &form, [&] {
        auto* question = dynamic_cast<ExitQuestionDialog*>(QApplication::activeModalWidget());
        if (question != nullptr) {
            asked = true;
            act(*question);
        }
    });
    QCloseEvent event;
    QApplication::sendEvent(&form, &event);
    EXPECT_TRUE(asked) << "no exit question";
    return event.isAccepted();
}

class RemoteControlTray : public ::testing::Test {
protected:
    RemoteControlTray()
    {
        testApplication();
        userHive.loadText("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Morvane\\Zentrap]\n"
                          "\"HideRemote\"=dword:00000000\n\"TrayMinimize\"=dword:00000001\n");
    }

    std::unique_ptr<RemoteControlWindow> makeForm()
    {
        auto form = std::make_unique<RemoteControlWindow>(platform);
        form->attachFrame(&frame);
        form->show();
        QApplication::processEvents();
        user = std::make_unique<RemoteControlUser>(*form);
        return form;
    }
    void settle()
    {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
    }

    FakePlatform fakes;
    FileRegistryHive& userHive = fakes.userHive;
    FakeTrayService& tray = fakes.tray;
    Platform& platform = fakes.platform;
    ShownCaptureFrame frame;
    std::unique_ptr<RemoteControlUser> user;
};

} // namespace

TEST_F(RemoteControlTray, TheIconLivesAsLongAsTheRemoteControlAndRightReleaseOpensTheMenu)
{
    {
        auto form = makeForm();
        EXPECT_TRUE(tray.shown);
        tray.releaseRightButton({300, 200});
        EXPECT_TRUE(user->menuOpen("trayMenu"));
        EXPECT_TRUE(user->hasMenuItem("trayMenu", "Minimize"));
        user->closeMenu("trayMenu");
    }
    EXPECT_FALSE(tray.shown);
    // Clicks after the Remote Control is gone reach nothing.
    tray.doubleClick();
}

TEST_F(RemoteControlTray, MinimizingLeavesOnlyTheIconAndADoubleClickBringsEverythingBack)
{
    auto form = makeForm();
    form->showMinimized();
    settle();
    EXPECT_FALSE(form->isVisible()) << "still on the taskbar";
    EXPECT_FALSE(frame.shown);

    // A left click brings windows to the front but restores nothing.
    tray.click();
    settle();
    EXPECT_FALSE(form->isVisible());

    tray.releaseRightButton({300, 200});
    EXPECT_TRUE(user->hasMenuItem("trayMenu", "Restore"));
    user->closeMenu("trayMenu");

    // A capture meanwhile takes the whole screen and leaves the Remote Control where it is.
    user->choose("trayMenu", "Capture");
    ASSERT_TRUE(fakes.clipboard.content.has_value());
    EXPECT_EQ(fakes.clipboard.content->width(), 640);
    EXPECT_EQ(fakes.clipboard.content->height(), 480);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(frame.shown);

    tray.doubleClick();
    settle();
    EXPECT_TRUE(user->hasMenuItem("trayMenu", "Minimize"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(frame.shown);
}

// The exit question, asked from the tray menu of the minimised application, disables the tray
// menu: a double-click on the icon then restores nothing until it is answered.
TEST_F(RemoteControlTray, TheDoubleClickDoesNothingWhileTheExitQuestionIsOpen)
{
    auto form = makeForm();
    user->click("captureButton");
    form->showMinimized();
    settle();
    bool asked = false;
    bool visibleInside = true;
    QTimer::singleShot(0, form.get(), [&] {
        auto* question = dynamic_cast<ExitQuestionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(question, nullptr);
        asked = true;
        tray.doubleClick();
        settle();
        visibleInside = form->isVisible();
        question->findChild<QPushButton*>("no")->click();
    });
    user->choose("trayMenu", "Exit");
    EXPECT_TRUE(asked);
    EXPECT_FALSE(visibleInside);
    EXPECT_TRUE(user->hasMenuItem("trayMenu", "Restore")) << "still minimised after the answer";
    tray.doubleClick();
    settle();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(user->hasMenuItem("trayMenu", "Minimize"));
}

TEST_F(RemoteControlTray, EndingFromOutsideClosesTheQuestionAndSavesTheSettings)
{
    auto form = makeForm();
    user->click("captureButton");
    // As the program wires it: the session's end and quit requests arrive as the quit event.
    OutsideEndWatch watch([&] { form->saveSettings(); }, [&] { form->endWithoutAsking(); });
    const bool granted = closeWith(*form, [&](ExitQuestionDialog& question) {
        question.findChild<QCheckBox*>("doNotShowAgain")->setChecked(true);
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    });
    EXPECT_TRUE(granted);
    finishExit();
    form.reset();
    EXPECT_NE(userHive.text().find("\"ExitConfirmation\"=dword:00000001"), std::string::npos) << "nobody answered";
}

// The exit question's texts and buttons: Enter answers "&Yes", Esc "&No", "&Help" opens the
// dialog's topic and leaves the question open, and the box is read whatever the answer.
#include "app/ui/ExitQuestionDialog.h"

#include "platform/fake/FakeHelpService.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `act` on the shown dialog and returns exec()'s result; fails the test instead of hanging.
int answer(ExitQuestionDialog& dialog, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dialog, act);
    QTimer::singleShot(5000, &dialog, [&dialog] {
        ADD_FAILURE() << "the dialog did not close";
        dialog.done(-1);
    });
    return dialog.exec();
}

QPushButton* button(QDialog& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(name);
}

} // namespace

TEST(ExitQuestionDialog, ShowsTheQuestionWithYesAsDefault)
{
    testApplication();
    FakeHelpService help;
    ExitQuestionDialog dialog(help, "/opt/zentrap/ztp.chm", nullptr);
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains("Captured image is neither saved nor printed."));
    EXPECT_TRUE(texts.contains("Exit anyway?"));
    auto* box = dialog.findChild<QCheckBox*>("doNotShowAgain");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Do not show this message again");
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(button(dialog, "yes")->text(), "&Yes");
    EXPECT_EQ(button(dialog, "no")->text(), "&No");
    EXPECT_EQ(button(dialog, "help")->text(), "&Help");
    EXPECT_TRUE(button(dialog, "yes")->isDefault());
    // Every control lies inside the fixed client area.
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        EXPECT_TRUE(dialog.rect().contains(child->geometry())) << child->metaObject()->className();
    }
}

TEST(ExitQuestionDialog, EnterAnswersYesAndEscNoWithTheBoxReadEitherWay)
{
    testApplication();
    FakeHelpService help;
    for (bool ticked : {false, true}) {
        for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
            ExitQuestionDialog dialog(help, "/opt/zentrap/ztp.chm", nullptr);
            const int result = answer(dialog, [&] {
                if (ticked) {
                    dialog.findChild<QCheckBox*>("doNotShowAgain")->click();
                }
                QTest::keyClick(&dialog, static_cast<Qt::Key>(key));
            });
            EXPECT_EQ(result, key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
            EXPECT_EQ(dialog.doNotShowAgain(), ticked);
        }
    }
}

TEST(ExitQuestionDialog, HelpOpensItsTopicAndLeavesTheQuestionOpen)
{
    testApplication();
    FakeHelpService help;
    ExitQuestionDialog dialog(help, "/opt/zentrap/ztp.chm", nullptr);
    bool openAfterHelp = false;
    const int result = answer(dialog, [&] {
        button(dialog, "help")->click();
        openAfterHelp = dialog.isVisible();
        button(dialog, "no")->click();
    });
    EXPECT_TRUE(openAfterHelp);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(help.topics, std::vector<std::string>{"/opt/zentrap/ztp.chm::/HTML/Exit confirmation.htm"});
}

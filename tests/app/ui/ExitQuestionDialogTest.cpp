// The exit question's texts and buttons, and its layout at each density: Enter answers "&Yes", Esc
// "&No", "&Help" opens the dialog's topic and leaves the question open, and the box is read whatever
// the answer.
#include "app/ui/ExitQuestionDialog.h"

#include "common/DesignLength.h"
#include "platform/fake/FakePlatform.h"
#include "support/LayoutAudit.h"
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
    FakePlatform fake;
    ExitQuestionDialog dialog(fake.platform, "/opt/zentrap/ztp.chm", nullptr);
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
}

// At each density no text is cut, and every control lies inside the window, apart from the others.
TEST(ExitQuestionDialog, AtEveryDensityEveryControlIsWhole)
{
    testApplication();
    FakePlatform fake;
    for (int dpi : {96, 120, 144}) {
        fake.platform.pixelsPerInch = dpi;
        ExitQuestionDialog dialog(fake.platform, "/opt/zentrap/ztp.chm", nullptr);
        dialog.show();
        QApplication::processEvents();
        const QStringList faults = layoutaudit::faults(QString("%1 dpi").arg(dpi), dialog);
        EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
        EXPECT_GE(dialog.width(), scaledDesignLength(292, dpi));
        EXPECT_EQ(dialog.height(), scaledDesignLength(150, dpi));
    }
}

TEST(ExitQuestionDialog, EnterAnswersYesAndEscNoWithTheBoxReadEitherWay)
{
    testApplication();
    FakePlatform fake;
    for (bool ticked : {false, true}) {
        for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
            ExitQuestionDialog dialog(fake.platform, "/opt/zentrap/ztp.chm", nullptr);
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
    FakePlatform fake;
    ExitQuestionDialog dialog(fake.platform, "/opt/zentrap/ztp.chm", nullptr);
    bool openAfterHelp = false;
    const int result = answer(dialog, [&] {
        button(dialog, "help")->click();
        openAfterHelp = dialog.isVisible();
        button(dialog, "no")->click();
    });
    EXPECT_TRUE(openAfterHelp);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(fake.help.topics, std::vector<std::string>{"/opt/zentrap/ztp.chm::/HTML/Exit confirmation.htm"});
}

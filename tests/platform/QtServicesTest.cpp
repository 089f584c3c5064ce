#include "platform/x11/QtMessageService.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        new QApplication(argc, argv);
    }
}

// Answers the next message box with `button` once it is shown, keeping what it showed.
struct BoxAnswer {
    QString title, text;
    QList<QMessageBox::StandardButton> buttons;
};

void answerNextBox(QMessageBox::StandardButton button, BoxAnswer& seen)
{
    QTimer::singleShot(0, [button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons.push_back(box->standardButton(b));
        }
        box->button(button)->click();
    });
}

} // namespace

TEST(QtMessageService, PlainBoxesAreTitledZentrapWithOneOkButton)
{
    ensureApplication();
    QtMessageService messages;
    BoxAnswer seen;
    answerNextBox(QMessageBox::Ok, seen);
    messages.showMessage("GetDC Error 7");
    EXPECT_EQ(seen.title, "Zentrap");
    EXPECT_EQ(seen.text, "GetDC Error 7");
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});

    BoxAnswer yes, no;
    answerNextBox(QMessageBox::Yes, yes);
    EXPECT_TRUE(messages.askYesNo("Exit?"));
    answerNextBox(QMessageBox::No, no);
    EXPECT_FALSE(messages.askYesNo("Exit?"));
    EXPECT_EQ(no.title, "Zentrap");
    EXPECT_EQ(no.buttons.size(), 2);
}

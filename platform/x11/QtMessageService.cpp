#include "platform/x11/QtMessageService.h"

#include <QMessageBox>

void QtMessageService::showMessage(const std::string& text, QWidget* owner)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, QString::fromStdString(text), QMessageBox::Ok, owner);
    box.exec();
}

bool QtMessageService::askYesNo(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

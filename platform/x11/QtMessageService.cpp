#include "platform/x11/QtMessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// Without a fixed parent a box belongs to the modal window that is open, so it stays on top of the
// window that raised it.
QWidget* ownerFor(QWidget* parent)
{
    return parent != nullptr ? parent : QApplication::activeModalWidget();
}

} // namespace

void QtMessageService::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, QString::fromStdString(text), QMessageBox::Ok, ownerFor(parent_));
    box.exec();
}

bool QtMessageService::askYesNo(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    ownerFor(parent_));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

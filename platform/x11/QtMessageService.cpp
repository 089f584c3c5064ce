#include "platform/x11/QtMessageService.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QShortcut>

namespace {

// Only the open modal window takes input, so it is the one that raised the box.
QWidget* ownerFor(QWidget* mainWindow)
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : mainWindow;
}

// Ctrl+C copies the message, so that it can be pasted into a report.
void copyTextOnCtrlC(QMessageBox& box)
{
    auto* copy = new QShortcut(QKeySequence::Copy, &box);
    QObject::connect(copy, &QShortcut::activated, &box, [&box] { QGuiApplication::clipboard()->setText(box.text()); });
}

} // namespace

void QtMessageService::showMessage(const std::string& text)
{
    showMessage(text, ownerFor(parent_));
}

void QtMessageService::showMessage(const std::string& text, QWidget* owner)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, QString::fromStdString(text), QMessageBox::Ok, owner);
    copyTextOnCtrlC(box);
    box.exec();
}

void QtMessageService::showNotice(const std::string& text, QWidget* owner)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, kTitle, QString::fromStdString(text), QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void QtMessageService::showWarning(const std::string& caption, const std::string& text, QWidget* owner)
{
    // The texts separate their lines with CR LF; a label breaks lines at LF alone.
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption),
                    QString::fromStdString(text).replace("\r\n", "\n"), QMessageBox::Ok, owner);
    copyTextOnCtrlC(box);
    box.exec();
}

bool QtMessageService::askYesNo(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    ownerFor(parent_));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

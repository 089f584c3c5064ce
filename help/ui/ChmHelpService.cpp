// The help window is made on first use, brought to the front for every request, closed at shutdown.
#include "help/ui/ChmHelpService.h"

#include "help/ui/HelpWindow.h"

#include <QApplication>

ChmHelpService::ChmHelpService() = default;
ChmHelpService::~ChmHelpService() = default;

HelpWindow& ChmHelpService::ensureWindow()
{
    if (!window_)
        window_ = std::make_unique<HelpWindow>();
    return *window_;
}

void ChmHelpService::present()
{
    // A modal window of the program is kept above other windows with its always-on-top owner; help
    // opened from it must be kept above too, or it would open beneath it. Otherwise help is an
    // ordinary window.
    const bool keepAbove = QApplication::activeModalWidget() != nullptr;
    if (window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != keepAbove) {
        window_->setWindowFlag(Qt::WindowStaysOnTopHint, keepAbove);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void ChmHelpService::displayTopic(const std::string& address)
{
    ensureWindow().showTopic(QString::fromStdString(address));
    present();
}

void ChmHelpService::displayContents(const std::string& helpFile)
{
    ensureWindow().showContents(QString::fromStdString(helpFile));
    present();
}

void ChmHelpService::closeAll()
{
    if (window_)
        window_->close();
}

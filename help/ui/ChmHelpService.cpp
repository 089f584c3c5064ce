// The help window is made on first use, brought to the front for every request, closed at shutdown.
#include "help/ui/ChmHelpService.h"

#include "help/ui/HelpWindow.h"

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

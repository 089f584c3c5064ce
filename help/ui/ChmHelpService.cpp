// The help window is made on first use, brought to the front for every request, closed at shutdown.
#include "help/ui/ChmHelpService.h"

#include "help/ui/HelpWindow.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

ChmHelpService::ChmHelpService(int pixelsPerInch) : pixelsPerInch_(pixelsPerInch)
{
}
ChmHelpService::~ChmHelpService() = default;

HelpWindow& ChmHelpService::ensureWindow()
{
    if (!window_)
        window_ = std::make_unique<HelpWindow>(pixelsPerInch_);
    return *window_;
}

void ChmHelpService::present()
{
    // A window manager may keep a window that was mapped as always-on-top so for good (icewm
    // does): help is shown as an ordinary window and asked to stay above only once it is shown.
    if (!window_->isVisible())
        setKeptAbove(false);
    window_->show();
    followModalWindow();
    window_->raise();
    window_->activateWindow();
}

// A modal window of the program is kept above other windows with its always-on-top owner; help
// opened from it must be kept above too, or it would open beneath it. Once no modal window is open
// any more, help is an ordinary window again that other programs' windows may cover.
void ChmHelpService::followModalWindow()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != modalWindow_) {
        if (modalWindow_)
            modalWindow_->removeEventFilter(this);
        modalWindow_ = modal;
        if (modal) {
            modal->installEventFilter(this);
            connect(modal, &QObject::destroyed, this, &ChmHelpService::followModalWindowSoon, Qt::UniqueConnection);
        }
    }
    if (window_)
        setKeptAbove(modal != nullptr);
}

bool ChmHelpService::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == modalWindow_ && event->type() == QEvent::Hide)
        followModalWindowSoon();
    return false;
}

void ChmHelpService::followModalWindowSoon()
{
    QTimer::singleShot(0, this, &ChmHelpService::followModalWindow);
}

void ChmHelpService::setKeptAbove(bool above)
{
    if (window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == above)
        return;
    QWindow* native = window_->windowHandle();
    if (!native) {
        window_->setWindowFlag(Qt::WindowStaysOnTopHint, above);
        return;
    }
    // Changing the widget's flags would destroy and re-create the native window, which flickers and
    // loses its place; the native window takes the changed hint as it is (a window-manager request
    // while it is shown).
    Qt::WindowFlags flags = window_->windowFlags();
    window_->overrideWindowFlags(flags.setFlag(Qt::WindowStaysOnTopHint, above));
    native->setFlag(Qt::WindowStaysOnTopHint, above);
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

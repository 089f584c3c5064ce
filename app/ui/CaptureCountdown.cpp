#include "app/ui/CaptureCountdown.h"

#include "app/ui/ButtonIcons.h"
#include "app/ui/Delay.h"

#include <QAbstractButton>

CaptureCountdown::CaptureCountdown(QAbstractButton& timerButton, std::function<void()> capture)
    : button_(timerButton), capture_(std::move(capture)), restingPicture_(remoteIcon(RemoteIcon::Timer))
{
    // A coarse timer may fire 5 % early; the countdown promises seven whole seconds.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(CountdownSequence::kTickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { sequence_.tick(); });
    showRestingPicture();
}

void CaptureCountdown::showCountdownPicture(int picture)
{
    button_.setIcon(countdownIcon(picture));
}

void CaptureCountdown::showRestingPicture()
{
    button_.setIcon(restingPicture_);
}

void CaptureCountdown::wait(int milliseconds)
{
    delayProcessingEvents(milliseconds);
}

void CaptureCountdown::raiseTimerButton()
{
    // Up without running the button's action, so the capture that follows happens at once.
    button_.setChecked(false);
}

#include "app/ui/CaptureCountdown.h"

#include "app/ui/ButtonIcons.h"

#include <QAbstractButton>

CaptureCountdown::CaptureCountdown(QAbstractButton& timerButton, Clock& clock, std::function<void()> capture)
    : button_(timerButton), clock_(clock),
      timer_(clock.makeRepeatingTimer(CountdownSequence::kTickMilliseconds, [this] { sequence_.tick(); })),
      capture_(std::move(capture)), restingPicture_(remoteIcon(RemoteIcon::Timer))
{
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

void CaptureCountdown::raiseTimerButton()
{
    // Up without running the button's action, so the capture that follows happens at once.
    button_.setChecked(false);
}

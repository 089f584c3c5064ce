#include "app/ui/CaptureCountdown.h"

#include "app/ui/ButtonIcons.h"

#include <QAction>

CaptureCountdown::CaptureCountdown(QAction& timerAction, Clock& clock, std::function<void()> capture)
    : action_(timerAction), clock_(clock),
      timer_(clock.makeRepeatingTimer(CountdownSequence::kTickMilliseconds, [this] { sequence_.tick(); })),
      capture_(std::move(capture)), restingPicture_(timerAction.icon())
{
    showRestingPicture();
}

void CaptureCountdown::showCountdownPicture(int picture)
{
    action_.setIcon(countdownIcon(picture));
}

void CaptureCountdown::showRestingPicture()
{
    action_.setIcon(restingPicture_);
}

void CaptureCountdown::raiseTimerButton()
{
    // Up without running the Timer command, so the capture that follows happens at once.
    action_.setChecked(false);
}

#include "app/ui/CaptureCountdown.h"

#include "app/ui/ButtonIcons.h"
#include "app/ui/Delay.h"

#include <QAbstractButton>

CaptureCountdown::CaptureCountdown(QAbstractButton& timerButton, std::function<void()> capture)
    : button_(timerButton), capture_(std::move(capture)), restingPicture_(remoteIcon(RemoteIcon::Timer))
{
    // A coarse timer may fire 5 % early; the countdown promises seven whole seconds.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &CaptureCountdown::tick);
    showRestingPicture();
}

void CaptureCountdown::arm()
{
    timer_.setInterval(1000);
    stepsLeft = 7;
}

void CaptureCountdown::disarm()
{
    timer_.stop();
    showRestingPicture();
}

void CaptureCountdown::start()
{
    showPicture(1);
    if (!timer_.isActive()) {
        timer_.start();
    }
}

void CaptureCountdown::tick()
{
    if (stepsLeft >= 2 && stepsLeft <= 7) {
        showPicture(9 - stepsLeft);
    }
    const int before = stepsLeft--;
    if (before != 1) {
        return;
    }
    showPicture(8);
    delayProcessingEvents(100);
    timer_.stop();
    // Up without running the button's action, so the capture below happens at once.
    button_.setChecked(false);
    capture_();
    showRestingPicture();
}

void CaptureCountdown::showPicture(int step)
{
    button_.setIcon(countdownIcon(step));
}

void CaptureCountdown::showRestingPicture()
{
    button_.setIcon(restingPicture_);
}

// The seven-second countdown on the Timer button: a one-second timer of the given clock drives the
// countdown sequence, whose pictures go onto the button.
#pragma once

#include "app/CountdownSequence.h"
#include "platform/Clock.h"

#include <QIcon>
#include <QObject>

#include <functional>
#include <memory>

class QAction;

class CaptureCountdown : public QObject, private CountdownHost {
public:
    CaptureCountdown(QAction& timerAction, Clock& clock, std::function<void()> capture);

    // The Timer button went down: the countdown is armed but not started.
    void arm() { sequence_.arm(); }
    // The Timer button went up before the end: no capture happens.
    void disarm() { sequence_.disarm(); }
    // A Capture command while the button is down; a running countdown goes on unchanged.
    void start() { sequence_.start(); }
    bool isRunning() const { return timer_->isActive(); }

private:
    void showCountdownPicture(int picture) override;
    void showRestingPicture() override;
    void startTicking() override { timer_->start(); }
    void stopTicking() override { timer_->stop(); }
    bool ticking() const override { return timer_->isActive(); }
    void wait(int milliseconds) override { clock_.wait(milliseconds); }
    void raiseTimerButton() override;
    void capture() override { capture_(); }

    QAction& action_;
    Clock& clock_;
    std::unique_ptr<RepeatingTimer> timer_;
    std::function<void()> capture_;
    QIcon restingPicture_;
    CountdownSequence sequence_{*this};
};

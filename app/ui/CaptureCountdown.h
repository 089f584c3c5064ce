// The seven-second countdown that delays a capture while the Timer button is down, with the
// clock pictures on the button.
#pragma once

#include <QIcon>
#include <QObject>
#include <QTimer>

#include <functional>

class QAbstractButton;

class CaptureCountdown : public QObject {
public:
    CaptureCountdown(QAbstractButton& timerButton, std::function<void()> capture);

    // The Timer button went down: the countdown is armed but not started.
    void arm();
    // The Timer button went up before the end: no capture happens.
    void disarm();
    // A Capture command while the button is down; a running countdown goes on unchanged.
    void start();
    bool isRunning() const { return timer_.isActive(); }

    int stepsLeft = 7;

private:
    void tick();
    void showPicture(int step);
    void showRestingPicture();

    QTimer timer_;
    QAbstractButton& button_;
    std::function<void()> capture_;
    QIcon restingPicture_;
};

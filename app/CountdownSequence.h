// The seven-second countdown of the Timer button: which picture shows when, and when the delayed
// capture runs. The window supplies the timer, the pictures and the waiting, so the sequence runs
// the same under a test's clock as on the desktop.
#pragma once

class CountdownHost {
public:
    virtual ~CountdownHost() = default;

    // Countdown picture 1 to 8: the dial's dark sector grows with the number.
    virtual void showCountdownPicture(int picture) = 0;
    virtual void showRestingPicture() = 0;
    // The one-second timer whose ticks drive tick().
    virtual void startTicking() = 0;
    virtual void stopTicking() = 0;
    virtual bool ticking() const = 0;
    // Waits while the program keeps serving events.
    virtual void wait(int milliseconds) = 0;
    // Puts the Timer button up without running its action.
    virtual void raiseTimerButton() = 0;
    // The Capture command, run with the Timer button up.
    virtual void capture() = 0;
};

class CountdownSequence {
public:
    static constexpr int kTicks = 7;
    static constexpr int kTickMilliseconds = 1000;
    static constexpr int kFinalWait = 100;

    explicit CountdownSequence(CountdownHost& host) : host_(host) {}

    // The Timer button went down: armed, nothing runs yet.
    void arm();
    // The Timer button went up before the end: the timer stops and no capture happens.
    void disarm();
    // A Capture command while the Timer button is down; a running countdown goes on unchanged.
    void start();
    // One second has passed.
    void tick();

    int ticksLeft() const { return ticksLeft_; }

private:
    CountdownHost& host_;
    int ticksLeft_ = kTicks;
};

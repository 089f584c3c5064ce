#include "app/CountdownSequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The timer and the button of the window, with a clock the test advances by hand.
class ClockedHost : public CountdownHost {
public:
    void showCountdownPicture(int picture) override { log.push_back("picture " + std::to_string(picture)); }
    void showRestingPicture() override { log.push_back("resting"); }
    void startTicking() override { running = true; }
    void stopTicking() override { running = false; }
    bool ticking() const override { return running; }
    void wait(int milliseconds) override
    {
        now += milliseconds;
        log.push_back("wait " + std::to_string(milliseconds));
    }
    void raiseTimerButton() override { log.push_back("button up"); }
    void capture() override { log.push_back("capture at " + std::to_string(now)); }

    // One second passes; the timer fires if it runs.
    void advance(CountdownSequence& sequence)
    {
        now += 1000;
        if (running) {
            sequence.tick();
        }
    }

    std::vector<std::string> log;
    bool running = false;
    int now = 0;
};

TEST(CountdownSequenceTest, PicturesOneToEightThenTheCaptureAfterSevenSecondsAndATenth)
{
    ClockedHost host;
    CountdownSequence countdown(host);
    countdown.arm();
    countdown.start();
    for (int second = 0; second < 9; ++second) {
        host.advance(countdown);
    }
    EXPECT_EQ(host.log, (std::vector<std::string>{"picture 1", "picture 2", "picture 3", "picture 4", "picture 5",
                                                  "picture 6", "picture 7", "picture 8", "wait 100", "button up",
                                                  "capture at 7100", "resting"}));
    EXPECT_FALSE(host.running) << "the capture ends the countdown; the next needs the button again";
}

TEST(CountdownSequenceTest, CaptureWhileCountingGoesOnAndRaisingTheButtonCancels)
{
    ClockedHost host;
    CountdownSequence countdown(host);
    countdown.arm();
    countdown.start();
    host.advance(countdown);
    host.advance(countdown);
    countdown.start(); // a second Capture: picture 1 again, the count goes on
    host.advance(countdown);
    EXPECT_EQ(host.log.back(), "picture 4");
    countdown.disarm(); // Timer up after three seconds
    for (int second = 0; second < 10; ++second) {
        host.advance(countdown);
    }
    EXPECT_EQ(host.log.back(), "resting");
    for (const std::string& entry : host.log) {
        EXPECT_EQ(entry.find("capture"), std::string::npos) << "no capture after the cancel";
    }
    // Down again: a full seven seconds, not what was left.
    countdown.arm();
    countdown.start();
    for (int second = 0; second < 7; ++second) {
        host.advance(countdown);
    }
    EXPECT_EQ(host.log[host.log.size() - 2], "capture at 20100");
}

} // namespace

// The real clock: Qt's precise timers and a nested event loop.
#pragma once

#include "platform/Clock.h"

class QtClock : public Clock {
public:
    void wait(int milliseconds) override;
    long long milliseconds() const override;
    std::unique_ptr<RepeatingTimer> makeRepeatingTimer(int milliseconds, std::function<void()> tick) override;
};

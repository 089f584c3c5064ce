// A clock for tests: time moves only when the test advances it or the code under test waits, and
// repeating timers fire as their intervals are passed.
#pragma once

#include "platform/Clock.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class FakeClock : public Clock {
public:
    FakeClock() = default;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    // Milliseconds since the clock was made.
    long long now() const { return now_; }
    long long milliseconds() const override { return now_; }

    // Moves time on by `milliseconds`, firing every timer that falls due, in time order.
    void advance(long long milliseconds)
    {
        const long long end = now_ + milliseconds;
        while (true) {
            Timer* next = nullptr;
            for (Timer* t : timers_) {
                if (t->active_ && t->due_ <= end && (next == nullptr || t->due_ < next->due_)) {
                    next = t;
                }
            }
            if (next == nullptr) {
                break;
            }
            now_ = next->due_;
            next->due_ += next->interval_;
            auto tick = next->tick_; // the tick may destroy its timer
            tick();
        }
        now_ = std::max(now_, end); // a tick that waited may have moved time past the end
    }

    // Called at the start of every wait, while the code under test waits: what it shows then.
    std::function<void(int milliseconds)> onWait;
    std::vector<int> waits;

    void wait(int milliseconds) override
    {
        waits.push_back(milliseconds);
        if (onWait) {
            onWait(milliseconds);
        }
        advance(std::max(milliseconds, 0));
    }

    std::unique_ptr<RepeatingTimer> makeRepeatingTimer(int milliseconds, std::function<void()> tick) override
    {
        return std::make_unique<Timer>(*this, milliseconds, std::move(tick));
    }

private:
    class Timer : public RepeatingTimer {
    public:
        Timer(FakeClock& clock, int interval, std::function<void()> tick)
            : clock_(clock), interval_(std::max(interval, 1)), tick_(std::move(tick))
        {
            clock_.timers_.push_back(this);
        }
        ~Timer() override { std::erase(clock_.timers_, this); }
        void start() override
        {
            active_ = true;
            due_ = clock_.now_ + interval_;
        }
        void stop() override { active_ = false; }
        bool isActive() const override { return active_; }

    private:
        friend class FakeClock;
        FakeClock& clock_;
        long long interval_;
        std::function<void()> tick_;
        bool active_ = false;
        long long due_ = 0;
    };

    long long now_ = 0;
    std::vector<Timer*> timers_;
};

// Waiting and repeating timers for windows whose behaviour is timed (the capture countdown, the pause
// that lets the desktop repaint), so that tests can run them on a clock they advance themselves.
#pragma once

#include <functional>
#include <memory>

// Calls its function at a fixed interval while it is running.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Returns after `milliseconds` have passed; events (timers, paints, input) are served
    // meanwhile, so callers must guard their own commands against re-entry.
    virtual void wait(int milliseconds) = 0;
    // Milliseconds on a clock that never goes backwards, from an arbitrary start.
    virtual long long milliseconds() const = 0;
    // A stopped timer that, once started, calls `tick` every `milliseconds` (never early).
    virtual std::unique_ptr<RepeatingTimer> makeRepeatingTimer(int milliseconds, std::function<void()> tick) = 0;
};

#include "platform/x11/QtClock.h"

#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace {

class QtRepeatingTimer : public RepeatingTimer {
public:
    QtRepeatingTimer(int milliseconds, std::function<void()> tick)
    {
        // A coarse timer may fire 5 % early; callers count whole intervals.
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(milliseconds);
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(tick)] { tick(); });
    }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

void QtClock::wait(int milliseconds)
{
    if (milliseconds <= 0) {
        return;
    }
    // A nested loop sleeps between events instead of spinning on processEvents().
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::AllEvents);
}

long long QtClock::milliseconds() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<RepeatingTimer> QtClock::makeRepeatingTimer(int milliseconds, std::function<void()> tick)
{
    return std::make_unique<QtRepeatingTimer>(milliseconds, std::move(tick));
}

#include "platform/MapPlacement.h"

namespace {

// How often and how long the compositor is asked whether it has mapped the window.
constexpr int kCheckIntervalMs = 40;
constexpr long long kMapWaitMs = 5000;

} // namespace

void MapPlacement::showing(NativeWindow window, Point origin)
{
    if (windowManager_ == nullptr || !windowManager_->compositorPlacesWindows()) {
        return;
    }
    window_ = window;
    wanted_ = origin;
    deadline_ = clock_.milliseconds() + kMapWaitMs;
    if (!timer_) {
        timer_ = clock_.makeRepeatingTimer(kCheckIntervalMs, [this] { check(); });
    }
    timer_->start();
}

void MapPlacement::forget()
{
    if (timer_) {
        timer_->stop();
    }
}

void MapPlacement::check()
{
    if (windowManager_->placeAfterMap(window_, wanted_) || clock_.milliseconds() > deadline_) {
        timer_->stop();
    }
}

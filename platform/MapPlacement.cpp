#include "platform/MapPlacement.h"

namespace {

// How long after the show a move counts as the compositor's placement rather than the user's.
constexpr long long kMapPlacementMs = 3000;

} // namespace

void MapPlacement::showing(Point origin)
{
    if (windowManager_ == nullptr || !windowManager_->compositorPlacesWindows()) {
        return;
    }
    wanted_ = origin;
    deadline_ = clock_.milliseconds() + kMapPlacementMs;
}

void MapPlacement::moved(NativeWindow window, Point origin)
{
    if (!wanted_) {
        return;
    }
    if (clock_.milliseconds() > deadline_) {
        wanted_.reset();
        return;
    }
    if (origin != *wanted_) {
        const Point wanted = *wanted_;
        // Asked once: a compositor that refuses again keeps the window where it wants it.
        wanted_.reset();
        windowManager_->requestPlace(window, wanted);
    }
}

#include "common/PlacementTracker.h"

bool PlacementTracker::moved(Point at, bool maximized)
{
    if (!mappingReported_) {
        mappingReported_ = true;
        return true;
    }
    if (!maximized) {
        position_ = at;
    }
    return false;
}

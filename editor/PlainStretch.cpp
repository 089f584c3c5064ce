#include "editor/PlainStretch.h"

#include "common/ZentrapError.h"

#include <cstdint>

int plainStretchIndex(int x, int sourceLength, int destinationLength)
{
    return static_cast<int>(static_cast<int64_t>(x) * sourceLength / destinationLength);
}

void PlainStretch(const Bitmap& source, Bitmap& destination)
{
    if (source.isEmpty()) {
        throw ZentrapError("Source bitmap too small");
    }
    Rect whole = {0, 0, destination.width(), destination.height()};
    Rect sourceRect = {0, 0, source.width(), source.height()};
    if (source.pixelFormat() == destination.pixelFormat()) {
        destination.stretchCopy(whole, source, sourceRect);
    } else {
        destination.stretchCopy(whole, source.converted(destination.pixelFormat()), sourceRect);
    }
}

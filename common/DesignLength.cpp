#include "common/DesignLength.h"

#include "common/Rounding.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kDesignPixelsPerInch = 96;

} // namespace

int scaledDesignLength(int pixelsAt96, int pixelsPerInch)
{
    if (pixelsPerInch <= 0) {
        pixelsPerInch = kDesignPixelsPerInch;
    }
    const int64_t scaled = roundHalfEven(static_cast<long double>(pixelsAt96) * pixelsPerInch / kDesignPixelsPerInch);
    return static_cast<int>(std::clamp<int64_t>(scaled, INT_MIN, INT_MAX));
}

Size scaledDesignSize(Size designed, int pixelsPerInch)
{
    return {scaledDesignLength(designed.width, pixelsPerInch), scaledDesignLength(designed.height, pixelsPerInch)};
}

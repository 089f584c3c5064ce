#include "formats/DitherEngine.h"

// The row array holds, for columns already passed, the finished sums for the next row and, for
// columns still ahead, the sums that the previous row left for this one. Column c lives at c + 1.

FloydSteinbergDitherer::FloydSteinbergDitherer(int rowWidth, ColorLookup& lookup) : DitherEngine(rowWidth, lookup)
{
    for (auto& row : rowErrors_) {
        row.assign(static_cast<size_t>(rowWidth) + 2, 0);
    }
}

ColorMatch FloydSteinbergDitherer::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    auto here = static_cast<size_t>(scanColumn_ + 1);
    auto behind = static_cast<size_t>(scanColumn_ + 1 - scanStep_);
    const uint8_t source[3] = {red, green, blue};
    ChannelErrors corrected;
    for (size_t c = 0; c < 3; ++c) {
        corrected[c] = CorrectedValue(source[c], rowErrors_[c][here] + nextError_[c], 16);
    }
    ColorMatch match =
        Map(static_cast<uint8_t>(corrected[0]), static_cast<uint8_t>(corrected[1]), static_cast<uint8_t>(corrected[2]));
    ChannelErrors error = MappingError(corrected, match);
    for (size_t c = 0; c < 3; ++c) {
        int32_t e = error[c];
        rowErrors_[c][behind] = belowPrevError_[c] + 3 * e;
        belowPrevError_[c] = belowError_[c] + 5 * e;
        belowError_[c] = e;
        nextError_[c] = 7 * e;
    }
    AdvanceColumn();
    return match;
}

void FloydSteinbergDitherer::NextRow()
{
    // The sum below the row's last pixel is complete only now.
    auto last = static_cast<size_t>(scanColumn_ - scanStep_ + 1);
    for (size_t c = 0; c < 3; ++c) {
        rowErrors_[c][last] = belowPrevError_[c];
    }
    ResetRunningValues();
    DitherEngine::NextRow();
}

void FloydSteinbergDitherer::ResetRunningValues()
{
    nextError_ = {};
    belowError_ = {};
    belowPrevError_ = {};
}

#include "formats/DitherEngine.h"

// The row array holds, for columns already passed, the finished sums for the next row and, for
// columns still ahead, the sums that the previous row left for this one. Column c lives at c + 1.

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int rowWidth, TColorLookup& lookup) : TDitherEngine(rowWidth, lookup)
{
    for (auto& row : FRowErrors) {
        row.assign(static_cast<size_t>(rowWidth) + 2, 0);
    }
}

ColorMatch TFloydSteinbergDitherer::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    auto here = static_cast<size_t>(FScanColumn + 1);
    auto behind = static_cast<size_t>(FScanColumn + 1 - FScanStep);
    const uint8_t source[3] = {red, green, blue};
    ChannelErrors corrected;
    for (size_t c = 0; c < 3; ++c) {
        corrected[c] = CorrectedValue(source[c], FRowErrors[c][here] + FNextError[c], 16);
    }
    ColorMatch match =
        Map(static_cast<uint8_t>(corrected[0]), static_cast<uint8_t>(corrected[1]), static_cast<uint8_t>(corrected[2]));
    ChannelErrors error = MappingError(corrected, match);
    for (size_t c = 0; c < 3; ++c) {
        int32_t e = error[c];
        FRowErrors[c][behind] = FBelowPrevError[c] + 3 * e;
        FBelowPrevError[c] = FBelowError[c] + 5 * e;
        FBelowError[c] = e;
        FNextError[c] = 7 * e;
    }
    AdvanceColumn();
    return match;
}

void TFloydSteinbergDitherer::NextRow()
{
    // The sum below the row's last pixel is complete only now.
    auto last = static_cast<size_t>(FScanColumn - FScanStep + 1);
    for (size_t c = 0; c < 3; ++c) {
        FRowErrors[c][last] = FBelowPrevError[c];
    }
    ResetRunningValues();
    TDitherEngine::NextRow();
}

void TFloydSteinbergDitherer::ResetRunningValues()
{
    FNextError = {};
    FBelowError = {};
    FBelowPrevError = {};
}

#include "formats/DitherErrorRows.h"

#include <algorithm>

DitherErrorRows::DitherErrorRows(int rowWidth, int rowsAhead, int margin)
    : rowCount_(rowsAhead + 1), margin_(margin),
      stride_(static_cast<size_t>(rowWidth) + 2 * static_cast<size_t>(margin)),
      terms_(static_cast<size_t>(rowCount_) * 3 * stride_, 0)
{
}

ChannelErrors DitherErrorRows::Corrected(int column, uint8_t red, uint8_t green, uint8_t blue, int divisor) const
{
    return {CorrectedValue(red, *At(0, 0, column), divisor), CorrectedValue(green, *At(0, 1, column), divisor),
            CorrectedValue(blue, *At(0, 2, column), divisor)};
}

void DitherErrorRows::Spread(int column, int scanStep, std::span<const KernelTap> kernel, const ChannelErrors& error)
{
    for (const KernelTap& tap : kernel) {
        int target = column + tap.offset * scanStep;
        for (int channel = 0; channel < 3; ++channel) {
            *At(tap.row, channel, target) += tap.weight * error[static_cast<size_t>(channel)];
        }
    }
}

void DitherErrorRows::NextRow()
{
    auto begin = terms_.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(current_) * 3 * stride_);
    std::fill(begin, begin + static_cast<std::ptrdiff_t>(3 * stride_), 0);
    current_ = (current_ + 1) % rowCount_;
}

// The error terms of a diffusing engine: one integer array per channel for the current row and each
// row ahead, with margins that take contributions falling beyond the image edges.
#pragma once

#include "formats/ColorLookup.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// Per channel: red, green, blue.
using ChannelErrors = std::array<int32_t, 3>;

// One weight of a kernel: `row` rows ahead (0 = the current row), `offset` pixels in scan direction.
struct KernelTap {
    int row;
    int offset;
    int weight;
};

class DitherErrorRows {
public:
    DitherErrorRows(int rowWidth, int rowsAhead, int margin);

    // Source value plus the rounded error that reached `column`, clamped to 0..255, per channel.
    ChannelErrors Corrected(int column, uint8_t red, uint8_t green, uint8_t blue, int divisor) const;
    // Adds weight x error at each tap, mirrored by `scanStep`.
    void Spread(int column, int scanStep, std::span<const KernelTap> kernel, const ChannelErrors& error);
    // The current row is used up: cleared, it becomes the farthest row ahead.
    void NextRow();

private:
    int32_t* At(int rowAhead, int channel, int column)
    {
        size_t row = static_cast<size_t>((current_ + rowAhead) % rowCount_);
        return &terms_[(row * 3 + static_cast<size_t>(channel)) * stride_ + static_cast<size_t>(margin_ + column)];
    }
    const int32_t* At(int rowAhead, int channel, int column) const
    {
        return const_cast<DitherErrorRows*>(this)->At(rowAhead, channel, column);
    }

    int rowCount_;
    int margin_;
    size_t stride_;
    int current_ = 0;
    std::vector<int32_t> terms_;
};

// The error left after mapping: corrected value minus the chosen palette colour.
inline ChannelErrors MappingError(const ChannelErrors& corrected, const ColorMatch& chosen)
{
    return {corrected[0] - chosen.red, corrected[1] - chosen.green, corrected[2] - chosen.blue};
}

// (E + divisor div 2) div divisor with truncation toward zero, added to the source and clamped.
inline int32_t CorrectedValue(uint8_t source, int32_t errorSum, int divisor)
{
    int32_t v = source + (errorSum + divisor / 2) / divisor;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

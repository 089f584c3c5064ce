#include "formats/DitherEngine.h"

#include <algorithm>
#include <cstdlib>

// Kernels for a row scanned left to right: {rows ahead, offset in scan direction, weight}.

namespace {

constexpr KernelTap kStucki[] = {
    {0, 1, 8},  {0, 2, 4},                                   //
    {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}, //
    {2, -2, 1}, {2, -1, 2}, {2, 0, 4}, {2, 1, 2}, {2, 2, 1}, //
};

constexpr KernelTap kSierra[] = {
    {0, 1, 5},  {0, 2, 3},                                   //
    {1, -2, 2}, {1, -1, 4}, {1, 0, 5}, {1, 1, 4}, {1, 2, 2}, //
    {2, -1, 2}, {2, 0, 3},  {2, 1, 2},                       //
};

constexpr KernelTap kJaJuNi[] = {
    {0, 1, 7},  {0, 2, 5},                                   //
    {1, -2, 3}, {1, -1, 5}, {1, 0, 7}, {1, 1, 5}, {1, 2, 3}, //
    {2, -2, 1}, {2, -1, 3}, {2, 0, 5}, {2, 1, 3}, {2, 2, 1}, //
};

constexpr KernelTap kSteveArche[] = {
    {0, 2, 32},                                       //
    {1, -3, 12}, {1, -1, 26}, {1, 1, 30}, {1, 3, 16}, //
    {2, -2, 12}, {2, 0, 26},  {2, 2, 12},             //
    {3, -3, 5},  {3, -1, 12}, {3, 1, 12}, {3, 3, 5},  //
};

constexpr KernelTap kBurkes[] = {
    {0, 1, 8},  {0, 2, 4},                                   //
    {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}, //
};

constexpr int weightSum(std::span<const KernelTap> kernel)
{
    int sum = 0;
    for (const KernelTap& tap : kernel) {
        sum += tap.weight;
    }
    return sum;
}

// How many rows below the current one a kernel reaches, and how far to either side.
int rowsAhead(std::span<const KernelTap> kernel)
{
    int rows = 0;
    for (const KernelTap& tap : kernel) {
        rows = std::max(rows, tap.row);
    }
    return rows;
}

int reach(std::span<const KernelTap> kernel)
{
    int columns = 0;
    for (const KernelTap& tap : kernel) {
        columns = std::max(columns, std::abs(tap.offset));
    }
    return columns;
}

static_assert(weightSum(kStucki) == 42 && weightSum(kSierra) == 32 && weightSum(kJaJuNi) == 48);
static_assert(weightSum(kSteveArche) == 200 && weightSum(kBurkes) == 32);

// Corrects the pixel by the errors that reached it and maps it; `error` receives what is left.
ColorMatch correctAndMap(const DitherErrorRows& errors, ColorLookup& lookup, int column, uint8_t red, uint8_t green,
                         uint8_t blue, int divisor, ChannelErrors& error)
{
    ChannelErrors corrected = errors.Corrected(column, red, green, blue, divisor);
    ColorMatch match = lookup.MapColor(static_cast<uint8_t>(corrected[0]), static_cast<uint8_t>(corrected[1]),
                                       static_cast<uint8_t>(corrected[2]));
    error = MappingError(corrected, match);
    return match;
}

} // namespace

std::span<const KernelTap> DiffusionKernel(int ditherMode)
{
    switch (ditherMode) {
    case 2:
        return kStucki;
    case 3:
        return kSierra;
    case 4:
        return kJaJuNi;
    case 5:
        return kSteveArche;
    case 6:
        return kBurkes;
    default:
        return {};
    }
}

KernelDitherer::KernelDitherer(int rowWidth, ColorLookup& lookup, std::span<const KernelTap> taps)
    : DitherEngine(rowWidth, lookup), taps_(taps), divisor_(weightSum(taps)),
      errors_(rowWidth, rowsAhead(taps), reach(taps))
{
}

ColorMatch KernelDitherer::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    ChannelErrors error;
    ColorMatch match = correctAndMap(errors_, lookup_, scanColumn_, red, green, blue, divisor_, error);
    errors_.Spread(scanColumn_, scanStep_, taps_, error);
    AdvanceColumn();
    return match;
}

void KernelDitherer::NextRow()
{
    errors_.NextRow();
    DitherEngine::NextRow();
}

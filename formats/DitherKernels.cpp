#include "formats/DitherEngine.h"

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

static_assert(weightSum(kStucki) == 42 && weightSum(kSierra) == 32 && weightSum(kJaJuNi) == 48);
static_assert(weightSum(kSteveArche) == 200 && weightSum(kBurkes) == 32);

// Corrects the pixel by the errors that reached it and maps it; `error` receives what is left.
ColorMatch correctAndMap(const DitherErrorRows& errors, TColorLookup& lookup, int column, uint8_t red, uint8_t green,
                         uint8_t blue, int divisor, ChannelErrors& error)
{
    ChannelErrors corrected = errors.Corrected(column, red, green, blue, divisor);
    ColorMatch match = lookup.MapColor(static_cast<uint8_t>(corrected[0]), static_cast<uint8_t>(corrected[1]),
                                       static_cast<uint8_t>(corrected[2]));
    error = MappingError(corrected, match);
    return match;
}

} // namespace

T5by3Ditherer::T5by3Ditherer(int rowWidth, TColorLookup& lookup, int divisor)
    : TDitherEngine(rowWidth, lookup), FErrors(rowWidth, 2, 2), FDivisor(divisor)
{
}

ColorMatch T5by3Ditherer::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    ChannelErrors error;
    ColorMatch match = correctAndMap(FErrors, FLookup, FScanColumn, red, green, blue, FDivisor, error);
    SpreadError(error);
    AdvanceColumn();
    return match;
}

void T5by3Ditherer::NextRow()
{
    FErrors.NextRow();
    TDitherEngine::NextRow();
}

void TStuckiDitherer::SpreadError(const ChannelErrors& error)
{
    FErrors.Spread(FScanColumn, FScanStep, kStucki, error);
}

void TSierraDitherer::SpreadError(const ChannelErrors& error)
{
    FErrors.Spread(FScanColumn, FScanStep, kSierra, error);
}

void TJaJuNiDitherer::SpreadError(const ChannelErrors& error)
{
    FErrors.Spread(FScanColumn, FScanStep, kJaJuNi, error);
}

TSteveArcheDitherer::TSteveArcheDitherer(int rowWidth, TColorLookup& lookup)
    : TDitherEngine(rowWidth, lookup), FErrors(rowWidth, 3, 3)
{
}

ColorMatch TSteveArcheDitherer::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    ChannelErrors error;
    ColorMatch match = correctAndMap(FErrors, FLookup, FScanColumn, red, green, blue, 200, error);
    FErrors.Spread(FScanColumn, FScanStep, kSteveArche, error);
    AdvanceColumn();
    return match;
}

void TSteveArcheDitherer::NextRow()
{
    FErrors.NextRow();
    TDitherEngine::NextRow();
}

TBurkesDitherer::TBurkesDitherer(int rowWidth, TColorLookup& lookup)
    : TDitherEngine(rowWidth, lookup), FErrors(rowWidth, 1, 2)
{
}

ColorMatch TBurkesDitherer::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    ChannelErrors error;
    ColorMatch match = correctAndMap(FErrors, FLookup, FScanColumn, red, green, blue, 32, error);
    FErrors.Spread(FScanColumn, FScanStep, kBurkes, error);
    AdvanceColumn();
    return match;
}

void TBurkesDitherer::NextRow()
{
    FErrors.NextRow();
    TDitherEngine::NextRow();
}

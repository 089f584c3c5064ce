#include "formats/DitherEngine.h"

#include "common/ZentrapError.h"

DitherEngine::DitherEngine(int rowWidth, ColorLookup& lookup)
    : lookup_(lookup), fastLookup_(dynamic_cast<FastColorLookup*>(&lookup)), rowWidth_(rowWidth)
{
}

ColorMatch DitherEngine::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    ColorMatch match = Map(red, green, blue);
    AdvanceColumn();
    return match;
}

void DitherEngine::NextRow()
{
    scanStep_ = -scanStep_;
    scanColumn_ = scanStep_ > 0 ? 0 : rowWidth_ - 1;
}

std::unique_ptr<DitherEngine> CreateDitherEngine(int ditherMode, int rowWidth, ColorLookup& lookup)
{
    switch (ditherMode) {
    case 0:
        return std::make_unique<DitherEngine>(rowWidth, lookup);
    case 1:
        return std::make_unique<FloydSteinbergDitherer>(rowWidth, lookup);
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        return std::make_unique<KernelDitherer>(rowWidth, lookup, DiffusionKernel(ditherMode));
    default:
        throw ZentrapError("Invalid dither mode");
    }
}

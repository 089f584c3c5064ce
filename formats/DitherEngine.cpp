#include "formats/DitherEngine.h"

#include "common/ZentrapError.h"

TDitherEngine::TDitherEngine(int rowWidth, TColorLookup& lookup)
    : FLookup(lookup), FFastLookup(dynamic_cast<TFastColorLookup*>(&lookup)), FRowWidth(rowWidth)
{
}

ColorMatch TDitherEngine::DitherPixel(uint8_t red, uint8_t green, uint8_t blue)
{
    ColorMatch match = Map(red, green, blue);
    AdvanceColumn();
    return match;
}

void TDitherEngine::NextRow()
{
    FScanStep = -FScanStep;
    FScanColumn = FScanStep > 0 ? 0 : FRowWidth - 1;
}

std::unique_ptr<TDitherEngine> CreateDitherEngine(int ditherMode, int rowWidth, TColorLookup& lookup)
{
    switch (ditherMode) {
    case 0:
        return std::make_unique<TDitherEngine>(rowWidth, lookup);
    case 1:
        return std::make_unique<TFloydSteinbergDitherer>(rowWidth, lookup);
    case 2:
        return std::make_unique<TStuckiDitherer>(rowWidth, lookup);
    case 3:
        return std::make_unique<TSierraDitherer>(rowWidth, lookup);
    case 4:
        return std::make_unique<TJaJuNiDitherer>(rowWidth, lookup);
    case 5:
        return std::make_unique<TSteveArcheDitherer>(rowWidth, lookup);
    case 6:
        return std::make_unique<TBurkesDitherer>(rowWidth, lookup);
    default:
        throw ZentrapError("Invalid dither mode");
    }
}

#include "formats/SystemPalettes.h"

namespace {

constexpr std::array<PaletteEntry, kDefaultPaletteSize> kDefaultPalette = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

constexpr std::array<uint8_t, 20> kHalftoneGreys = {12,  24,  36,  49,  61,  73,  85,  97,  109, 121,
                                                    134, 146, 158, 170, 182, 194, 206, 219, 231, 243};

constexpr int kCubeStart = 10;
constexpr int kGreyStart = kCubeStart + 216;
constexpr int kLastTenStart = kGreyStart + static_cast<int>(kHalftoneGreys.size());

constexpr std::array<PaletteEntry, kHalftonePaletteSize> makeHalftonePalette()
{
    std::array<PaletteEntry, kHalftonePaletteSize> table{};
    for (int i = 0; i < 10; ++i) {
        table[static_cast<size_t>(i)] = kDefaultPalette[static_cast<size_t>(i)];
        table[static_cast<size_t>(kLastTenStart + i)] = kDefaultPalette[static_cast<size_t>(10 + i)];
    }
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                table[static_cast<size_t>(kCubeStart + 36 * r + 6 * g + b)] = {
                    static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g), static_cast<uint8_t>(51 * b), 0};
            }
        }
    }
    for (size_t i = 0; i < kHalftoneGreys.size(); ++i) {
        uint8_t v = kHalftoneGreys[i];
        table[static_cast<size_t>(kGreyStart) + i] = {v, v, v, 0};
    }
    return table;
}

constexpr std::array<PaletteEntry, kHalftonePaletteSize> kHalftonePalette = makeHalftonePalette();

static_assert(kLastTenStart == 246);

} // namespace

const std::array<PaletteEntry, kDefaultPaletteSize>& defaultPalette()
{
    return kDefaultPalette;
}

const std::array<PaletteEntry, kHalftonePaletteSize>& halftonePalette()
{
    return kHalftonePalette;
}

#include "formats/LzwEncoder.h"

namespace {

constexpr uint32_t kLastAssignableCode = 4094;
constexpr int kMaxWidth = 12;
constexpr uint32_t kNoExtension = 0xFFFFFFFF;

} // namespace

void TLZWEncoder::EmitCode(uint32_t code)
{
    FPacker->PutCode(code, FWidth);
    if (code == FClearCode) {
        FWidth = FInitialWidth;
        FLimit = (1U << FWidth) - 1;
    } else if (FNextFree > FLimit) {
        ++FWidth;
        FLimit = FWidth == kMaxWidth ? 4096 : (1U << FWidth) - 1;
    }
}

void TLZWEncoder::StartTable()
{
    EmitCode(FClearCode);
    FTable.Clear();
    FLastExtension.fill(kNoExtension);
    FNextFree = FClearCode + 2;
}

int TLZWEncoder::FindExtension(uint32_t prefix, uint32_t pixel, int& slot)
{
    uint32_t last = FLastExtension[prefix];
    if ((last >> 16) == pixel) {
        return static_cast<int>(last & 0xFFFF);
    }
    int found = FTable.Lookup((prefix << 8) | pixel, slot);
    if (found >= 0) {
        FLastExtension[prefix] = (pixel << 16) | static_cast<uint32_t>(found);
    }
    return found;
}

void TLZWEncoder::Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize)
{
    FPacker = &packer;
    FClearCode = 1U << minCodeSize;
    FInitialWidth = minCodeSize + 1;
    FWidth = FInitialWidth;
    FLimit = (1U << FWidth) - 1;
    uint32_t endCode = FClearCode + 1;
    if (pixels.empty()) {
        EmitCode(endCode);
        return;
    }
    StartTable();
    uint32_t prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        uint32_t pixel = pixels[i];
        int slot = 0;
        int found = FindExtension(prefix, pixel, slot);
        if (found >= 0) {
            prefix = static_cast<uint32_t>(found);
            continue;
        }
        EmitCode(prefix);
        if (FNextFree > kLastAssignableCode) {
            StartTable();
        } else {
            FTable.StoreAt(slot, (prefix << 8) | pixel, static_cast<int>(FNextFree));
            FLastExtension[prefix] = (pixel << 16) | FNextFree;
            ++FNextFree;
        }
        prefix = pixel;
    }
    EmitCode(prefix);
    EmitCode(endCode);
}

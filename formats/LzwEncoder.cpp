#include "formats/LzwEncoder.h"

namespace {

constexpr uint32_t kLastAssignableCode = 4094;
constexpr int kMaxWidth = 12;

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
    FNextFree = FClearCode + 2;
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
        uint32_t key = (prefix << 8) | pixel;
        int slot = 0;
        int found = FTable.Lookup(key, slot);
        if (found >= 0) {
            prefix = static_cast<uint32_t>(found);
            continue;
        }
        EmitCode(prefix);
        prefix = pixel;
        if (FNextFree > kLastAssignableCode) {
            StartTable();
        } else {
            FTable.StoreAt(slot, key, static_cast<int>(FNextFree));
            ++FNextFree;
        }
    }
    EmitCode(prefix);
    EmitCode(endCode);
}

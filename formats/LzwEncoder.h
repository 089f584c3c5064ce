// True LZW coding of GIF image data with codes of up to 12 bits and a clear code when the table fills.
#pragma once

#include "formats/GifEncoder.h"
#include "formats/LzwHashTable.h"

#include <array>

class LzwEncoder final : public GifEncoder {
public:
    void Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize) override;

private:
    void EmitCode(uint32_t code);
    void StartTable();
    int FindExtension(uint32_t prefix, uint32_t pixel, int& slot);

    GifCodePacker* packer_ = nullptr;
    LzwHashTable table_;
    // Per prefix code, the pixel and code of its last extension looked up or stored: repeated
    // patterns find their code without probing. Entries never change until the table is cleared.
    std::array<uint32_t, 4096> lastExtension_{};
    uint32_t clearCode_ = 0;
    uint32_t nextFree_ = 0;
    int initialWidth_ = 0;
    int width_ = 0;
    uint32_t limit_ = 0;
};

// True LZW coding of GIF image data with codes of up to 12 bits and a clear code when the table fills.
#pragma once

#include "formats/GifEncoder.h"
#include "formats/LzwHashTable.h"

class TLZWEncoder final : public TGIFEncoder {
public:
    void Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize) override;

private:
    void EmitCode(uint32_t code);
    void StartTable();

    GifCodePacker* FPacker = nullptr;
    THashTable FTable;
    uint32_t FClearCode = 0;
    uint32_t FNextFree = 0;
    int FInitialWidth = 0;
    int FWidth = 0;
    uint32_t FLimit = 0;
};

// Packs variable-width codes least significant bit first into bytes and groups the bytes into the
// GIF's data sub-blocks of at most 255 bytes, one write to the sink per block.
#pragma once

#include "common/ByteSink.h"

#include <array>
#include <cstdint>

class GifCodePacker {
public:
    explicit GifCodePacker(ByteSink& sink) : FSink(sink) {}

    void PutCode(uint32_t code, int width)
    {
        FPending |= static_cast<uint64_t>(code) << FPendingBits;
        FPendingBits += width;
        while (FPendingBits >= 8) {
            PutByte(static_cast<uint8_t>(FPending));
            FPending >>= 8;
            FPendingBits -= 8;
        }
    }

    // Emits the remaining bits as a last byte and writes the partial block.
    void Finish();

private:
    void PutByte(uint8_t byte)
    {
        FBlock[++FBlock[0]] = byte;
        if (FBlock[0] == 255) {
            FlushBlock();
        }
    }
    void FlushBlock();

    ByteSink& FSink;
    uint64_t FPending = 0;
    int FPendingBits = 0;
    std::array<uint8_t, 256> FBlock{}; // length byte, then up to 255 data bytes
};

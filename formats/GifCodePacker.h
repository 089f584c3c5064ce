// Packs variable-width codes least significant bit first into bytes and groups the bytes into the
// GIF's data sub-blocks of at most 255 bytes, one write to the sink per block.
#pragma once

#include "common/ByteSink.h"

#include <array>
#include <cstdint>

class GifCodePacker {
public:
    explicit GifCodePacker(ByteSink& sink) : sink_(sink) {}

    void PutCode(uint32_t code, int width)
    {
        pending_ |= static_cast<uint64_t>(code) << pendingBits_;
        pendingBits_ += width;
        while (pendingBits_ >= 8) {
            PutByte(static_cast<uint8_t>(pending_));
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }

    // Emits the remaining bits as a last byte and writes the partial block.
    void Finish();

private:
    void PutByte(uint8_t byte)
    {
        block_[++block_[0]] = byte;
        if (block_[0] == 255) {
            FlushBlock();
        }
    }
    void FlushBlock();

    ByteSink& sink_;
    uint64_t pending_ = 0;
    int pendingBits_ = 0;
    std::array<uint8_t, 256> block_{}; // length byte, then up to 255 data bytes
};

// Run-length coding of GIF image data: literal pixel codes and codes that a decoder's own string
// table holds by then as runs of one pixel, cleared before that table could run out.
#pragma once

#include "formats/GifEncoder.h"

class RleEncoder final : public GifEncoder {
public:
    void Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize) override;

    // Codes needed for a run of `count` pixels out of growing runs 1, 2, 3, ... with at most
    // `repCodes` codes between clears.
    static uint64_t TriangleCount(uint64_t count, uint64_t repCodes);
    static uint64_t IntegerSquareRoot(uint64_t x);

private:
    void Clear();
    void OutputPlain(uint32_t code);
    void FlushRun();
    void FlushFromClear(uint64_t count);
    void FlushClearOrRepeat(uint64_t count);
    void FlushWithTable(uint64_t count);
    void ResetClearPoint();

    GifCodePacker* packer_ = nullptr;
    uint32_t clearCode_ = 0;
    uint32_t firstFree_ = 0;
    int initialWidth_ = 0;
    uint64_t bumpStart_ = 0;
    uint64_t clearStart_ = 0;
    uint64_t maxCodes_ = 0;

    uint64_t outCount_ = 0;
    uint64_t bumpPoint_ = 0;
    uint64_t clearPoint_ = 0;
    int width_ = 0;
    uint64_t tableMax_ = 0;
    uint32_t tablePixel_ = 0;
    bool justCleared_ = false;
    uint32_t runPixel_ = 0;
    uint64_t runLength_ = 0;
};

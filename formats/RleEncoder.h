// Run-length coding of GIF image data: literal pixel codes and codes that a decoder's own string
// table holds by then as runs of one pixel, cleared before that table could run out.
#pragma once

#include "formats/GifEncoder.h"

class TRLEEncoder final : public TGIFEncoder {
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

    GifCodePacker* FPacker = nullptr;
    uint32_t FClearCode = 0;
    uint32_t FFirstFree = 0;
    int FInitialWidth = 0;
    uint64_t FBumpStart = 0;
    uint64_t FClearStart = 0;
    uint64_t FMaxCodes = 0;

    uint64_t FOutCount = 0;
    uint64_t FBumpPoint = 0;
    uint64_t FClearPoint = 0;
    int FWidth = 0;
    uint64_t FTableMax = 0;
    uint32_t FTablePixel = 0;
    bool FJustCleared = false;
    uint32_t FRunPixel = 0;
    uint64_t FRunLength = 0;
};

#include "formats/RleEncoder.h"

uint64_t TRLEEncoder::IntegerSquareRoot(uint64_t x)
{
    if (x < 2) {
        return x;
    }
    uint64_t r = 1;
    for (uint64_t v = x; v != 0; v >>= 2) {
        r <<= 1;
    }
    for (;;) {
        uint64_t next = (x / r + r) / 2;
        if (next == r || next == r + 1) {
            return r;
        }
        r = next;
    }
}

uint64_t TRLEEncoder::TriangleCount(uint64_t count, uint64_t repCodes)
{
    uint64_t perRep = repCodes * (repCodes + 1) / 2;
    uint64_t cost = 0;
    if (perRep > 0) {
        cost += count / perRep * repCodes;
        count %= perRep;
    }
    if (count > 0) {
        uint64_t m = IntegerSquareRoot(count);
        while (m > 0 && m * (m + 1) >= 2 * count) {
            --m;
        }
        while (m * (m + 1) < 2 * count) {
            ++m;
        }
        cost += m;
    }
    return cost;
}

void TRLEEncoder::Clear()
{
    FPacker->PutCode(FClearCode, FWidth);
    FBumpPoint = FBumpStart;
    FClearPoint = FClearStart;
    FOutCount = 0;
    FTableMax = 0;
    FWidth = FInitialWidth;
    FJustCleared = true;
}

void TRLEEncoder::OutputPlain(uint32_t code)
{
    FJustCleared = false;
    FPacker->PutCode(code, FWidth);
    ++FOutCount;
    if (FOutCount >= FBumpPoint) {
        FBumpPoint += uint64_t{1} << FWidth;
        ++FWidth;
    }
    if (FOutCount >= FClearPoint) {
        Clear();
    }
}

void TRLEEncoder::ResetClearPoint()
{
    FClearPoint = FClearStart;
    if (FOutCount >= FClearPoint) {
        Clear();
    }
}

void TRLEEncoder::FlushFromClear(uint64_t count)
{
    FClearPoint = FMaxCodes;
    FTablePixel = FRunPixel;
    uint64_t k = 1;
    while (count > 0) {
        if (k == 1) {
            FTableMax = 1;
            OutputPlain(FRunPixel);
            count -= 1;
        } else if (count >= k) {
            FTableMax = k;
            OutputPlain(static_cast<uint32_t>(FFirstFree + k - 2));
            count -= k;
        } else {
            ++FTableMax;
            OutputPlain(count == 1 ? FRunPixel : static_cast<uint32_t>(FFirstFree + count - 2));
            count = 0;
        }
        k = FOutCount == 0 ? 1 : k + 1;
    }
    ResetClearPoint();
}

void TRLEEncoder::FlushClearOrRepeat(uint64_t count)
{
    if (1 + TriangleCount(count, FMaxCodes) < count) {
        Clear();
        FlushFromClear(count);
        return;
    }
    for (; count > 0; --count) {
        OutputPlain(FRunPixel);
    }
}

void TRLEEncoder::FlushWithTable(uint64_t count)
{
    uint64_t reps = count / FTableMax;
    uint64_t left = count % FTableMax;
    uint64_t extra = left > 0 ? 1 : 0;
    if (FOutCount + reps + extra > FMaxCodes) {
        reps = FMaxCodes - FOutCount;
        left = count - reps * FTableMax;
        extra = 1 + TriangleCount(left, FMaxCodes);
    }
    if (1 + TriangleCount(count, FMaxCodes) < reps + extra) {
        Clear();
        FlushFromClear(count);
        return;
    }
    FClearPoint = FMaxCodes;
    for (; reps > 0; --reps) {
        OutputPlain(static_cast<uint32_t>(FFirstFree + FTableMax - 2));
    }
    if (left > 0) {
        if (FJustCleared) {
            FlushFromClear(left);
        } else if (left == 1) {
            OutputPlain(FRunPixel);
        } else {
            OutputPlain(static_cast<uint32_t>(FFirstFree + left - 2));
        }
    }
    ResetClearPoint();
}

void TRLEEncoder::FlushRun()
{
    if (FRunLength == 1) {
        OutputPlain(FRunPixel);
    } else if (FJustCleared) {
        FlushFromClear(FRunLength);
    } else if (FTableMax > 1 && FTablePixel == FRunPixel) {
        FlushWithTable(FRunLength);
    } else {
        FlushClearOrRepeat(FRunLength);
    }
    FRunLength = 0;
}

void TRLEEncoder::Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize)
{
    FPacker = &packer;
    FClearCode = 1U << minCodeSize;
    FFirstFree = FClearCode + 2;
    FInitialWidth = minCodeSize + 1;
    FWidth = FInitialWidth;
    FBumpStart = FClearCode - 1;
    FClearStart = minCodeSize <= 3 ? 9 : FClearCode - 2;
    FMaxCodes = 4095 - (FClearCode + 2);
    uint32_t endCode = FClearCode + 1;
    if (pixels.empty()) {
        FPacker->PutCode(endCode, FWidth);
        return;
    }
    Clear();
    FRunLength = 0;
    for (uint8_t pixel : pixels) {
        if (FRunLength > 0 && pixel != FRunPixel) {
            FlushRun();
        }
        if (FRunLength > 0) {
            ++FRunLength;
        } else {
            FRunPixel = pixel;
            FRunLength = 1;
        }
    }
    FlushRun();
    FPacker->PutCode(endCode, FWidth);
}

#include "formats/RleEncoder.h"

uint64_t RleEncoder::IntegerSquareRoot(uint64_t x)
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

uint64_t RleEncoder::TriangleCount(uint64_t count, uint64_t repCodes)
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

void RleEncoder::Clear()
{
    packer_->PutCode(clearCode_, width_);
    bumpPoint_ = bumpStart_;
    clearPoint_ = clearStart_;
    outCount_ = 0;
    tableMax_ = 0;
    width_ = initialWidth_;
    justCleared_ = true;
}

void RleEncoder::OutputPlain(uint32_t code)
{
    justCleared_ = false;
    packer_->PutCode(code, width_);
    ++outCount_;
    if (outCount_ >= bumpPoint_) {
        bumpPoint_ += uint64_t{1} << width_;
        ++width_;
    }
    if (outCount_ >= clearPoint_) {
        Clear();
    }
}

void RleEncoder::ResetClearPoint()
{
    clearPoint_ = clearStart_;
    if (outCount_ >= clearPoint_) {
        Clear();
    }
}

void RleEncoder::FlushFromClear(uint64_t count)
{
    clearPoint_ = maxCodes_;
    tablePixel_ = runPixel_;
    uint64_t k = 1;
    while (count > 0) {
        if (k == 1) {
            tableMax_ = 1;
            OutputPlain(runPixel_);
            count -= 1;
        } else if (count >= k) {
            tableMax_ = k;
            OutputPlain(static_cast<uint32_t>(firstFree_ + k - 2));
            count -= k;
        } else {
            ++tableMax_;
            OutputPlain(count == 1 ? runPixel_ : static_cast<uint32_t>(firstFree_ + count - 2));
            count = 0;
        }
        k = outCount_ == 0 ? 1 : k + 1;
    }
    ResetClearPoint();
}

void RleEncoder::FlushClearOrRepeat(uint64_t count)
{
    if (1 + TriangleCount(count, maxCodes_) < count) {
        Clear();
        FlushFromClear(count);
        return;
    }
    for (; count > 0; --count) {
        OutputPlain(runPixel_);
    }
}

void RleEncoder::FlushWithTable(uint64_t count)
{
    uint64_t reps = count / tableMax_;
    uint64_t left = count % tableMax_;
    uint64_t extra = left > 0 ? 1 : 0;
    if (outCount_ + reps + extra > maxCodes_) {
        reps = maxCodes_ - outCount_;
        left = count - reps * tableMax_;
        extra = 1 + TriangleCount(left, maxCodes_);
    }
    if (1 + TriangleCount(count, maxCodes_) < reps + extra) {
        Clear();
        FlushFromClear(count);
        return;
    }
    clearPoint_ = maxCodes_;
    for (; reps > 0; --reps) {
        OutputPlain(static_cast<uint32_t>(firstFree_ + tableMax_ - 2));
    }
    if (left > 0) {
        if (justCleared_) {
            FlushFromClear(left);
        } else if (left == 1) {
            OutputPlain(runPixel_);
        } else {
            OutputPlain(static_cast<uint32_t>(firstFree_ + left - 2));
        }
    }
    ResetClearPoint();
}

void RleEncoder::FlushRun()
{
    if (runLength_ == 1) {
        OutputPlain(runPixel_);
    } else if (justCleared_) {
        FlushFromClear(runLength_);
    } else if (tableMax_ > 1 && tablePixel_ == runPixel_) {
        FlushWithTable(runLength_);
    } else {
        FlushClearOrRepeat(runLength_);
    }
    runLength_ = 0;
}

void RleEncoder::Encode(GifCodePacker& packer, std::span<const uint8_t> pixels, int minCodeSize)
{
    packer_ = &packer;
    clearCode_ = 1U << minCodeSize;
    firstFree_ = clearCode_ + 2;
    initialWidth_ = minCodeSize + 1;
    width_ = initialWidth_;
    bumpStart_ = clearCode_ - 1;
    clearStart_ = minCodeSize <= 3 ? 9 : clearCode_ - 2;
    maxCodes_ = 4095 - (clearCode_ + 2);
    uint32_t endCode = clearCode_ + 1;
    if (pixels.empty()) {
        packer_->PutCode(endCode, width_);
        return;
    }
    Clear();
    runLength_ = 0;
    for (uint8_t pixel : pixels) {
        if (runLength_ > 0 && pixel != runPixel_) {
            FlushRun();
        }
        if (runLength_ > 0) {
            ++runLength_;
        } else {
            runPixel_ = pixel;
            runLength_ = 1;
        }
    }
    FlushRun();
    packer_->PutCode(endCode, width_);
}

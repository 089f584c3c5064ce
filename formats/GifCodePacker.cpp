#include "formats/GifCodePacker.h"

void GifCodePacker::FlushBlock()
{
    if (block_[0] > 0) {
        sink_.write(block_.data(), static_cast<size_t>(block_[0]) + 1);
        block_[0] = 0;
    }
}

void GifCodePacker::Finish()
{
    if (pendingBits_ > 0) {
        PutByte(static_cast<uint8_t>(pending_));
        pending_ = 0;
        pendingBits_ = 0;
    }
    FlushBlock();
}

#include "formats/GifCodePacker.h"

void GifCodePacker::FlushBlock()
{
    if (FBlock[0] > 0) {
        FSink.write(FBlock.data(), static_cast<size_t>(FBlock[0]) + 1);
        FBlock[0] = 0;
    }
}

void GifCodePacker::Finish()
{
    if (FPendingBits > 0) {
        PutByte(static_cast<uint8_t>(FPending));
        FPending = 0;
        FPendingBits = 0;
    }
    FlushBlock();
}

#include "formats/GifExtension.h"

void TGIFExtension::Write(ByteSink& sink) const
{
    const uint8_t intro[2] = {0x21, Label()};
    sink.write(intro, sizeof intro);
    WriteBody(sink);
}

void TGIFGraphicControlExtension::WriteBody(ByteSink& sink) const
{
    const uint8_t body[6] = {
        4, FPacked, static_cast<uint8_t>(FDelay & 0xFF), static_cast<uint8_t>(FDelay >> 8), FTransparentColorIndex, 0};
    sink.write(body, sizeof body);
}

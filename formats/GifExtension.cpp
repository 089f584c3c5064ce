#include "formats/GifExtension.h"

void GifExtension::Write(ByteSink& sink) const
{
    const uint8_t intro[2] = {0x21, Label()};
    sink.write(intro, sizeof intro);
    WriteBody(sink);
}

void GifGraphicControlExtension::WriteBody(ByteSink& sink) const
{
    const uint8_t body[6] = {
        4, packed_, static_cast<uint8_t>(delay_ & 0xFF), static_cast<uint8_t>(delay_ >> 8), transparentColorIndex_, 0};
    sink.write(body, sizeof body);
}

#include "platform/ScreenRowConverter.h"

#include <bit>
#include <cstring>

void bgrxToBgr(const uint8_t* src, uint8_t* dst, int width)
{
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight pixels per step: four 64-bit loads become three 64-bit stores.
        for (; x + 8 <= width; x += 8, src += 32, dst += 24) {
            uint64_t a, b, c, d;
            std::memcpy(&a, src, 8);
            std::memcpy(&b, src + 8, 8);
            std::memcpy(&c, src + 16, 8);
            std::memcpy(&d, src + 24, 8);
            uint64_t q0 = (a & 0xFFFFFFu) | ((a >> 8) & 0xFFFFFF000000u) | (b << 48);
            uint64_t q1 = ((b >> 16) & 0xFFu) | (((b >> 32) & 0xFFFFFFu) << 8) | ((c & 0xFFFFFFu) << 32) |
                          (((c >> 32) & 0xFFu) << 56);
            uint64_t q2 = ((c >> 40) & 0xFFFFu) | ((d & 0xFFFFFFu) << 16) | (((d >> 32) & 0xFFFFFFu) << 40);
            std::memcpy(dst, &q0, 8);
            std::memcpy(dst + 8, &q1, 8);
            std::memcpy(dst + 16, &q2, 8);
        }
    }
    for (; x < width; ++x, src += 4, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
    }
}

ScreenRowConverter::ScreenRowConverter(const ScreenPixelLayout& layout, const std::vector<PaletteEntry>& colormap)
    : layout_(layout)
{
    int bpp = layout.bitsPerPixel;
    supported_ = bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    if (layout.indexed) {
        supported_ = supported_ && bpp == 8;
        for (size_t i = 0; i < colormap.size() && i < lookup_.size(); ++i) {
            lookup_[i] = {colormap[i].blue, colormap[i].green, colormap[i].red};
        }
        return;
    }
    red_ = channelOf(layout.redMask);
    green_ = channelOf(layout.greenMask);
    blue_ = channelOf(layout.blueMask);
    bgrxFastPath_ = bpp == 32 && !layout.msbFirst && layout.redMask == 0xFF0000 && layout.greenMask == 0xFF00 &&
                    layout.blueMask == 0xFF;
}

ScreenRowConverter::Channel ScreenRowConverter::channelOf(uint32_t mask)
{
    if (mask == 0) {
        return {};
    }
    int shift = std::countr_zero(mask);
    return {mask, shift, mask >> shift};
}

uint8_t ScreenRowConverter::scaled(uint32_t pixel, const Channel& channel)
{
    if (channel.maximum == 0) {
        return 0;
    }
    uint32_t v = (pixel & channel.mask) >> channel.shift;
    // Stretch to 0..255 so that the channel's full value is white (5 bits: 31 -> 255).
    return static_cast<uint8_t>((static_cast<uint64_t>(v) * 255 + channel.maximum / 2) / channel.maximum);
}

uint32_t ScreenRowConverter::pixelAt(const uint8_t* src, int x) const
{
    int bytes = layout_.bitsPerPixel / 8;
    const uint8_t* p = src + static_cast<size_t>(x) * static_cast<size_t>(bytes);
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        int shift = layout_.msbFirst ? 8 * (bytes - 1 - i) : 8 * i;
        value |= static_cast<uint32_t>(p[i]) << shift;
    }
    return value;
}

void ScreenRowConverter::convert(const uint8_t* src, uint8_t* dst, int width) const
{
    if (bgrxFastPath_) {
        bgrxToBgr(src, dst, width);
        return;
    }
    if (layout_.indexed) {
        for (int x = 0; x < width; ++x) {
            std::memcpy(dst + 3 * static_cast<size_t>(x), lookup_[src[x]].data(), 3);
        }
        return;
    }
    for (int x = 0; x < width; ++x) {
        uint32_t pixel = pixelAt(src, x);
        uint8_t* out = dst + 3 * static_cast<size_t>(x);
        out[0] = scaled(pixel, blue_);
        out[1] = scaled(pixel, green_);
        out[2] = scaled(pixel, red_);
    }
}

#include "platform/ScreenRowConverter.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

#if defined(__x86_64__) || defined(__i386__)
// Sixteen pixels per step with byte shuffles: 64 bytes in, 48 bytes out.
__attribute__((target("ssse3"))) int bgrxToBgrShuffled(const uint8_t* src, uint8_t* dst, int width)
{
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 16 <= width; x += 16, src += 64, dst += 48) {
        __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src)), pack);
        __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16)), pack);
        __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32)), pack);
        __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 48)), pack);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16),
                         _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32),
                         _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    return x;
}

const bool kHasSsse3 = __builtin_cpu_supports("ssse3");
#endif

} // namespace

void bgrxToBgr(const uint8_t* src, uint8_t* dst, int width)
{
    int x = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (kHasSsse3) {
        x = bgrxToBgrShuffled(src, dst, width);
        src += 4 * static_cast<size_t>(x);
        dst += 3 * static_cast<size_t>(x);
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        // Eight pixels per step: four 64-bit loads become three 64-bit stores.
        for (; x + 8 <= width; x += 8, src += 32, dst += 24) { // without SSSE3, and the tail
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

#include "formats/BmpChannelOrder.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZENTRAP_HAVE_SSSE3_PATH 1
#endif

namespace {

void scalarRow(const uint8_t* in, uint8_t* out, size_t width, size_t step)
{
    for (size_t x = 0; x < width; ++x, in += step, out += 3) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    }
}

#ifdef ZENTRAP_HAVE_SSSE3_PATH

// Five 24-bit pixels per 16-byte load: the shuffle reverses each pixel's bytes; the 16th output byte
// is scratch that the next step overwrites, so the loop stops while 16 bytes remain on both sides.
__attribute__((target("ssse3"))) size_t ssse3Row24(const uint8_t* in, uint8_t* out, size_t width)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    size_t x = 0;
    for (; (x + 6) <= width; x += 5) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(v, order));
    }
    return x;
}

// Four 32-bit pixels per load give 12 output bytes; the 4 scratch bytes are overwritten next step.
__attribute__((target("ssse3"))) size_t ssse3Row32(const uint8_t* in, uint8_t* out, size_t width)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    size_t x = 0;
    for (; (x + 6) <= width; x += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(v, order));
    }
    return x;
}

bool haveSsse3()
{
    static const bool supported = __builtin_cpu_supports("ssse3");
    return supported;
}

#endif

} // namespace

void bgrRowToRgb(const uint8_t* in, uint8_t* out, size_t width, int bitsPerPixel)
{
    const size_t step = bitsPerPixel == 32 ? 4 : 3;
    size_t done = 0;
#ifdef ZENTRAP_HAVE_SSSE3_PATH
    if (haveSsse3()) {
        done = step == 4 ? ssse3Row32(in, out, width) : ssse3Row24(in, out, width);
    }
#endif
    scalarRow(in + step * done, out + 3 * done, width - done, step);
}

#include "editor/Rotation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZENTRAP_ROTATION_X86 1
#endif

namespace {

constexpr size_t kBytesPerPixel = 3;
// Tiles of 32 × 32 pixels keep both the rows read and the rows written in the first-level cache.
constexpr int kTile = 32;

class RowProgress {
public:
    RowProgress(const StatusProgress& progress, int sourceHeight)
        : progress_(progress), step_(static_cast<long double>(progress.panelWidth) / sourceHeight)
    {
    }
    // Runs before source row y; only every second row moves the bar.
    void beforeRow(int y) const
    {
        if ((y & 1) != 0 && progress_.show) {
            progress_(0, static_cast<int>(std::trunc(y * step_)));
        }
    }
    void beforeRows(int first, int end) const
    {
        for (int y = first; y < end; ++y) {
            beforeRow(y);
        }
    }

private:
    const StatusProgress& progress_;
    long double step_;
};

void copyPixel(uint8_t* to, const uint8_t* from)
{
    std::memcpy(to, from, kBytesPerPixel);
}

// 90° (clockwise) and 270° move source row y to destination column Hs − 1 − y or y, read forwards
// or backwards; done tile by tile so that neither side walks the whole image per row.
void rotateQuarter(const Bitmap& source, Bitmap& destination, bool clockwise, const RowProgress& rows)
{
    int ws = source.width();
    int hs = source.height();
    for (int y0 = 0; y0 < hs; y0 += kTile) {
        int y1 = std::min(hs, y0 + kTile);
        rows.beforeRows(y0, y1);
        for (int x0 = 0; x0 < ws; x0 += kTile) {
            int x1 = std::min(ws, x0 + kTile);
            for (int y = y0; y < y1; ++y) {
                const uint8_t* in = source.row(y);
                size_t column = static_cast<size_t>(clockwise ? hs - 1 - y : y) * kBytesPerPixel;
                for (int x = x0; x < x1; ++x) {
                    int destinationRow = clockwise ? x : ws - 1 - x;
                    copyPixel(destination.row(destinationRow) + column, in + static_cast<size_t>(x) * kBytesPerPixel);
                }
            }
        }
    }
}

// Source pixel x goes to Ws − 1 − x of the destination row.
void reversePixels(const uint8_t* in, uint8_t* out, int width, int first, int end)
{
    for (int x = first; x < end; ++x) {
        copyPixel(out + static_cast<size_t>(width - 1 - x) * kBytesPerPixel,
                  in + static_cast<size_t>(x) * kBytesPerPixel);
    }
}

#ifdef ZENTRAP_ROTATION_X86

bool reverseShuffleAvailable()
{
    static const bool available = __builtin_cpu_supports("ssse3");
    return available;
}

// Byte shuffles that reverse sixteen pixels (48 bytes, three vectors): output vector o takes from input
// vector i the bytes that masks[o][i] selects. Output byte k is byte k % 3 of pixel 15 − k / 3.
struct ReverseMasks {
    alignas(16) uint8_t bytes[3][3][16];
};

constexpr ReverseMasks makeReverseMasks()
{
    ReverseMasks m{};
    for (int out = 0; out < 3; ++out) {
        for (int in = 0; in < 3; ++in) {
            for (int k = 0; k < 16; ++k) {
                int o = out * 16 + k;
                int from = 3 * (15 - o / 3) + o % 3;
                m.bytes[out][in][k] = from / 16 == in ? static_cast<uint8_t>(from % 16) : uint8_t{0x80};
            }
        }
    }
    return m;
}

constexpr ReverseMasks kReverseMasks = makeReverseMasks();

constexpr bool selectsNothing(const uint8_t (&mask)[16])
{
    for (uint8_t b : mask) {
        if (b != 0x80) {
            return false;
        }
    }
    return true;
}
static_assert(selectsNothing(kReverseMasks.bytes[0][0]) && selectsNothing(kReverseMasks.bytes[2][2]));

__attribute__((target("ssse3"))) __m128i reverseMask(int out, int in)
{
    return _mm_load_si128(reinterpret_cast<const __m128i*>(kReverseMasks.bytes[out][in]));
}

// Sixteen pixels per step with three loads and three stores; the first output vector draws on the
// last two input vectors only, the last one on the first two.
__attribute__((target("ssse3"))) void reverseRowByShuffles(const uint8_t* in, uint8_t* out, int width)
{
    const __m128i m01 = reverseMask(0, 1), m02 = reverseMask(0, 2);
    const __m128i m10 = reverseMask(1, 0), m11 = reverseMask(1, 1), m12 = reverseMask(1, 2);
    const __m128i m20 = reverseMask(2, 0), m21 = reverseMask(2, 1);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const auto* from = reinterpret_cast<const __m128i*>(in + static_cast<size_t>(x) * kBytesPerPixel);
        auto* to = reinterpret_cast<__m128i*>(out + static_cast<size_t>(width - 16 - x) * kBytesPerPixel);
        __m128i i0 = _mm_loadu_si128(from);
        __m128i i1 = _mm_loadu_si128(from + 1);
        __m128i i2 = _mm_loadu_si128(from + 2);
        _mm_storeu_si128(to, _mm_or_si128(_mm_shuffle_epi8(i1, m01), _mm_shuffle_epi8(i2, m02)));
        _mm_storeu_si128(to + 1, _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(i0, m10), _mm_shuffle_epi8(i1, m11)),
                                              _mm_shuffle_epi8(i2, m12)));
        _mm_storeu_si128(to + 2, _mm_or_si128(_mm_shuffle_epi8(i0, m20), _mm_shuffle_epi8(i1, m21)));
    }
    reversePixels(in, out, width, x, width);
}

#endif

void reverseRow(const uint8_t* in, uint8_t* out, int width)
{
#ifdef ZENTRAP_ROTATION_X86
    if (reverseShuffleAvailable()) {
        reverseRowByShuffles(in, out, width);
        return;
    }
#endif
    reversePixels(in, out, width, 0, width);
}

void rotateHalf(const Bitmap& source, Bitmap& destination, const RowProgress& rows)
{
    int hs = source.height();
    for (int y = 0; y < hs; ++y) {
        rows.beforeRow(y);
        reverseRow(source.row(y), destination.row(hs - 1 - y), source.width());
    }
}

} // namespace

void RotateBitmap(const Bitmap& source, Bitmap& destination, RotationAngle angle, const StatusProgress& progress)
{
    Bitmap copy;
    const Bitmap* input = &source;
    if (source.pixelFormat() != PixelFormat::Bpp24) {
        copy = source.converted(PixelFormat::Bpp24);
        input = &copy;
    } else if (&source == &destination) {
        copy = source;
        input = &copy;
    }
    destination.setPixelFormat(PixelFormat::Bpp24);
    int ws = input->width();
    int hs = input->height();
    if (angle == RotationAngle::Rotate180) {
        destination.setSize(ws, hs);
    } else {
        destination.setSize(hs, ws);
    }
    if (input->isEmpty()) {
        return;
    }
    RowProgress rows(progress, hs);
    if (angle == RotationAngle::Rotate180) {
        rotateHalf(*input, destination, rows);
    } else {
        rotateQuarter(*input, destination, angle == RotationAngle::Rotate90, rows);
    }
}

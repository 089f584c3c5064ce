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

#ifdef ZENTRAP_ROTATION_X86

bool reverseShuffleAvailable()
{
    return __builtin_cpu_supports("ssse3");
}

// Sixteen pixels (48 bytes) in reverse order: each output vector takes its bytes from up to two of
// the three input vectors, placed by byte shuffles.
__attribute__((target("ssse3"))) void reverseSixteenPixels(const uint8_t* from, uint8_t* to)
{
    // Output byte o (0..47) is byte b of pixel 15 − o / 3, i.e. input byte 3 × (15 − o / 3) + o % 3.
    alignas(16) static const auto masks = [] {
        struct Masks {
            uint8_t bytes[3][3][16];
        } m{};
        for (int out = 0; out < 3; ++out) {
            for (int in = 0; in < 3; ++in) {
                for (int k = 0; k < 16; ++k) {
                    int o = out * 16 + k;
                    int source = 3 * (15 - o / 3) + o % 3;
                    m.bytes[out][in][k] = (source / 16 == in) ? static_cast<uint8_t>(source % 16) : 0x80;
                }
            }
        }
        return m;
    }();
    __m128i in[3];
    for (int i = 0; i < 3; ++i) {
        in[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16 * i));
    }
    for (int out = 0; out < 3; ++out) {
        __m128i v = _mm_setzero_si128();
        for (int i = 0; i < 3; ++i) {
            __m128i mask = _mm_load_si128(reinterpret_cast<const __m128i*>(masks.bytes[out][i]));
            v = _mm_or_si128(v, _mm_shuffle_epi8(in[i], mask));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16 * out), v);
    }
}

#endif

// Source pixel x goes to Ws − 1 − x of the destination row.
void reverseRow(const uint8_t* in, uint8_t* out, int width)
{
    int x = 0;
#ifdef ZENTRAP_ROTATION_X86
    if (reverseShuffleAvailable()) {
        for (; x + 16 <= width; x += 16) {
            reverseSixteenPixels(in + static_cast<size_t>(x) * kBytesPerPixel,
                                 out + static_cast<size_t>(width - 16 - x) * kBytesPerPixel);
        }
    }
#endif
    for (; x < width; ++x) {
        copyPixel(out + static_cast<size_t>(width - 1 - x) * kBytesPerPixel,
                  in + static_cast<size_t>(x) * kBytesPerPixel);
    }
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

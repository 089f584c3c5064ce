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

// Four pixels per step: a 16-byte load, one byte shuffle that reverses the first 12 bytes by pixel,
// a 16-byte store. The 4 spare bytes of a store land on the next destination group, written later,
// so the groups run from the end of the source row and the edges are left to the plain loop.
__attribute__((target("ssse3"))) void reverseRowByShuffles(const uint8_t* in, uint8_t* out, int width)
{
    const __m128i mask = _mm_setr_epi8(9, 10, 11, 6, 7, 8, 3, 4, 5, 0, 1, 2, -1, -1, -1, -1);
    // Loads of pixels x … x + 5 and stores at Ws − 4 − x … Ws + 1 − x stay inside both rows.
    constexpr int kFirst = 2;
    int groups = width >= kFirst + 6 ? (width - 6 - kFirst) / 4 + 1 : 0;
    for (int g = groups - 1; g >= 0; --g) {
        int x = kFirst + 4 * g;
        __m128i pixels =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + static_cast<size_t>(x) * kBytesPerPixel));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + static_cast<size_t>(width - 4 - x) * kBytesPerPixel),
                         _mm_shuffle_epi8(pixels, mask));
    }
    reversePixels(in, out, width, 0, std::min(kFirst, width));
    reversePixels(in, out, width, kFirst + 4 * groups, width);
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

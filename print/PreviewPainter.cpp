#include "print/PreviewPainter.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cstring>

namespace {

Rect clippedTo(const Bitmap& buffer, const Rect& r)
{
    return r.intersected({0, 0, buffer.width(), buffer.height()});
}

// The 8 x 8 chequer pattern: black where x + y is even, white where odd.
bool patternWhite(int x, int y)
{
    return ((x + y) & 1) != 0;
}

// The image area combined with the chequer by OR: white pattern pixels turn white, black ones
// leave the picture as it was. The pattern starts at the area's own top-left corner.
void orChequer(Bitmap& buffer, const Rect& area)
{
    Rect r = clippedTo(buffer, area);
    for (int y = r.top; y < r.bottom; ++y) {
        uint8_t* row = buffer.row(y);
        int first = r.left + (patternWhite(r.left - area.left, y - area.top) ? 0 : 1);
        for (int x = first; x < r.right; x += 2) {
            std::memset(row + static_cast<size_t>(x) * 3, 0xFF, 3);
        }
    }
}

void setPixel(Bitmap& buffer, int x, int y, ColorRef color)
{
    if (x >= 0 && y >= 0 && x < buffer.width() && y < buffer.height()) {
        uint8_t* p = buffer.row(y) + static_cast<size_t>(x) * 3;
        p[0] = blueOf(color);
        p[1] = greenOf(color);
        p[2] = redOf(color);
    }
}

// A dotted outline through the corners top-left, bottom-left, bottom-right, top-right and back;
// each segment leaves out its end point, and the dots run on from one segment to the next.
void dottedOutline(Bitmap& buffer, const Rect& r, ColorRef color)
{
    const Point corners[] = {
        {r.left, r.top}, {r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, {r.left, r.top}};
    constexpr int kOn = 2;
    constexpr int kPeriod = 4;
    int64_t step = 0;
    for (int i = 0; i < 4; ++i) {
        Point from = corners[i];
        Point to = corners[i + 1];
        int dx = (to.x > from.x) - (to.x < from.x);
        int dy = (to.y > from.y) - (to.y < from.y);
        int64_t length = std::max(std::abs(int64_t(to.x) - from.x), std::abs(int64_t(to.y) - from.y));
        // Only the part inside the buffer is walked; the dots' phase still counts the whole line.
        int64_t first = 0;
        int64_t last = length;
        auto limit = [&](int start, int direction, int size) {
            if (direction == 0) {
                if (start < 0 || start >= size) {
                    last = first;
                }
                return;
            }
            int64_t a = direction > 0 ? -int64_t(start) : int64_t(start) - (size - 1);
            int64_t b = direction > 0 ? int64_t(size) - start : int64_t(start) + 1;
            first = std::max(first, a);
            last = std::min(last, b);
        };
        limit(from.x, dx, buffer.width());
        limit(from.y, dy, buffer.height());
        for (int64_t n = first; n < last; ++n) {
            if ((step + n) % kPeriod < kOn) {
                setPixel(buffer, static_cast<int>(from.x + dx * n), static_cast<int>(from.y + dy * n), color);
            }
        }
        step += length;
    }
}

// A one-pixel frame just inside `r`, painted with the chequer aligned to the buffer.
void chequerFrame(Bitmap& buffer, const Rect& r)
{
    if (r.isEmpty()) {
        return;
    }
    auto plot = [&](int x, int y) { setPixel(buffer, x, y, patternWhite(x, y) ? kSheetWhite : 0); };
    Rect c = clippedTo(buffer, r);
    for (int x = c.left; x < c.right; ++x) {
        plot(x, r.top);
        plot(x, r.bottom - 1);
    }
    for (int y = c.top; y < c.bottom; ++y) {
        plot(r.left, y);
        plot(r.right - 1, y);
    }
}

int imagePixel(double inches, double screenPpi, double zoom, int limit)
{
    return std::clamp(static_cast<int>(roundHalfEven(std::clamp(inches * screenPpi / zoom, -1e9, 1e9))), 0, limit);
}

// The part of the image inside the printable area, stretched from its exact source rectangle.
void printablePart(Bitmap& buffer, const PreviewMapping& map, const PageLayout& layout, const Bitmap& image,
                   double screenPpi)
{
    const InchRect& im = layout.image;
    const InchRect& pr = layout.printable;
    InchRect visible{std::max(im.left, pr.left), std::max(im.top, pr.top), std::min(im.right, pr.right),
                     std::min(im.bottom, pr.bottom)};
    if (!(visible.left < visible.right && visible.top < visible.bottom)) {
        return;
    }
    Rect source{imagePixel(visible.left - im.left, screenPpi, layout.zoom, image.width()),
                imagePixel(visible.top - im.top, screenPpi, layout.zoom, image.height()),
                imagePixel(visible.right - im.left, screenPpi, layout.zoom, image.width()),
                imagePixel(visible.bottom - im.top, screenPpi, layout.zoom, image.height())};
    if (!source.isEmpty()) {
        buffer.stretchCopy(map.toPreview(visible), image, source);
    }
}

} // namespace

void paintPreview(Bitmap& buffer, Size box, const SheetGeometry& sheet, const PageLayout& layout, const Bitmap& image,
                  double screenPpi, const PreviewOptions& options)
{
    if (buffer.width() != box.width || buffer.height() != box.height || buffer.pixelFormat() != PixelFormat::Bpp24) {
        buffer = Bitmap(box.width, box.height, PixelFormat::Bpp24);
    }
    buffer.fillRect({0, 0, box.width, box.height}, options.background);
    PreviewMapping map(box, sheet.paperWidth, sheet.paperHeight);

    InchRect paper{0, 0, sheet.paperWidth, sheet.paperHeight};
    double s = shadowOffset(sheet.paperWidth, sheet.paperHeight);
    buffer.fillRect(map.toPreview(InchRect{s, s, sheet.paperWidth + s, sheet.paperHeight + s}), 0);

    if (options.showMargins) {
        buffer.fillRect(map.toPreview(paper), kSheetGrey);
        buffer.fillRect(map.toPreview(layout.printable), kSheetWhite);
    } else {
        buffer.fillRect(map.toPreview(paper), kSheetWhite);
    }

    Rect imageArea = map.toPreview(layout.image);
    orChequer(buffer, imageArea);
    if (image.pixelFormat() == PixelFormat::Bpp24 && !image.isEmpty()) {
        printablePart(buffer, map, layout, image, screenPpi);
    }
    if (options.showMargins) {
        dottedOutline(buffer, map.toPreview(layout.printable), kMarginGreen);
    }
    if (options.showFrame) {
        chequerFrame(buffer, imageArea);
    }
}

#include "capture/ScreenGrabber.h"

#include <algorithm>
#include <cstdint>

namespace {

void prepareBitmap(Bitmap& bitmap, int width, int height)
{
    // Screen pixels replace every pixel, so a bitmap of another shape starts afresh instead of
    // being resized and converted step by step.
    if (bitmap.width() != width || bitmap.height() != height || bitmap.pixelFormat() != PixelFormat::Bpp24) {
        bitmap = Bitmap(width, height, PixelFormat::Bpp24);
    }
    bitmap.detachSystemPalette();
}

bool lies(int64_t value, int64_t first, int64_t count)
{
    return value >= first && value < first + count;
}

uint8_t over(uint8_t source, uint8_t destination, uint32_t alpha)
{
    uint32_t value = source + (destination * (255 - alpha) + 127) / 255;
    return static_cast<uint8_t>(std::min<uint32_t>(value, 255));
}

void drawCursorAtPointer(int left, int top, int width, int height, Bitmap& bitmap, ScreenSource& screen)
{
    auto position = screen.cursorPosition();
    if (!position) {
        return;
    }
    // One reading gives both the hot spot and the image drawn, so the two always belong together.
    auto cursor = CurrentCursor(screen);
    if (!cursor) {
        return;
    }
    if (!lies(position->x, left, width) || !lies(position->y, top, height)) {
        return;
    }
    drawCursor(bitmap, *cursor, static_cast<int>(int64_t(position->x) - left - cursor->xHotspot),
               static_cast<int>(int64_t(position->y) - top - cursor->yHotspot));
}

} // namespace

void drawCursor(Bitmap& bitmap, const CursorImage& cursor, int x, int y)
{
    if (bitmap.pixelFormat() != PixelFormat::Bpp24 || cursor.width <= 0 || cursor.height <= 0 ||
        cursor.argb.size() < static_cast<size_t>(cursor.width) * static_cast<size_t>(cursor.height)) {
        return;
    }
    int64_t fromX = std::max<int64_t>(0, -int64_t(x));
    int64_t fromY = std::max<int64_t>(0, -int64_t(y));
    int64_t toX = std::min<int64_t>(cursor.width, int64_t(bitmap.width()) - x);
    int64_t toY = std::min<int64_t>(cursor.height, int64_t(bitmap.height()) - y);
    for (int64_t cy = fromY; cy < toY; ++cy) {
        const uint32_t* source = cursor.argb.data() + cy * cursor.width;
        uint8_t* row = bitmap.row(static_cast<int>(y + cy));
        for (int64_t cx = fromX; cx < toX; ++cx) {
            uint32_t argb = source[cx];
            uint32_t alpha = argb >> 24;
            if (alpha == 0 && (argb & 0xFFFFFF) == 0) {
                continue;
            }
            uint8_t* pixel = row + 3 * (x + cx);
            pixel[0] = over(static_cast<uint8_t>(argb), pixel[0], alpha);
            pixel[1] = over(static_cast<uint8_t>(argb >> 8), pixel[1], alpha);
            pixel[2] = over(static_cast<uint8_t>(argb >> 16), pixel[2], alpha);
        }
    }
}

std::optional<CursorImage> CurrentCursor(ScreenSource& screen)
{
    return screen.currentCursor();
}

bool GrabScreen(int left, int top, int width, int height, Bitmap& bitmap, bool withCursor, ScreenSource& screen)
{
    // Callers never pass negative sizes; treating them like 0 keeps a stray one harmless.
    if (width <= 0 || height <= 0) {
        return true;
    }
    prepareBitmap(bitmap, width, height);
    if (!screen.isAvailable()) {
        return false;
    }
    if (auto palette = screen.systemPalette(); palette && !palette->empty()) {
        bitmap.attachSystemPalette(std::move(*palette));
    }
    Size screenSize = screen.primaryScreenSize();
    bool inside = left >= 0 && top >= 0 && int64_t(left) + width <= screenSize.width &&
                  int64_t(top) + height <= screenSize.height;
    if (!inside) {
        bitmap.fillRect({0, 0, width, height}, 0);
    }
    const bool desktopCursor = withCursor && screen.desktopDrawsCursor();
    const bool copied = desktopCursor ? screen.copyPixelsWithCursor(left, top, width, height, bitmap)
                                      : screen.copyPixels(left, top, width, height, bitmap);
    if (!copied) {
        return false;
    }
    if (withCursor && !desktopCursor) {
        drawCursorAtPointer(left, top, width, height, bitmap, screen);
    }
    return true;
}

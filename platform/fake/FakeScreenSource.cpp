#include "platform/fake/FakeScreenSource.h"

FakeScreenSource::FakeScreenSource(Bitmap screenPixels) : pixels(std::move(screenPixels))
{
}

Size FakeScreenSource::primaryScreenSize() const
{
    return {pixels.width(), pixels.height()};
}

std::optional<std::vector<PaletteEntry>> FakeScreenSource::systemPalette()
{
    ++paletteReads;
    return palette;
}

bool FakeScreenSource::copyPixels(int left, int top, int width, int height, Bitmap& target)
{
    ++pixelCopies;
    if (!refusal.empty()) {
        return false;
    }
    // Bitmap::copyRect clips to both bitmaps, as the real screen clips to the root window.
    target.copyRect({0, 0}, pixels, Rect::fromSize(left, top, width, height));
    return true;
}

std::optional<CursorImage> FakeScreenSource::currentCursor()
{
    ++cursorReads;
    return cursor;
}

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

std::vector<Monitor> FakeScreenSource::monitors() const
{
    if (!areas) {
        return monitorList;
    }
    std::vector<Monitor> list;
    // The first area may be the available part of the primary screen, whose whole is the picture.
    const Rect whole = Rect::fromSize(0, 0, pixels.width(), pixels.height());
    for (const Rect& area : *areas) {
        const bool partOfWhole = list.empty() && whole.intersected(area) == area;
        list.push_back({partOfWhole ? whole : area, area, 0});
    }
    return list;
}

// A scriptable screen for tests: its pixels, palette, pointer and cursor are plain fields.
#pragma once

#include "platform/ScreenSource.h"

class FakeScreenSource : public ScreenSource {
public:
    // `pixels` is the whole screen, 24 bits per pixel.
    explicit FakeScreenSource(Bitmap pixels);

    Size primaryScreenSize() const override;
    bool isAvailable() const override { return available; }
    std::optional<std::vector<PaletteEntry>> systemPalette() override;
    bool copyPixels(int left, int top, int width, int height, Bitmap& target) override;
    std::string unreadableReason() const override { return refusal; }
    std::optional<Point> cursorPosition() override { return pointer; }
    std::optional<CursorImage> currentCursor() override;
    std::vector<Monitor> monitors() const override;

    Bitmap pixels;
    bool available = true;
    // Not empty: the screen refuses its pixels for this reason (as under a Wayland desktop).
    std::string refusal;
    std::optional<std::vector<PaletteEntry>> palette;
    std::optional<Point> pointer;
    std::optional<CursorImage> cursor;
    std::vector<Monitor> monitorList;       // empty: the whole primary screen
    std::optional<std::vector<Rect>> areas; // set: monitors with these available areas

    // How often each part was asked for.
    int paletteReads = 0;
    int pixelCopies = 0;
    int cursorReads = 0;
};

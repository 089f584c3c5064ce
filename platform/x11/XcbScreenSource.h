// The X11 screen through its own xcb connection alone (no Qt): shared-memory grabs of the root
// window, the colormap of palette displays and the XFixes cursor image.
#pragma once

#include "platform/ScreenRowConverter.h"
#include "platform/ScreenSource.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct xcb_connection_t;
struct xcb_screen_t;

class XcbScreenSource : public ScreenSource {
public:
    // Connects to `displayName`, or to $DISPLAY when null. isAvailable() tells whether that worked.
    explicit XcbScreenSource(const char* displayName = nullptr);
    ~XcbScreenSource() override;
    XcbScreenSource(const XcbScreenSource&) = delete;
    XcbScreenSource& operator=(const XcbScreenSource&) = delete;

    Size primaryScreenSize() const override;
    bool isAvailable() const override { return screen_ != nullptr; }
    std::optional<std::vector<PaletteEntry>> systemPalette() override;
    bool copyPixels(int left, int top, int width, int height, Bitmap& target) override;
    std::string unreadableReason() const override { return unreadable_; }
    std::optional<Point> cursorPosition() override;
    std::optional<CursorImage> currentCursor() override;

    // For diagnostics and tests: whether grabs go through shared memory.
    bool usesSharedMemory() const { return shmAvailable_; }
    // The display's depth and visual class as xcb names it (e.g. 3 for PseudoColor).
    int depth() const;
    bool isPaletteDisplay() const { return paletteDisplay_; }
    // Whether the X server is a Wayland desktop's XWayland.
    bool isXWayland() const { return xwayland_; }

private:
    void detectPixelLayout();
    void detectExtensions();
    void detectXWayland();
    bool hasXWaylandOutputs() const;
    bool ensureSegment(size_t bytes);
    void releaseSegment();
    std::vector<PaletteEntry> readColormap(int entries);
    // The grabbed rows of a rectangle inside the root window: shared memory or a plain request.
    bool grabInto(int left, int top, int width, int height, int targetX, int targetY, Bitmap& target);
    size_t rowBytes(int width) const;

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    ScreenPixelLayout layout_;
    int scanlinePad_ = 32;
    bool paletteDisplay_ = false;
    int colormapEntries_ = 0;
    bool shmAvailable_ = false;
    bool xfixesAvailable_ = false;
    bool xwayland_ = false;
    std::string unreadable_;

    // One shared-memory segment, kept between grabs and grown as needed.
    uint32_t segment_ = 0;
    uint8_t* shmAddress_ = nullptr;
    size_t shmSize_ = 0;
};

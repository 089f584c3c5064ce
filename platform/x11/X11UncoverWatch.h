// The display's reports while a window leaves the screen, on an xcb connection of its own: the
// unmap of the window's outermost frame and the DAMAGE extension's reports of drawing after it,
// read in the order the server sent them.
#pragma once

#include "platform/UncoverWatch.h"

#include <cstdint>

struct xcb_connection_t;

class X11UncoverWatch : public UncoverWatch {
public:
    // Connects to `displayName`, or to $DISPLAY when null.
    explicit X11UncoverWatch(const char* displayName = nullptr);
    ~X11UncoverWatch() override;
    X11UncoverWatch(const X11UncoverWatch&) = delete;
    X11UncoverWatch& operator=(const X11UncoverWatch&) = delete;

    void start(NativeWindow outer, Rect area) override;
    bool uncovered() override;
    bool windowBehind() override;
    bool paintedSinceUncovered() override;
    void stop() override;

private:
    void readEvents();
    void roundTrip();

    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    bool damageAvailable_ = false;
    uint8_t damageEvent_ = 0;
    uint32_t damage_ = 0;
    uint32_t outer_ = 0;
    Rect area_;
    bool uncovered_ = false;
    bool painted_ = false;
};

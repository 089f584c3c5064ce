// The session's Wayland compositor as a plain client sees it (libwayland-client, no toolkit): its
// outputs with their places in the desktop's layout, shared memory, and the screencopy service when
// the compositor offers it. Every wait has a deadline, so a silent compositor never hangs a capture.
#pragma once

#include "common/Geometry.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_output;
struct wl_shm;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwlr_screencopy_manager_v1;

struct WaylandOutput {
    uint32_t globalName = 0;
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    // As wl_output gives them: the compositor-space position, the current mode in physical pixels.
    Point position;
    Size mode;
    int transform = 0;
    int scale = 1;
    // As xdg-output gives them, when the compositor offers it: the place in the layout.
    std::optional<Point> logicalPosition;
    std::optional<Size> logicalSize;
    // The compositor's name for it ("HDMI-A-1"), for messages.
    std::string name;

    // Where the output lies in the desktop's layout, in logical pixels: xdg-output's place, else the
    // mode turned by the transform and divided by the scale.
    Rect logical() const;
};

using WaylandDeadline = std::chrono::steady_clock::time_point;

class WaylandDisplay {
public:
    // Connects to $WAYLAND_DISPLAY and learns the compositor's globals and outputs; nothing (and
    // `reason` set) when no Wayland session is named or the compositor does not answer in time.
    static std::unique_ptr<WaylandDisplay> connect(WaylandDeadline deadline, std::string& reason);
    ~WaylandDisplay();
    WaylandDisplay(const WaylandDisplay&) = delete;
    WaylandDisplay& operator=(const WaylandDisplay&) = delete;

    // Reads and handles the compositor's events until `done` holds; false when the deadline passed
    // or the connection broke first.
    bool dispatchUntil(const std::function<bool()>& done, WaylandDeadline deadline);
    // Waits until the compositor has handled every request sent so far (and sent their events).
    bool settle(WaylandDeadline deadline);
    // Why the connection broke, in words; empty while it works.
    std::string failure() const;

    wl_shm* shm() const { return shm_; }
    zwlr_screencopy_manager_v1* screencopy() const { return screencopy_; }
    uint32_t screencopyVersion() const { return screencopyVersion_; }
    // The outputs as the compositor last described them.
    std::vector<const WaylandOutput*> outputs() const;

    // Registry and output events (called from libwayland's listeners).
    void addGlobal(uint32_t name, const char* interface, uint32_t version);
    void removeGlobal(uint32_t name);

private:
    WaylandDisplay() = default;
    void watchOutput(WaylandOutput& output);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_shm* shm_ = nullptr;
    zxdg_output_manager_v1* xdgOutputs_ = nullptr;
    zwlr_screencopy_manager_v1* screencopy_ = nullptr;
    uint32_t screencopyVersion_ = 0;
    std::vector<std::unique_ptr<WaylandOutput>> outputs_;
};

// One output's picture asked of the compositor through wlr-screencopy: the compositor names the
// buffer it can fill, the frame hands it one in shared memory, and the compositor copies the next
// frame it shows into it.
#pragma once

#include "platform/wayland/OutputPicture.h"
#include "platform/wayland/ShmBuffer.h"

#include "platform/wayland/WaylandDisplay.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct wl_shm;
struct zwlr_screencopy_manager_v1;
struct zwlr_screencopy_frame_v1;

class ScreencopyFrame {
public:
    // Asks for `output`'s next frame, with the pointer drawn in when `withCursor`.
    ScreencopyFrame(zwlr_screencopy_manager_v1* manager, uint32_t managerVersion, wl_shm* shm,
                    const WaylandOutput& output, bool withCursor);
    ~ScreencopyFrame();
    ScreencopyFrame(const ScreencopyFrame&) = delete;
    ScreencopyFrame& operator=(const ScreencopyFrame&) = delete;

    bool finished() const { return ready_ || !failure_.empty(); }
    bool ready() const { return ready_; }
    // Why the compositor gave no picture, in words; empty while none is known.
    const std::string& failure() const { return failure_; }
    // The copied picture, placed where the output lies; valid while the frame lives.
    OutputPicture picture() const;

    // The compositor's events (called from libwayland's listener).
    void offerShm(uint32_t format, uint32_t width, uint32_t height, uint32_t stride);
    void offersDone();
    void setFlags(uint32_t flags) { yInverted_ = (flags & 1) != 0; }
    void copied() { ready_ = true; }
    void refused();

private:
    void copy();

    zwlr_screencopy_frame_v1* frame_ = nullptr;
    uint32_t version_ = 1;
    wl_shm* shm_ = nullptr;
    // A copy: the output may go away while the compositor copies.
    WaylandOutput output_;
    std::optional<uint32_t> format_;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::optional<ShmPixelLayout> layout_;
    std::unique_ptr<ShmBuffer> buffer_;
    bool yInverted_ = false;
    bool ready_ = false;
    std::string failure_;
};

#include "platform/wayland/ScreencopyFrame.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

namespace {

ScreencopyFrame& frameOf(void* data)
{
    return *static_cast<ScreencopyFrame*>(data);
}

void frameBuffer(void* data, zwlr_screencopy_frame_v1* /*frame*/, uint32_t format, uint32_t width, uint32_t height,
                 uint32_t stride)
{
    frameOf(data).offerShm(format, width, height, stride);
}

void frameFlags(void* data, zwlr_screencopy_frame_v1* /*frame*/, uint32_t flags)
{
    frameOf(data).setFlags(flags);
}

void frameReady(void* data, zwlr_screencopy_frame_v1* /*frame*/, uint32_t /*secondsHigh*/, uint32_t /*secondsLow*/,
                uint32_t /*nanoseconds*/)
{
    frameOf(data).copied();
}

void frameFailed(void* data, zwlr_screencopy_frame_v1* /*frame*/)
{
    frameOf(data).refused();
}

void frameDamage(void* /*data*/, zwlr_screencopy_frame_v1* /*frame*/, uint32_t /*x*/, uint32_t /*y*/,
                 uint32_t /*width*/, uint32_t /*height*/)
{
}

// GPU buffers are of no use to a client that reads the pixels: shared memory is always offered too.
void frameDmabuf(void* /*data*/, zwlr_screencopy_frame_v1* /*frame*/, uint32_t /*format*/, uint32_t /*width*/,
                 uint32_t /*height*/)
{
}

void frameBufferDone(void* data, zwlr_screencopy_frame_v1* /*frame*/)
{
    frameOf(data).offersDone();
}

const zwlr_screencopy_frame_v1_listener kFrameListener = {frameBuffer, frameFlags,  frameReady,     frameFailed,
                                                          frameDamage, frameDmabuf, frameBufferDone};

} // namespace

ScreencopyFrame::ScreencopyFrame(zwlr_screencopy_manager_v1* manager, uint32_t managerVersion, wl_shm* shm,
                                 const WaylandOutput& output, bool withCursor)
    : version_(managerVersion), shm_(shm), output_(output)
{
    frame_ = zwlr_screencopy_manager_v1_capture_output(manager, withCursor ? 1 : 0, output.output);
    zwlr_screencopy_frame_v1_add_listener(frame_, &kFrameListener, this);
}

ScreencopyFrame::~ScreencopyFrame()
{
    zwlr_screencopy_frame_v1_destroy(frame_);
}

void ScreencopyFrame::offerShm(uint32_t format, uint32_t width, uint32_t height, uint32_t stride)
{
    format_ = format;
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    stride_ = static_cast<int>(stride);
    // Before version 3 this is the only offer, and no end of offers is announced.
    if (version_ < 3) {
        copy();
    }
}

void ScreencopyFrame::offersDone()
{
    if (!format_) {
        failure_ = "the compositor offers no shared-memory picture of output " + output_.name;
        return;
    }
    copy();
}

void ScreencopyFrame::refused()
{
    failure_ = "the compositor refused to copy output " + output_.name;
}

void ScreencopyFrame::copy()
{
    layout_ = shmPixelLayout(*format_);
    if (!layout_) {
        failure_ = "the compositor offers output " + output_.name + " only in the pixel format " +
                   shmFormatName(*format_) + ", which Zentrap does not read";
        return;
    }
    const int64_t rowBytes = int64_t{width_} * layout_->bytesPerPixel;
    if (stride_ < rowBytes) {
        failure_ = "the compositor offers a picture of output " + output_.name + " with rows too short for it";
        return;
    }
    buffer_ = ShmBuffer::create(shm_, width_, height_, stride_, *format_);
    if (!buffer_) {
        failure_ = "no shared memory for a " + std::to_string(width_) + " x " + std::to_string(height_) +
                   " picture of output " + output_.name;
        return;
    }
    zwlr_screencopy_frame_v1_copy(frame_, buffer_->buffer());
}

OutputPicture ScreencopyFrame::picture() const
{
    if (!ready_ || !buffer_) {
        return {};
    }
    return {buffer_->pixels(), width_, height_, stride_, *layout_, yInverted_, output_.transform, output_.logical()};
}

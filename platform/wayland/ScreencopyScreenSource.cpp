#include "platform/wayland/ScreencopyScreenSource.h"

#include "platform/wayland/OutputPicture.h"
#include "platform/wayland/ScreencopyFrame.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// A compositor copies its next frame within a refresh or two; past this it is not going to.
constexpr std::chrono::milliseconds kAnswerWait{5000};

WaylandDeadline deadlineFromNow()
{
    return std::chrono::steady_clock::now() + kAnswerWait;
}

} // namespace

std::unique_ptr<ScreencopyScreenSource> ScreencopyScreenSource::offered(ScreenSource& x11, std::string& reason)
{
    std::unique_ptr<WaylandDisplay> display = WaylandDisplay::connect(deadlineFromNow(), reason);
    if (!display) {
        return nullptr;
    }
    if (display->screencopy() == nullptr || display->shm() == nullptr) {
        reason = "the Wayland compositor offers no screencopy";
        return nullptr;
    }
    return std::unique_ptr<ScreencopyScreenSource>(new ScreencopyScreenSource(x11, std::move(display)));
}

ScreencopyScreenSource::ScreencopyScreenSource(ScreenSource& x11, std::unique_ptr<WaylandDisplay> display)
    : DesktopPictureScreenSource(x11), display_(std::move(display))
{
}

bool ScreencopyScreenSource::copyPixels(int left, int top, int width, int height, Bitmap& target)
{
    return copyOutputs(Rect::fromSize(left, top, width, height), false, target);
}

bool ScreencopyScreenSource::copyPixelsWithCursor(int left, int top, int width, int height, Bitmap& target)
{
    return copyOutputs(Rect::fromSize(left, top, width, height), true, target);
}

bool ScreencopyScreenSource::copyOutputs(const Rect& area, bool withCursor, Bitmap& target)
{
    const WaylandDeadline deadline = deadlineFromNow();
    // Outputs come and go: the compositor's latest word on them first.
    if (!display_->settle(deadline)) {
        unreadable_ = "the Wayland compositor did not answer (" + display_->failure() + ")";
        return false;
    }
    const std::vector<const WaylandOutput*> outputs = display_->outputs();
    if (outputs.empty()) {
        unreadable_ = "the Wayland compositor shows no output";
        return false;
    }
    // All outputs at once: one moment of the desktop, and one wait instead of several.
    std::vector<std::unique_ptr<ScreencopyFrame>> frames;
    for (const WaylandOutput* output : outputs) {
        if (!output->logical().intersected(area).isEmpty()) {
            frames.push_back(std::make_unique<ScreencopyFrame>(display_->screencopy(), display_->screencopyVersion(),
                                                               display_->shm(), *output, withCursor));
        }
    }
    const auto allFinished = [&frames] {
        return std::all_of(frames.begin(), frames.end(), [](const auto& frame) { return frame->finished(); });
    };
    if (!display_->dispatchUntil(allFinished, deadline)) {
        unreadable_ = "the Wayland compositor did not copy the screen (" + display_->failure() + ")";
        return false;
    }
    for (const std::unique_ptr<ScreencopyFrame>& frame : frames) {
        if (!frame->ready()) {
            unreadable_ = frame->failure();
            return false;
        }
    }
    // Between outputs of different sizes the layout shows nothing: black, as on X11.
    target.fillRect({0, 0, std::min(area.width(), target.width()), std::min(area.height(), target.height())}, 0);
    for (const std::unique_ptr<ScreencopyFrame>& frame : frames) {
        placeOutputPicture(frame->picture(), area, target);
    }
    unreadable_.clear();
    return true;
}

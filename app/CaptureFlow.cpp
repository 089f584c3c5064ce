#include "app/CaptureFlow.h"

#include "app/CaptureFrameLink.h"
#include "capture/ScreenGrabber.h"
#include "platform/ClipboardService.h"
#include "platform/Clock.h"
#include "platform/ScreenSource.h"

#include <memory>
#include <utility>

CaptureFlow::CaptureFlow(CaptureSession& session, CaptureView& view, ScreenSource& screen, ClipboardService& clipboard,
                         Clock& clock)
    : session_(session), view_(view), screen_(screen), clipboard_(clipboard), clock_(clock)
{
}

void CaptureFlow::capture(const CaptureOptions& options)
{
    if (capturing_) {
        return;
    }
    struct CapturingFlag {
        bool& flag;
        explicit CapturingFlag(bool& f) : flag(f) { flag = true; }
        ~CapturingFlag() { flag = false; }
    } capturing{capturing_};
    const bool hidden = options.hideRemote && view_.remoteOnScreen();
    if (hidden) {
        view_.hideRemote();
        waitForScreenToSettle();
    }
    grab(options);
    clipboard_.setBitmap(session_.image);
    view_.showThumbnail(session_.image);
    if (hidden) {
        view_.showRemote();
    } else {
        view_.repaintRemote();
    }
    view_.imageCaptured();
    session_.notSaved = true;
}

void CaptureFlow::waitForScreenToSettle()
{
    clock_.wait(kHideWaitMilliseconds);
}

void CaptureFlow::grab(const CaptureOptions& options)
{
    if (options.wholeScreen || frame_ == nullptr) {
        const Size screen = screen_.primaryScreenSize();
        GrabScreen(0, 0, screen.width, screen.height, session_.image, options.captureCursor, screen_);
        return;
    }
    const Rect hole = frame_->captureRect();
    GrabScreen(hole.left, hole.top, hole.width(), hole.height(), session_.image, options.captureCursor, screen_);
}

void CaptureFlow::handToEditor()
{
    session_.editImage = std::make_unique<Bitmap>(session_.image);
    session_.undoImage = std::make_unique<Bitmap>();
}

void CaptureFlow::takeBackFromEditor()
{
    if (session_.editImage) {
        session_.image = std::move(*session_.editImage);
    }
    session_.editImage.reset();
    session_.undoImage.reset();
    view_.showThumbnail(session_.image);
}

#include "app/CaptureFlow.h"

#include "app/CaptureFrameLink.h"
#include "capture/DesktopGrab.h"
#include "capture/RepaintWait.h"
#include "platform/Platform.h"

#include <memory>
#include <utility>

CaptureFlow::CaptureFlow(CaptureSession& session, CaptureView& view, const Platform& platform)
    : session_(session), view_(view), screen_(platform.screen), clipboard_(platform.clipboard), clock_(platform.clock),
      uncoverWatch_(platform.uncoverWatch)
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
    const Rect area = grabRect(options);
    const bool hidden = options.hideRemote && view_.remoteOnScreen() && hideFromGrab(area);
    const bool grabbed = grabIntoImage(area, options.captureCursor);
    if (grabbed) {
        clipboard_.setBitmap(session_.image);
        view_.showThumbnail(session_.image);
    }
    if (hidden) {
        view_.showRemote();
    } else {
        view_.repaintRemote();
    }
    if (!grabbed) {
        if (!toldScreenUnreadable_) {
            toldScreenUnreadable_ = true;
            view_.screenUnreadable();
        }
        return;
    }
    view_.imageCaptured();
    session_.notSaved = true;
}

Rect CaptureFlow::grabRect(const CaptureOptions& options) const
{
    if (options.wholeScreen || frame_ == nullptr) {
        return screen_.monitorLayout().fullScreenArea(options.workingPoint, options.allMonitors);
    }
    return frame_->captureRect();
}

bool CaptureFlow::hideFromGrab(const Rect& grabbed)
{
    const FramedWindow remote = view_.remoteOnScreenBounds();
    // Away from the grabbed rectangle the window changes nothing in the picture: it stays, unblinking.
    const Rect covered = remote.bounds.intersected(grabbed);
    if (covered.isEmpty()) {
        return false;
    }
    hideAndWaitForScreen(covered, remote.outer);
    return true;
}

void CaptureFlow::hideAndWaitForScreen(const Rect& covered, NativeWindow outer)
{
    // A compositor's picture is asked of the desktop, a slow request: no polling grabs there.
    if (uncoverWatch_ == nullptr || screen_.picturesShowOwnWindows()) {
        view_.hideRemote();
        clock_.wait(RepaintWaitRule{}.limitMilliseconds);
        return;
    }
    hideAndWaitForRepaint(
        covered, outer, [this] { view_.hideRemote(); }, *uncoverWatch_, screen_, clock_);
}

bool CaptureFlow::grabIntoImage(const Rect& area, bool withCursor)
{
    // A screen that gives nothing must not turn the last capture into a black picture.
    Bitmap grabbed;
    if (!GrabDesktop(area, grabbed, withCursor, screen_)) {
        return false;
    }
    if (grabbed.width() > 0) {
        session_.image = std::move(grabbed);
    }
    return true;
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

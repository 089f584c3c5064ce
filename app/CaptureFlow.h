// One capture from start to end, without a window: the Remote Control steps off the screen, the
// screen settles, the frame's hole (or the whole screen) is grabbed, the picture goes to the
// clipboard and the thumbnail, and it is marked as not saved. Also the hand-over of the captured
// image to the Image Editor and back.
#pragma once

#include "app/CaptureSession.h"
#include "common/Geometry.h"
#include "platform/WindowManager.h"

class Bitmap;
class CaptureFrameLink;
class ClipboardService;
class Clock;
class ScreenSource;
class UncoverWatch;
struct Platform;

// What a capture needs of the Remote Control window.
class CaptureView {
public:
    virtual ~CaptureView() = default;

    // Shown on the desktop (not minimised, not in the tray).
    virtual bool remoteOnScreen() const = 0;
    // Where the Remote Control stands, its window manager's frame included.
    virtual FramedWindow remoteOnScreenBounds() const = 0;
    virtual void hideRemote() = 0;
    virtual void showRemote() = 0;
    virtual void repaintRemote() = 0;
    virtual void showThumbnail(const Bitmap& image) = 0;
    // Save, Print and Edit become available with the first capture.
    virtual void imageCaptured() = 0;
    // The screen gave no pixels: the image stays as it was and the user is told why. Told once:
    // every later capture fails for the same reason.
    virtual void screenUnreadable() = 0;
};

// What a capture reads from the options as they stand when it runs.
struct CaptureOptions {
    bool hideRemote = true;    // the Remote Control hides while capturing
    bool captureCursor = true; // the mouse pointer is in the capture
    bool wholeScreen = false;  // Full screen mode, or the application is minimised
    bool allMonitors = false;  // the whole screen is every monitor, not the one at `workingPoint`
    Point workingPoint;        // where the Remote Control (or, in the tray, the pointer) is
};

class CaptureFlow {
public:
    // The screen, clipboard, clock and (when there is one) the display's uncover watch.
    CaptureFlow(CaptureSession& session, CaptureView& view, const Platform& platform);

    void attachFrame(CaptureFrameLink* frame) { frame_ = frame; }

    // One capture. The wait serves events, so a capture asked for inside it is dropped.
    void capture(const CaptureOptions& options);
    bool capturing() const { return capturing_; }

    // The Image Editor opens on a copy of the image with an empty undo image, and whatever it
    // ends with (also after a failure) becomes the image.
    void handToEditor();
    void takeBackFromEditor();

    const CaptureSession& session() const { return session_; }

private:
    // The screen rectangle a capture copies: the frame's hole, or in full-screen mode the monitor
    // of the working point or every monitor.
    Rect grabRect(const CaptureOptions& options) const;
    // Hides the Remote Control when it covers part of `grabbed`, then waits until the screen
    // there shows what is behind it; false when it stays on the screen.
    bool hideFromGrab(const Rect& grabbed);
    // The step that takes the Remote Control off the screen and waits for the repaint behind it.
    void hideAndWaitForScreen(const Rect& covered, NativeWindow outer);
    // False when the screen gave no pixels; the image is then as it was.
    bool grabIntoImage(const Rect& area, bool withCursor);

    CaptureSession& session_;
    CaptureView& view_;
    ScreenSource& screen_;
    ClipboardService& clipboard_;
    Clock& clock_;
    UncoverWatch* uncoverWatch_;
    CaptureFrameLink* frame_ = nullptr;
    bool capturing_ = false;
    bool toldScreenUnreadable_ = false;
};

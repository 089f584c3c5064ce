// Puts captures on the X clipboard as "image/png" and "image/bmp". The clipboard is taken at once;
// the PNG is encoded on a worker thread right away, the BMP only when a program asks for it, and a
// paste that comes before its bytes waits for them on the service's own thread, so the user
// interface never waits for a paste. At exit the capture still on the clipboard goes to the
// clipboard manager or, without one, to the clipboard keeper program.
#pragma once

#include "common/ByteSink.h"
#include "platform/ClipboardService.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

// Writes one clipboard format of a capture; runs on a worker thread with its own copy of the image.
using ClipboardEncoder = std::function<void(const Bitmap&, ByteSink&)>;

// The encoders come from the caller, so that the platform layer does not depend on the codecs.
struct ClipboardEncoders {
    ClipboardEncoder bmp; // a whole BMP file, offered as "image/bmp"
    ClipboardEncoder png; // offered as "image/png"
};

// The encodings still running. They run on detached threads so that a new capture never waits
// for the last one's; they must end before the program does, or they would run on into the
// destruction of the libraries they use.
class RunningEncodings {
public:
    void started();
    void ended();
    void waitUntilNoneRun();

private:
    std::mutex mutex_;
    std::condition_variable allEnded_;
    int running_ = 0;
};

class X11ClipboardService : public ClipboardService {
public:
    // Opens its own connection to the display of $DISPLAY; without one the clipboard stays untouched.
    explicit X11ClipboardService(ClipboardEncoders encoders);
    ~X11ClipboardService() override;
    X11ClipboardService(const X11ClipboardService&) = delete;
    X11ClipboardService& operator=(const X11ClipboardService&) = delete;

    void setBitmap(const Bitmap& bitmap) override;

    // Hands the capture still on the clipboard to the clipboard manager (waiting at most 2 s for
    // its answer) or to a keeper started from `keeperProgram`. Ends the service's thread. Returns
    // why the capture could not be kept, or an empty string.
    std::string keepAfterExit(const std::string& keeperProgram);

private:
    struct Server;
    ClipboardEncoders encoders_;
    std::shared_ptr<RunningEncodings> running_ = std::make_shared<RunningEncodings>();
    std::unique_ptr<Server> server_;
};

// Puts captures on the desktop clipboard as BMP and PNG bytes. Both are encoded once, on a worker
// thread, and offered at once: a paste that comes before the bytes are ready waits for them, so
// the user interface never encodes on paste requests.
#pragma once

#include "common/ByteSink.h"
#include "platform/ClipboardService.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// Writes one clipboard format of a capture; runs on a worker thread with its own copy of the image.
using ClipboardEncoder = std::function<void(const Bitmap&, ByteSink&)>;

// The encoders come from the caller, so that the platform layer does not depend on the codecs.
struct ClipboardEncoders {
    ClipboardEncoder bmp; // a whole BMP file, offered as "image/bmp"
    ClipboardEncoder png; // offered as "image/png"
};

// The encodings still running. The clipboard keeps a capture's data after it is replaced, and its
// encodings run on detached threads; they must end before the program does, or they would run on
// into the destruction of the libraries they use.
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

class QtClipboardService : public ClipboardService {
public:
    explicit QtClipboardService(ClipboardEncoders encoders);
    // Waits for the encodings still running.
    ~QtClipboardService() override;
    QtClipboardService(const QtClipboardService&) = delete;
    QtClipboardService& operator=(const QtClipboardService&) = delete;

    void setBitmap(const Bitmap& bitmap) override;

private:
    ClipboardEncoders encoders_;
    std::shared_ptr<RunningEncodings> running_ = std::make_shared<RunningEncodings>();
};

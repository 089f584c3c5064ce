// Puts captures on the desktop clipboard as BMP and PNG bytes. Both are encoded once, on a worker
// thread, and offered at once: a paste that comes before the bytes are ready waits for them, so
// the user interface never encodes on paste requests.
#pragma once

#include "common/ByteSink.h"
#include "platform/ClipboardService.h"

#include <functional>

// Writes one clipboard format of a capture; runs on a worker thread with its own copy of the image.
using ClipboardEncoder = std::function<void(const Bitmap&, ByteSink&)>;

// The encoders come from the caller, so that the platform layer does not depend on the codecs.
struct ClipboardEncoders {
    ClipboardEncoder bmp; // a whole BMP file, offered as "image/bmp"
    ClipboardEncoder png; // offered as "image/png"
};

class QtClipboardService : public ClipboardService {
public:
    explicit QtClipboardService(ClipboardEncoders encoders);

    void setBitmap(const Bitmap& bitmap) override;

private:
    ClipboardEncoders encoders_;
};

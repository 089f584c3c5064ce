// Puts captures on the desktop clipboard as BMP and PNG bytes. Both are encoded once, on a worker
// thread, and offered at once: a paste that comes before the bytes are ready waits for them, so
// the user interface never encodes on paste requests.
#pragma once

#include "platform/ClipboardService.h"

class QtClipboardService : public ClipboardService {
public:
    void setBitmap(const Bitmap& bitmap) override;
};

// A clipboard for tests that keeps what was placed on it.
#pragma once

#include "platform/ClipboardService.h"

#include <optional>

class FakeClipboard : public ClipboardService {
public:
    void setBitmap(const Bitmap& bitmap) override
    {
        content = bitmap;
        ++placements;
    }

    std::optional<Bitmap> content;
    int placements = 0;
};

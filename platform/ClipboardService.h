// Places captured images on the system clipboard.
#pragma once

#include "common/Bitmap.h"

class ClipboardService {
public:
    virtual ~ClipboardService() = default;

    virtual void setBitmap(const Bitmap& bitmap) = 0;
};

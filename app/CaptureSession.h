// What the Remote Control has captured and what the windows it opens work on: the image, the
// number of the next offered file name, the not-saved mark and the editor's working and undo images.
#pragma once

#include "common/Bitmap.h"

#include <cstdint>
#include <memory>

struct CaptureSession {
    Bitmap image{80, 80, PixelFormat::Bpp24};
    int32_t captureNumber = 1;
    // Set by every capture, cleared by a successful save or print.
    bool notSaved = false;
    // Present only while the Image Editor is open.
    std::unique_ptr<Bitmap> editImage;
    std::unique_ptr<Bitmap> undoImage;
};

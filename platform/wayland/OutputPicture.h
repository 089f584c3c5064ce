// One output's picture as the compositor copied it into shared memory, and how its pixels land in
// the desktop's layout: the pixel format's byte order, the y-inversion flag, the output's transform
// and its scale.
#pragma once

#include "common/Bitmap.h"
#include "common/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>

// Where blue, green and red lie in one pixel of a wl_shm format with 8-bit channels.
struct ShmPixelLayout {
    int bytesPerPixel = 4;
    int blue = 0;
    int green = 1;
    int red = 2;
};

// The layout of the wl_shm `format`; nothing for formats that are not 8 bits per channel.
std::optional<ShmPixelLayout> shmPixelLayout(uint32_t format);
// The format's four-character code for messages ("XR24"), or its number.
std::string shmFormatName(uint32_t format);

struct OutputPicture {
    const uint8_t* pixels = nullptr;
    // The buffer as the output's framebuffer holds it: before the output's transform, in physical
    // pixels (logical pixels times the output's scale).
    int width = 0;
    int height = 0;
    int stride = 0;
    ShmPixelLayout layout;
    bool yInverted = false;
    // wl_output.transform: 0-3 rotate by quarter turns counter-clockwise, 4-7 flip first.
    int transform = 0;
    // Where the output lies in the desktop's layout, in logical pixels.
    Rect logical;
};

// Copies what `picture` shows of `area` (layout coordinates) into `target`, whose pixel (0, 0) is
// the area's top-left corner. A logical pixel takes the physical pixel under its centre.
void placeOutputPicture(const OutputPicture& picture, const Rect& area, Bitmap& target);

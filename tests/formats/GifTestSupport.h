// Test pictures for colour reduction and the GIF writer, and decoding GIF bytes with giflib.
#pragma once

#include "common/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace giftest {

Bitmap noisePicture(int width, int height, uint32_t seed);
// Flat areas, a few text-like strokes and thin lines in a handful of colours.
Bitmap screenshotPicture(int width, int height);
// Smooth gradients with a little noise.
Bitmap photoPicture(int width, int height, uint32_t seed);
Bitmap uniformPicture(int width, int height, uint8_t red, uint8_t green, uint8_t blue);

// An 8-bit Bitmap whose table has `colors` entries and whose pixels are `indices` (row by row).
Bitmap indexedPicture(int width, int height, int colors, const std::vector<uint8_t>& indices);

struct DecodedGif {
    bool ok = false;
    std::string error;
    int screenWidth = 0;
    int screenHeight = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> indices;
    std::vector<uint8_t> colors; // red, green, blue per entry of the image's colour map
    int transparentIndex = -1;   // -1 when there is no graphic control extension
};

// Decodes the first image with giflib (DGifOpen with a memory read function).
DecodedGif decodeWithGiflib(const std::vector<uint8_t>& bytes);

// The codes of an image data stream, read back as a decoder would (widths follow the decoder's table).
struct CodeStream {
    int minCodeSize = 0;
    std::vector<int> codes;
    std::vector<int> widths;
    int maxTableSize = 0;         // highest next-code value a decoder reached
    std::vector<int> nextAtClear; // the decoder's next code at each clear code
};
CodeStream readCodes(const std::vector<uint8_t>& imageData);

} // namespace giftest

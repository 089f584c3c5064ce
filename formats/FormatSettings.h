// What a writer is given besides the picture: the chosen format and the settings of the formats
// that have any (the Save As variants' JPEG and GIF settings).
#pragma once

// Codes as the Save As variants store them.
enum class ImageFormat { Bmp = 0, Jpeg = 1, Gif = 2, Png = 3, Tiff = 4 };

struct JpegOptions {
    int quality = 75; // 1..100
    bool progressive = true;
};

struct GifOptions {
    int paletteMode = 8; // 1..8, "Optimized Windows" by default
    int colorCount = 32; // 8..256, used by palette mode 7 only
    int ditherMode = 0;  // 0..6, "Nearest color" by default
    int compression = 0; // 0 LZW, 1 RLE
    bool transparent = false;
    int pickX = 0; // the picked pixel whose colour becomes transparent
    int pickY = 0;
};

struct FormatSettings {
    ImageFormat format = ImageFormat::Bmp;
    JpegOptions jpeg;
    GifOptions gif;
};

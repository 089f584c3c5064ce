// JPEG compression of a Bitmap and decompression of the result for its preview, through libjpeg.
// This is the one unit that talks to libjpeg.
#pragma once

#include "common/Bitmap.h"
#include "common/ByteSink.h"
#include "common/Geometry.h"
#include "formats/FormatSettings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Compresses a 24-bit copy of `image` into `out` with libjpeg's defaults, quality 1..100 with
// baseline tables, and simple progression when asked. Throws ZentrapError with libjpeg's message,
// or what the sink threw.
void writeJpeg(const Bitmap& image, const JpegOptions& options, ByteSink& out);
// The same bytes in memory.
std::vector<uint8_t> encodeJpeg(const Bitmap& image, int quality, bool progressive);

// Decodes a JPEG stream at scale 1/1 with block smoothing into a 24-bit Bitmap.
// Throws ZentrapError with libjpeg's message.
Bitmap decodeJpeg(std::span<const uint8_t> data);

// What a JPEG file declares, for the caller to accept or refuse before pixel memory is taken.
struct JpegFileHeader {
    int64_t width = 0;
    int64_t height = 0;
    int components = 0;
    bool arithmetic = false;
    bool progressive = false; // all coefficients are kept while the scans are read
    uint64_t blocks = 0;      // 8 x 8 blocks over all components
    uint64_t fileBytes = 0;
};

// Decodes a JPEG file from outside: grey pictures as 8-bit grey, others (CMYK and YCCK ones too,
// in Adobe's inverted convention when the file has Adobe's marker) as 24-bit. `checkHeader`
// throws to refuse a header. libjpeg's working memory (progressive coefficients) is limited to
// `maxWorkingMemory`; data that ends early and absurd numbers of scans are errors. The data is
// decoded twice, first without keeping the rows, so that damaged data never gets the picture's memory.
// Throws ZentrapError with libjpeg's message.
Bitmap decodeJpegFile(std::span<const uint8_t> data, const std::function<void(const JpegFileHeader&)>& checkHeader,
                      size_t maxWorkingMemory);

// Decodes only the top-left `wanted` part of a JPEG file (as decodeJpegFile would decode it), in
// one pass that ends after the part's last row; data further on is not looked at.
Bitmap decodeJpegFilePart(std::span<const uint8_t> data, const std::function<void(const JpegFileHeader&)>& checkHeader,
                          size_t maxWorkingMemory, Size wanted);

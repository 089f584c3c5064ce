// JPEG files written by libjpeg itself, as other programs write them, for the tests of reading.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// jpeglib.h wants FILE and size_t declared first.
#include <cstdio>

#include <jpeglib.h>

struct LibjpegRecipe {
    int components = 3;                 // 1, 3 or 4 (CMYK)
    J_COLOR_SPACE stored = JCS_UNKNOWN; // the colour space in the file (JCS_YCCK for 4 components), else libjpeg's
    bool adobeMarker = true;            // for 4 components: libjpeg writes Adobe's marker unless told not to
    bool arithmetic = false;
    int quality = 75;
    std::vector<jpeg_scan_info> scans; // progressive scans; empty: baseline
};

// `sample(x, y, channel)` gives each sample as libjpeg takes it (RGB, grey or CMYK).
inline std::string libjpegFile(int width, int height, const LibjpegRecipe& recipe,
                               const std::function<JSAMPLE(int, int, int)>& sample)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = recipe.components;
    cinfo.in_color_space = recipe.components == 1 ? JCS_GRAYSCALE : recipe.components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    if (recipe.stored != JCS_UNKNOWN) {
        jpeg_set_colorspace(&cinfo, recipe.stored);
    }
    cinfo.write_Adobe_marker = recipe.components == 4 && recipe.adobeMarker ? TRUE : FALSE;
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    cinfo.arith_code = recipe.arithmetic ? TRUE : FALSE;
    if (!recipe.scans.empty()) {
        cinfo.scan_info = recipe.scans.data();
        cinfo.num_scans = static_cast<int>(recipe.scans.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * static_cast<size_t>(recipe.components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < recipe.components; ++c) {
                row[static_cast<size_t>(x * recipe.components + c)] = sample(x, y, c);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

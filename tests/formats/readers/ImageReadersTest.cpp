// The command line's picture readers against independent decoders: every sample picture (the fuzz
// seeds: each format in its codings and depths) decodes to the colours that Qt's readers, or
// libtiff's, show; indexed pictures stay indexed.
#include "formats/readers/ImageDecoder.h"

#include "../../support/TempFolder.h"

#include <QImage>

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <span>

namespace fs = std::filesystem;

namespace {

const fs::path kSamples = fs::path(ZENTRAP_SOURCE_DIR) / "fuzz/seeds/fuzz_image_reader";

// 0x00BBGGRR colours, row by row, as an independent decoder shows the file.
std::vector<ColorRef> reference(const fs::path& path, int& width, int& height)
{
    std::vector<ColorRef> colours;
    if (path.extension() == ".tiff") {
        TIFFSetWarningHandler(nullptr);
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        uint32_t w = 0, h = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
        std::vector<uint32_t> raster(size_t{w} * h);
        TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 0);
        TIFFClose(tif);
        for (uint32_t p : raster)
            colours.push_back(makeColor(uint8_t(TIFFGetR(p)), uint8_t(TIFFGetG(p)), uint8_t(TIFFGetB(p))));
        width = static_cast<int>(w);
        height = static_cast<int>(h);
        return colours;
    }
    QImage image(QString::fromStdString(path.string()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            // Pixels that run-length codes skip are left undefined by Qt; the readers give them index 0.
            bool skipped = image.colorCount() > 0 && image.pixelIndex(x, y) >= image.colorCount();
            QRgb p = skipped ? image.color(0) : image.pixel(x, y);
            colours.push_back(makeColor(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))));
        }
    width = image.width();
    height = image.height();
    return colours;
}

int channelDifference(ColorRef a, ColorRef b)
{
    return std::max(
        {std::abs(redOf(a) - redOf(b)), std::abs(greenOf(a) - greenOf(b)), std::abs(blueOf(a) - blueOf(b))});
}

} // namespace

TEST(ImageReaders, SamplePicturesDecodeAsIndependentDecodersShowThem)
{
    // Rounding of 16-bit samples and JPEG's inverse transform may differ by one step; Qt widens 5- and
    // 6-bit channels by shifting (31 becomes 248), the readers scale them (31 becomes 255).
    const std::map<std::string, int> tolerance = {{"bits565.bmp", 7}, {"ascii.pgm", 1}, {"wide.pgm", 1},
                                                  {"grey.jpg", 1},    {"rgb.jpg", 1},   {"progressive.jpg", 1}};
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(kSamples)) {
        const fs::path& path = entry.path();
        SCOPED_TRACE(path.filename().string());
        if (path.filename().string().rfind("rle", 0) == 0)
            continue; // Qt moves run-length deltas differently from their definition: checked below
        std::string bytes = readWholeFile(path);
        Bitmap picture = decodeImage(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        int width = 0, height = 0;
        std::vector<ColorRef> expected = reference(path, width, height);
        ASSERT_EQ(picture.width(), width);
        ASSERT_EQ(picture.height(), height);
        auto it = tolerance.find(path.filename().string());
        int allowed = it == tolerance.end() ? 0 : it->second;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_LE(channelDifference(picture.pixelColor(x, y), expected[size_t(y * width + x)]), allowed)
                    << x << "," << y;
        ++compared;
    }
    EXPECT_GE(compared, 30);
}

TEST(ImageReaders, IndexedPicturesStayIndexed)
{
    const std::map<std::string, PixelFormat> formats = {
        {"mono.pbm", PixelFormat::Bpp1},     {"mono.png", PixelFormat::Bpp1}, {"core.bmp", PixelFormat::Bpp1},
        {"rle4.bmp", PixelFormat::Bpp4},     {"pal4.png", PixelFormat::Bpp4}, {"rle8.bmp", PixelFormat::Bpp8},
        {"pal.gif", PixelFormat::Bpp8},      {"grey.pgm", PixelFormat::Bpp8}, {"grey.jpg", PixelFormat::Bpp8},
        {"mono_g4.tiff", PixelFormat::Bpp1}, {"rgb.ppm", PixelFormat::Bpp24}, {"bits565.bmp", PixelFormat::Bpp24}};
    for (const auto& [name, format] : formats) {
        std::string bytes = readWholeFile(kSamples / name);
        Bitmap picture = decodeImage(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(picture.pixelFormat(), format) << name;
    }
}

// Runs, literal runs with their padding, a move ("delta") past the row's end, ends of rows and of the
// picture, with rows stored bottom-up: the indices worked out by hand from the codes in the samples.
TEST(ImageReaders, RunLengthCodesFollowTheirDefinition)
{
    const std::map<std::string, std::vector<std::vector<uint32_t>>> expected = {
        {"rle8.bmp", {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {1, 1, 1, 2, 0, 1}}},
        {"rle4.bmp", {{1, 0, 1, 0, 0, 0}, {1, 2, 1, 2, 1, 2}}}};
    for (const auto& [name, rows] : expected) {
        std::string bytes = readWholeFile(kSamples / name);
        Bitmap picture = decodeImage(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        ASSERT_EQ(picture.height(), static_cast<int>(rows.size())) << name;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                EXPECT_EQ(picture.pixelValue(x, y), rows[size_t(y)][size_t(x)]) << name << " " << x << "," << y;
    }
}

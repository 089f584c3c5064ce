// Every row of the format table, saved to a file named with its own extension, reads back in the
// library everyone else uses: lossless formats give the picture's pixels, JPEG and GIF give the
// picture their pane shows, and the pane's length is the file's length.
#include "GifTestSupport.h"
#include "OutputFormatsTestImages.h"
#include "formats/OutputFormats.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Decoded pixels as red, green, blue bytes, row by row from the top.
struct Rgb {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
    bool operator==(const Rgb&) const = default;
};

Rgb rgbOf(const Bitmap& b)
{
    Rgb out{b.width(), b.height(), {}};
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            ColorRef c = b.pixelColor(x, y);
            out.bytes.insert(out.bytes.end(), {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
                                               static_cast<uint8_t>((c >> 16) & 0xFF)});
        }
    }
    return out;
}

std::vector<uint8_t> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t le32(const std::vector<uint8_t>& f, size_t at)
{
    return f.at(at) | f.at(at + 1) << 8 | f.at(at + 2) << 16 | static_cast<uint32_t>(f.at(at + 3)) << 24;
}

// BMP by hand: a 24-bit, uncompressed, bottom-up file.
Rgb decodeBmp(const std::vector<uint8_t>& f)
{
    EXPECT_EQ(f.at(0), 'B');
    EXPECT_EQ(f.at(1), 'M');
    EXPECT_EQ(le32(f, 2), f.size());
    EXPECT_EQ(f.at(28), 24);
    Rgb out{static_cast<int>(le32(f, 18)), static_cast<int>(le32(f, 22)), {}};
    const size_t stride = (static_cast<size_t>(out.width) * 3 + 3) / 4 * 4;
    for (int y = 0; y < out.height; ++y) {
        const size_t row = le32(f, 10) + static_cast<size_t>(out.height - 1 - y) * stride;
        for (int x = 0; x < out.width; ++x) {
            const size_t p = row + static_cast<size_t>(x) * 3;
            out.bytes.insert(out.bytes.end(), {f.at(p + 2), f.at(p + 1), f.at(p)});
        }
    }
    return out;
}

Rgb decodePng(const std::vector<uint8_t>& f)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, f.data(), f.size())) {
        ADD_FAILURE() << image.message;
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    Rgb out{static_cast<int>(image.width), static_cast<int>(image.height), std::vector<uint8_t>(PNG_IMAGE_SIZE(image))};
    if (!png_image_finish_read(&image, nullptr, out.bytes.data(), 0, nullptr)) {
        ADD_FAILURE() << image.message;
    }
    return out;
}

Rgb decodeJpegWithLibjpeg(const std::vector<uint8_t>& f)
{
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, f.data(), static_cast<unsigned long>(f.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    Rgb out{static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
            std::vector<uint8_t>(static_cast<size_t>(cinfo.output_width) * cinfo.output_height * 3)};
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.bytes.data() + static_cast<size_t>(cinfo.output_scanline) * cinfo.output_width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return out;
}

Rgb decodeGif(const std::vector<uint8_t>& f)
{
    giftest::DecodedGif gif = giftest::decodeWithGiflib(f);
    EXPECT_TRUE(gif.ok) << gif.error;
    Rgb out{gif.width, gif.height, {}};
    for (uint8_t index : gif.indices) {
        const size_t at = static_cast<size_t>(index) * 3;
        out.bytes.insert(out.bytes.end(), {gif.colors.at(at), gif.colors.at(at + 1), gif.colors.at(at + 2)});
    }
    return out;
}

Rgb decodeTiff(const fs::path& path)
{
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (tif == nullptr) {
        ADD_FAILURE() << "libtiff cannot open " << path;
        return {};
    }
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    std::vector<uint32_t> abgr(static_cast<size_t>(width) * height);
    EXPECT_EQ(TIFFReadRGBAImageOriented(tif, width, height, abgr.data(), ORIENTATION_TOPLEFT, 0), 1);
    TIFFClose(tif);
    Rgb out{static_cast<int>(width), static_cast<int>(height), {}};
    for (uint32_t p : abgr) {
        out.bytes.insert(out.bytes.end(), {static_cast<uint8_t>(TIFFGetR(p)), static_cast<uint8_t>(TIFFGetG(p)),
                                           static_cast<uint8_t>(TIFFGetB(p))});
    }
    return out;
}

Rgb decodeFile(ImageFormat format, const fs::path& path)
{
    switch (format) {
    case ImageFormat::Bmp:
        return decodeBmp(readFile(path));
    case ImageFormat::Jpeg:
        return decodeJpegWithLibjpeg(readFile(path));
    case ImageFormat::Gif:
        return decodeGif(readFile(path));
    case ImageFormat::Png:
        return decodePng(readFile(path));
    case ImageFormat::Tiff:
        return decodeTiff(path);
    }
    return {};
}

} // namespace

TEST(FormatTable, EveryRowRoundTripsThroughAnIndependentDecoder)
{
    const fs::path dir = fs::temp_directory_path() / ("zentrap-format-table-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const Bitmap pictures[] = {testimages::photo24(77, 41), testimages::screenshot24(33, 20), Bitmap(1, 1)};
    ASSERT_EQ(outputFormats().size(), 5U);
    for (const OutputFormat& row : outputFormats()) {
        SCOPED_TRACE(std::string(row.word));
        // The row is found again by its code, its word and each of its extensions.
        EXPECT_EQ(&outputFormat(row.id), &row);
        EXPECT_EQ(outputFormatNamed(row.word), &row);
        EXPECT_NE(row.filter.find("(*." + std::string(row.defaultExtension()) + ")"), std::string_view::npos);
        for (const Bitmap& picture : pictures) {
            FormatSettings settings;
            settings.format = row.id;
            for (std::string_view extension : row.extensions) {
                const fs::path path = dir / ("picture." + std::string(extension));
                EXPECT_EQ(outputFormatOfFileName(path.string()), &row);
                saveFormat(picture, settings, path.string());
                const Measurement measured = measureFormat(picture, settings);
                EXPECT_EQ(fs::file_size(path), measured.length);
                const Rgb decoded = decodeFile(row.id, path);
                // Lossless rows give the picture back; the others give what their pane shows.
                if (row.previewIsImage()) {
                    EXPECT_EQ(measured.preview, picture);
                }
                EXPECT_TRUE(decoded == rgbOf(measured.preview)) << picture.width() << " x " << picture.height();
            }
        }
    }
    fs::remove_all(dir);
}

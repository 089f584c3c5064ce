#include "formats/TiffWriter.h"
#include "OutputFormatsTestImages.h"
#include "common/ZentrapError.h"
#include "formats/OutputFormats.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <unistd.h>
#include <utility>

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

std::vector<uint8_t> writeTiffBytes(const Bitmap& b)
{
    VectorSink sink;
    writeTiff(sink, b);
    EXPECT_EQ(sink.bytes.size(), tiffFileSize(b));
    return sink.bytes;
}

struct DirEntry {
    uint16_t tag, type;
    uint32_t count, value;
};

std::vector<DirEntry> directory(const std::vector<uint8_t>& file)
{
    uint32_t at = le32(file, 4);
    uint16_t n = le16(file, at);
    std::vector<DirEntry> entries;
    for (uint16_t i = 0; i < n; ++i) {
        size_t e = at + 2 + 12 * size_t{i};
        entries.push_back({le16(file, e), le16(file, e + 2), le32(file, e + 4), le32(file, e + 8)});
    }
    EXPECT_EQ(le32(file, at + 2 + 12 * size_t{n}), 0U) << "next directory";
    EXPECT_EQ(at + 2 + 12 * size_t{n} + 4, file.size()) << "the directory ends the file";
    return entries;
}

uint32_t valueOf(const std::vector<DirEntry>& entries, uint16_t tag)
{
    for (const auto& e : entries) {
        if (e.tag == tag) {
            return e.value;
        }
    }
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}

// Each tag's value in the directory, a table at a time.
void expectTagValues(const std::vector<DirEntry>& entries,
                     std::initializer_list<std::pair<uint16_t, uint32_t>> expected)
{
    for (const auto& [tag, value] : expected) {
        EXPECT_EQ(valueOf(entries, tag), value) << "tag " << tag;
    }
}

void expectSharedBlocks(const std::vector<uint8_t>& file, const std::vector<DirEntry>& entries)
{
    const std::vector<uint8_t> resolution = {0x6D, 0x03, 0, 0, 0x0A, 0, 0, 0};
    for (uint16_t tag : {282, 283}) {
        uint32_t at = valueOf(entries, tag);
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + at, file.begin() + at + 8), resolution);
    }
    uint32_t software = valueOf(entries, 305);
    EXPECT_EQ(std::string(file.begin() + software, file.begin() + software + 10), "Vorna soft");
    EXPECT_EQ(valueOf(entries, 296), 2U);
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_LT(entries[i - 1].tag, entries[i].tag) << "ascending tags";
    }
    for (const auto& e : entries) {
        if (e.tag == 305) {
            EXPECT_EQ(e.count, 10U);
            EXPECT_EQ(e.type, 2);
        }
    }
}

// Reads a file with libtiff after writing it to disk.
class LibtiffFile {
public:
    explicit LibtiffFile(const std::vector<uint8_t>& bytes)
    {
        char name[] = "/tmp/zentrap-tiff-XXXXXX";
        int fd = mkstemp(name);
        path_ = name;
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fd);
        tif_ = TIFFOpen(path_.c_str(), "r");
    }
    ~LibtiffFile()
    {
        if (tif_) {
            TIFFClose(tif_);
        }
        std::filesystem::remove(path_);
    }
    TIFF* get() const { return tif_; }

private:
    std::string path_;
    TIFF* tif_ = nullptr;
};

} // namespace

TEST(TiffWriter, OnePixelRgbImageIs229BytesWithTheDirectoryAtAnOddOffset)
{
    Bitmap b(1, 1);
    b.setPixelValue(0, 0, makeColor(0x11, 0x22, 0x33));
    std::vector<uint8_t> file = writeTiffBytes(b);
    ASSERT_EQ(file.size(), 229U);
    EXPECT_EQ((std::vector<uint8_t>{file[0], file[1], file[2], file[3]}), (std::vector<uint8_t>{'I', 'I', 42, 0}));
    EXPECT_EQ((std::vector<uint8_t>{file[4], file[5], file[6], file[7]}), (std::vector<uint8_t>{0x2B, 0, 0, 0}));
    EXPECT_EQ((std::vector<uint8_t>{file[40], file[41], file[42]}), (std::vector<uint8_t>{0x11, 0x22, 0x33}));
    EXPECT_EQ(file[43], 0x0F);
    EXPECT_EQ(file[44], 0x00);
    // Bits per sample 8, 8, 8 at 24, software at 30 directly followed by the pixels.
    EXPECT_EQ((std::vector<uint8_t>(file.begin() + 24, file.begin() + 30)), (std::vector<uint8_t>{8, 0, 8, 0, 8, 0}));
    std::vector<DirEntry> entries = directory(file);
    ASSERT_EQ(entries.size(), 15U);
    expectSharedBlocks(file, entries);
    const std::vector<std::pair<uint16_t, uint32_t>> expected = {{254, 0}, {256, 1},  {257, 1}, {258, 24}, {259, 1},
                                                                 {262, 2}, {273, 40}, {277, 3}, {278, 1},  {279, 3},
                                                                 {282, 8}, {283, 16}, {284, 1}, {296, 2},  {305, 30}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(entries[i].tag, expected[i].first);
        EXPECT_EQ(entries[i].value, expected[i].second) << "tag " << entries[i].tag;
    }
    EXPECT_EQ(entries[3].count, 3U);
    // A single SHORT stands in the first two bytes of its field.
    EXPECT_EQ(le16(file, 43 + 2 + 12 * 1 + 8), 1);
    EXPECT_EQ(le16(file, 43 + 2 + 12 * 1 + 10), 0);
}

TEST(TiffWriter, TwoByTwoRgbRowsHaveNoFillAndTheDirectoryFollows)
{
    Bitmap b(2, 2);
    b.setPixelValue(0, 0, makeColor(1, 2, 3));
    b.setPixelValue(1, 0, makeColor(4, 5, 6));
    b.setPixelValue(0, 1, makeColor(7, 8, 9));
    b.setPixelValue(1, 1, makeColor(10, 11, 12));
    std::vector<uint8_t> file = writeTiffBytes(b);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 40, file.begin() + 52),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(le32(file, 4), 52U);
    EXPECT_EQ(file.size(), 3U * 4 + 226);
}

TEST(TiffWriter, ThirtyTwoBitImagesWriteThreeBytesPerPixel)
{
    Bitmap b = testimages::random32(3, 2, 4);
    std::vector<uint8_t> file = writeTiffBytes(b);
    ASSERT_EQ(file.size(), 3U * 6 + 226);
    EXPECT_EQ(file[40], redOf(b.pixelValue(0, 0)));
    EXPECT_EQ(file[43], redOf(b.pixelValue(1, 0)));
    EXPECT_EQ(file[40 + 9 + 2], blueOf(b.pixelValue(0, 1)));
}

TEST(TiffWriter, FourBitWidthIsCutToAMultipleOfFour)
{
    Bitmap b = testimages::randomIndexed(13, 3, PixelFormat::Bpp4, 1);
    std::vector<uint8_t> file = writeTiffBytes(b);
    std::vector<DirEntry> entries = directory(file);
    ASSERT_EQ(entries.size(), 15U);
    expectSharedBlocks(file, entries);
    expectTagValues(entries, {{256, 12}, {258, 4}, {262, 3}, {273, 130}, {279, 18}, {320, 8}, {282, 104}, {305, 120}});
    EXPECT_EQ(entries.back().count, 48U);
    // Colour map: reds, greens, blues, each component in the high byte.
    EXPECT_EQ(file[8], 0);
    EXPECT_EQ(file[9], b.colorTable()[0].red);
    EXPECT_EQ(file[8 + 32 + 1], b.colorTable()[0].green);
    EXPECT_EQ(file[8 + 64 + 2 * 15 + 1], b.colorTable()[15].blue);
    // Rows top first, 6 bytes each, as the bitmap stores them.
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 130 + 6 * y, file.begin() + 136 + 6 * y),
                  std::vector<uint8_t>(b.row(y), b.row(y) + 6));
    }
    EXPECT_EQ(file.size(), 34U + 96 + 18 + 186);
}

TEST(TiffWriter, EightBitLayoutHasTheColourMapAtEightAndPixelsAt1570)
{
    Bitmap b = testimages::randomIndexed(5, 2, PixelFormat::Bpp8, 2);
    std::vector<uint8_t> file = writeTiffBytes(b);
    std::vector<DirEntry> entries = directory(file);
    EXPECT_EQ(valueOf(entries, 273), 1570U);
    EXPECT_EQ(valueOf(entries, 320), 8U);
    EXPECT_EQ(entries.back().count, 768U);
    EXPECT_EQ(file[1570], b.row(0)[0]);
    EXPECT_EQ(file.size(), 34U + 1536 + 10 + 186);
}

TEST(TiffWriter, NineWideBilevelImageHasTwoBytesPerRowAndFourteenEntries)
{
    Bitmap b = testimages::randomIndexed(9, 3, PixelFormat::Bpp1, 3);
    b.setColorTable({{0, 0, 0, 0}, {255, 255, 255, 0}}); // the bilevel layout's own colours
    std::vector<uint8_t> file = writeTiffBytes(b);
    std::vector<DirEntry> entries = directory(file);
    ASSERT_EQ(entries.size(), 14U);
    expectSharedBlocks(file, entries);
    expectTagValues(entries, {{273, 8}, {279, 6}, {262, 1}, {282, 14}, {305, 30}});
    EXPECT_EQ(le32(file, 4), 40U);
    EXPECT_EQ(file[8], b.row(0)[0]);
    EXPECT_EQ(file[9], b.row(0)[1]);
    EXPECT_EQ(file.size(), 8U + 6 + 26 + 2 + 168 + 4);
}

TEST(TiffWriter, LibtiffReadsPixelsAndTagsBack)
{
    TIFFSetWarningHandler(nullptr);
    std::vector<testimages::Case> cases = testimages::varied();
    cases.push_back({"bits4_28x5", testimages::randomIndexed(28, 5, PixelFormat::Bpp4, 8)});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap& b = c.image;
        if (b.pixelFormat() == PixelFormat::Bpp4 && b.width() % 4 != 0) {
            continue; // the cut width has a test of its own
        }
        LibtiffFile f(writeTiffBytes(b));
        ASSERT_NE(f.get(), nullptr);
        uint32_t w = 0, h = 0;
        uint16_t bits = 0, spp = 0, photometric = 0, unit = 0;
        float xres = 0;
        char* software = nullptr;
        TIFFGetField(f.get(), TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(f.get(), TIFFTAG_IMAGELENGTH, &h);
        TIFFGetField(f.get(), TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetField(f.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
        TIFFGetField(f.get(), TIFFTAG_PHOTOMETRIC, &photometric);
        TIFFGetField(f.get(), TIFFTAG_XRESOLUTION, &xres);
        TIFFGetField(f.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
        ASSERT_EQ(TIFFGetField(f.get(), TIFFTAG_SOFTWARE, &software), 1);
        EXPECT_EQ(std::string(software), "Vorna soft");
        EXPECT_EQ(w, static_cast<uint32_t>(b.width()));
        EXPECT_EQ(h, static_cast<uint32_t>(b.height()));
        EXPECT_FLOAT_EQ(xres, 87.7F);
        EXPECT_EQ(unit, RESUNIT_INCH);
        bool rgb = !isIndexed(b.pixelFormat());
        // The varied images' 1-bit table holds two colours other than black and white: 8-bit palette.
        int fileBits = b.bitsPerPixel() == 1 ? 8 : b.bitsPerPixel();
        EXPECT_EQ(bits, rgb ? 8 : fileBits);
        EXPECT_EQ(spp, rgb ? 3 : 1);
        EXPECT_EQ(photometric, rgb ? PHOTOMETRIC_RGB : PHOTOMETRIC_PALETTE);
        if (photometric == PHOTOMETRIC_PALETTE) {
            uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
            ASSERT_EQ(TIFFGetField(f.get(), TIFFTAG_COLORMAP, &red, &green, &blue), 1);
            const std::vector<RgbQuad>& t = b.colorTable();
            EXPECT_EQ(red[1], t[1].red * 256);
            EXPECT_EQ(green[t.size() - 1], t.back().green * 256);
            EXPECT_EQ(blue[t.size() - 1], t.back().blue * 256);
        }
        std::vector<uint8_t> line(static_cast<size_t>(TIFFScanlineSize(f.get())));
        for (uint32_t y = 0; y < h; ++y) {
            ASSERT_EQ(TIFFReadScanline(f.get(), line.data(), y, 0), 1);
            for (int x = 0; x < b.width(); ++x) {
                if (rgb) {
                    ColorRef c2 = makeColor(line[3 * x], line[3 * x + 1], line[3 * x + 2]);
                    ASSERT_EQ(c2, b.pixelValue(x, static_cast<int>(y))) << x << "," << y;
                } else if (fileBits == 8) {
                    ASSERT_EQ(line[static_cast<size_t>(x)], b.pixelValue(x, static_cast<int>(y)));
                } else {
                    ASSERT_EQ(line[static_cast<size_t>(x * b.bitsPerPixel() / 8)],
                              b.row(static_cast<int>(y))[x * b.bitsPerPixel() / 8]);
                }
            }
        }
    }
}

// What libtiff shows for each pixel, as 0x00BBGGRR.
std::vector<ColorRef> libtiffColours(const std::vector<uint8_t>& file, uint32_t width, uint32_t height)
{
    LibtiffFile f(file);
    std::vector<uint32_t> raster(size_t{width} * height);
    if (f.get() == nullptr ||
        !TIFFReadRGBAImageOriented(f.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 0)) {
        return {};
    }
    std::vector<ColorRef> colours;
    for (uint32_t p : raster) {
        colours.push_back(makeColor(static_cast<uint8_t>(TIFFGetR(p)), static_cast<uint8_t>(TIFFGetG(p)),
                                    static_cast<uint8_t>(TIFFGetB(p))));
    }
    return colours;
}

TEST(TiffWriter, OneBitImagesKeepTheirColoursInLibtiff)
{
    TIFFSetWarningHandler(nullptr);
    const RgbQuad black{0, 0, 0, 0}, white{255, 255, 255, 0}, red{0, 0, 200, 0}, blue{180, 0, 0, 0};
    struct Case {
        const char* name;
        std::vector<RgbQuad> table;
        uint16_t bits;
    };
    const std::vector<Case> cases = {{"black then white", {black, white}, 1},
                                     {"white then black", {white, black}, 1},
                                     {"no table", {}, 1},
                                     {"red then blue", {red, blue}, 8},
                                     {"white then red", {white, red}, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap b = testimages::randomIndexed(13, 5, PixelFormat::Bpp1, 11);
        b.setColorTable(c.table);
        std::vector<uint8_t> file = writeTiffBytes(b);
        std::vector<DirEntry> entries = directory(file);
        EXPECT_EQ(valueOf(entries, 258), c.bits);
        std::vector<ColorRef> shown = libtiffColours(file, 13, 5);
        ASSERT_EQ(shown.size(), 65U);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 13; ++x) {
                ASSERT_EQ(shown[static_cast<size_t>(y * 13 + x)], b.pixelColor(x, y)) << x << "," << y;
            }
        }
        if (c.bits == 1) {
            // The bilevel layout keeps the bitmap's bytes, inverted for a white-then-black table.
            uint8_t flip = c.table.size() == 2 && c.table[0] == white ? 0xFF : 0x00;
            EXPECT_EQ(file[8], b.row(0)[0] ^ flip);
            EXPECT_EQ(file[9] & 0xF8, (b.row(0)[1] ^ flip) & 0xF8);
        }
    }
}

TEST(TiffWriter, WritesNothingForAnEmptyBitmapAndRefusesSidesBeyondShortFields)
{
    VectorSink sink;
    writeTiff(sink, Bitmap());
    writeTiff(sink, Bitmap(0, 7));
    EXPECT_TRUE(sink.bytes.empty());
    EXPECT_EQ(tiffFileSize(Bitmap(7, 0)), 0U);
    EXPECT_THROW(writeTiff(sink, Bitmap(65536, 1)), ZentrapError);
    EXPECT_THROW(writeTiff(sink, Bitmap(1, 65536, PixelFormat::Bpp1)), ZentrapError);
    EXPECT_THROW(writeTiff(sink, Bitmap(3, 2, PixelFormat::Bpp4)), ZentrapError);
    EXPECT_TRUE(sink.bytes.empty());
    // The largest side that fits is written.
    writeTiff(sink, Bitmap(65535, 1, PixelFormat::Bpp1));
    EXPECT_EQ(sink.bytes.size(), 8U + 8192 + 26 + 2 + 168 + 4);
}

TEST(TiffWriter, SavedFileHasTheSameBytes)
{
    Bitmap b = testimages::photo24(31, 7);
    auto path = std::filesystem::temp_directory_path() / ("zentrap-save-tiff-" + std::to_string(getpid()) + ".tif");
    FormatSettings tiff;
    tiff.format = ImageFormat::Tiff;
    saveFormat(b, tiff, path.string());
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, writeTiffBytes(b));
    std::filesystem::remove(path);
}

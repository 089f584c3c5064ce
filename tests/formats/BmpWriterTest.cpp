#include "formats/BmpWriter.h"
#include "OutputFormatsTestImages.h"
#include "common/ZentrapError.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

std::vector<uint8_t> fileForm(const Bitmap& b)
{
    VectorSink sink;
    writeBmpFile(b, sink);
    return sink.bytes;
}

std::vector<uint8_t> measuredForm(const Bitmap& b)
{
    VectorSink sink;
    writeMeasuredBmp(b, sink);
    return sink.bytes;
}

QImage readWithQt(const std::vector<uint8_t>& bytes)
{
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
}

void expectSamePixels(const Bitmap& b, const QImage& q)
{
    ASSERT_FALSE(q.isNull());
    ASSERT_EQ(q.width(), b.width());
    ASSERT_EQ(q.height(), b.height());
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            QRgb p = q.pixel(x, y);
            ASSERT_EQ(makeColor(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)),
                                static_cast<uint8_t>(qBlue(p))),
                      b.pixelColor(x, y))
                << "pixel " << x << "," << y;
        }
    }
}

} // namespace

TEST(BmpWriter, TwentyFourBitSizeIsHeaderPlusPaddedRows)
{
    for (int w : {1, 2, 3, 4, 5, 13, 640}) {
        Bitmap b = testimages::random24(w, 3, static_cast<uint32_t>(w));
        std::vector<uint8_t> file = fileForm(b);
        size_t expected = 54 + 3 * ((static_cast<size_t>(w) * 3 + 3) / 4 * 4);
        EXPECT_EQ(file.size(), expected) << w;
        EXPECT_EQ(measuredForm(b), file) << "a 24-bit image measures as it saves";
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(le32(file, 2), expected);
        EXPECT_EQ(le32(file, 6), 0U);
        EXPECT_EQ(le32(file, 10), 54U);
        EXPECT_EQ(le32(file, 14), 40U);
        EXPECT_EQ(static_cast<int32_t>(le32(file, 18)), w);
        EXPECT_EQ(static_cast<int32_t>(le32(file, 22)), 3);
        EXPECT_EQ(le16(file, 26), 1);
        EXPECT_EQ(le16(file, 28), 24);
        EXPECT_EQ(le32(file, 30), 0U);
        EXPECT_EQ(le32(file, 34), expected - 54);
    }
}

TEST(BmpWriter, RowsAreBottomUpWithZeroFill)
{
    Bitmap b(1, 2);
    b.setPixelValue(0, 0, makeColor(1, 2, 3));
    b.setPixelValue(0, 1, makeColor(4, 5, 6));
    std::vector<uint8_t> file = fileForm(b);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()), (std::vector<uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));
}

TEST(BmpWriter, IndexedImagesKeepTheirFormatAndColourTable)
{
    for (PixelFormat f : {PixelFormat::Bpp1, PixelFormat::Bpp4, PixelFormat::Bpp8}) {
        Bitmap b = testimages::randomIndexed(9, 4, f, 5);
        std::vector<uint8_t> file = fileForm(b);
        size_t entries = size_t{1} << bitsPerPixel(f);
        size_t offset = 54 + 4 * entries;
        EXPECT_EQ(le32(file, 10), offset);
        EXPECT_EQ(le16(file, 28), bitsPerPixel(f));
        EXPECT_EQ(le32(file, 46), entries);
        EXPECT_EQ(file.size(), offset + 4 * b.stride());
        EXPECT_EQ(file[54], b.colorTable()[0].blue);
        EXPECT_EQ(file[55], b.colorTable()[0].green);
        EXPECT_EQ(file[56], b.colorTable()[0].red);
        EXPECT_EQ(file[57], 0);
        // The measured form is the 24-bit copy.
        EXPECT_EQ(measuredForm(b).size(), 54 + 4 * ((9 * 3 + 3) / 4 * 4));
    }
}

TEST(BmpWriter, TwentyFourBitCaptureWithSystemPaletteCarriesItAsColourTable)
{
    Bitmap b = testimages::random24(5, 2, 8);
    std::vector<PaletteEntry> palette(256);
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0};
    }
    b.attachSystemPalette(palette);
    std::vector<uint8_t> file = fileForm(b);
    EXPECT_EQ(le32(file, 10), 54U + 1024U);
    EXPECT_EQ(le32(file, 46), 256U);
    EXPECT_EQ(le32(file, 2), file.size());
    EXPECT_EQ(file[54 + 4 * 3], 7);       // blue
    EXPECT_EQ(file[54 + 4 * 3 + 1], 252); // green
    EXPECT_EQ(file[54 + 4 * 3 + 2], 3);   // red
    expectSamePixels(b, readWithQt(file));
    EXPECT_EQ(measuredForm(b), file) << "the 24-bit copy keeps the palette, so the size shown is the file's";
}

TEST(BmpWriter, QtReadsEveryFormBack)
{
    for (const auto& c : testimages::varied()) {
        SCOPED_TRACE(c.name);
        expectSamePixels(c.image, readWithQt(fileForm(c.image)));
        expectSamePixels(c.image, readWithQt(measuredForm(c.image)));
    }
}

TEST(BmpWriter, EmptyImageIsRefused)
{
    VectorSink sink;
    EXPECT_THROW(writeBmpFile(Bitmap(0, 4), sink), ZentrapError);
    EXPECT_THROW(writeMeasuredBmp(Bitmap(4, 0, PixelFormat::Bpp8), sink), ZentrapError);
    EXPECT_TRUE(sink.bytes.empty());
}

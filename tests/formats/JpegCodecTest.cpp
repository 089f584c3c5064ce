#include "formats/JpegCodec.h"
#include "OutputFormatsTestImages.h"
#include "common/ZentrapError.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool hasMarker(const std::vector<uint8_t>& file, uint8_t marker)
{
    for (size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == marker) {
            return true;
        }
    }
    return false;
}

// Mean absolute difference per channel between a bitmap and a decoded picture.
double meanError(const Bitmap& b, const QImage& q)
{
    double sum = 0;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            ColorRef c = b.pixelColor(x, y);
            QRgb p = q.pixel(x, y);
            sum += std::abs(qRed(p) - redOf(c)) + std::abs(qGreen(p) - greenOf(c)) + std::abs(qBlue(p) - blueOf(c));
        }
    }
    return sum / (3.0 * b.width() * b.height());
}

double meanError(const Bitmap& a, const Bitmap& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            ColorRef c = a.pixelColor(x, y);
            ColorRef d = b.pixelColor(x, y);
            sum += std::abs(redOf(c) - redOf(d)) + std::abs(greenOf(c) - greenOf(d)) + std::abs(blueOf(c) - blueOf(d));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

QImage decodeWithQt(const std::vector<uint8_t>& file)
{
    return QImage::fromData(file.data(), static_cast<int>(file.size()), "JPEG");
}

} // namespace

TEST(JpegCodec, QualityAndProgressionGiveFourDifferentStreams)
{
    Bitmap b = testimages::photo24(96, 64);
    std::vector<size_t> sizes;
    for (int q : {1, 100}) {
        for (bool progressive : {false, true}) {
            std::vector<uint8_t> file = encodeJpeg(b, q, progressive);
            EXPECT_EQ(hasMarker(file, 0xC2), progressive) << "progressive start of frame";
            EXPECT_EQ(hasMarker(file, 0xC0), !progressive) << "baseline start of frame";
            EXPECT_TRUE(hasMarker(file, 0xE0)) << "JFIF marker";
            sizes.push_back(file.size());
        }
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(std::unique(sizes.begin(), sizes.end()), sizes.end());
}

TEST(JpegCodec, IndependentDecoderReadsBackWithBoundedError)
{
    for (const auto& c : testimages::varied()) {
        SCOPED_TRACE(c.name);
        for (int q : {75, 100}) {
            QImage decoded = decodeWithQt(encodeJpeg(c.image, q, true));
            ASSERT_FALSE(decoded.isNull());
            ASSERT_EQ(decoded.width(), c.image.width());
            ASSERT_EQ(decoded.height(), c.image.height());
            bool smooth = c.name.rfind("photo", 0) == 0 || c.name.rfind("screenshot", 0) == 0;
            // Noise cannot survive chroma subsampling; smooth and flat pictures must.
            double bound = smooth ? (q == 100 ? 4.0 : 10.0) : 60.0;
            EXPECT_LT(meanError(c.image, decoded), bound) << "quality " << q;
        }
    }
}

TEST(JpegCodec, PreviewDecodeMatchesTheIndependentDecoderClosely)
{
    Bitmap b = testimages::photo24(123, 45);
    std::vector<uint8_t> file = encodeJpeg(b, 40, true);
    Bitmap preview = decodeJpeg(file);
    EXPECT_EQ(preview.pixelFormat(), PixelFormat::Bpp24);
    ASSERT_EQ(preview.width(), 123);
    ASSERT_EQ(preview.height(), 45);
    // Block smoothing changes a few values; both show the same picture.
    EXPECT_LT(meanError(preview, decodeWithQt(file)), 2.0);
    EXPECT_LT(meanError(b, preview), 12.0);
}

TEST(JpegCodec, ChannelOrderIsKept)
{
    Bitmap b(16, 16);
    b.fillRect({0, 0, 16, 16}, makeColor(250, 10, 10));
    QImage decoded = decodeWithQt(encodeJpeg(b, 100, false));
    ASSERT_FALSE(decoded.isNull());
    QRgb p = decoded.pixel(8, 8);
    EXPECT_GT(qRed(p), 230);
    EXPECT_LT(qBlue(p), 30);
    Bitmap preview = decodeJpeg(encodeJpeg(b, 100, false));
    EXPECT_GT(redOf(preview.pixelColor(8, 8)), 230);
    EXPECT_LT(blueOf(preview.pixelColor(8, 8)), 30);
}

TEST(JpegCodec, LibjpegErrorsBecomeExceptionsWithItsMessage)
{
    try {
        encodeJpeg(Bitmap(65501, 1), 75, true);
        FAIL() << "no error";
    } catch (const ZentrapError& e) {
        EXPECT_NE(std::string(e.what()).find("65500"), std::string::npos) << e.what();
    }
    try {
        encodeJpeg(Bitmap(0, 3), 75, false);
        FAIL() << "no error";
    } catch (const ZentrapError& e) {
        EXPECT_NE(std::string(e.what()).find("Empty JPEG image"), std::string::npos) << e.what();
    }
    const std::vector<uint8_t> notJpeg = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    try {
        decodeJpeg(notJpeg);
        FAIL() << "no error";
    } catch (const ZentrapError& e) {
        EXPECT_NE(std::string(e.what()).find("Not a JPEG file"), std::string::npos) << e.what();
    }
    EXPECT_THROW(decodeJpeg({}), ZentrapError);
    EXPECT_THROW(encodeJpeg(Bitmap(4, 4), 0, true), ZentrapError);
    EXPECT_THROW(encodeJpeg(Bitmap(4, 4), 101, true), ZentrapError);
}

TEST(JpegCodec, TruncatedStreamsDecodeOrFailCleanly)
{
    std::vector<uint8_t> file = encodeJpeg(testimages::photo24(64, 64), 80, true);
    for (size_t cut : {size_t{2}, size_t{20}, file.size() / 3, file.size() - 2}) {
        std::vector<uint8_t> part(file.begin(), file.begin() + static_cast<long>(cut));
        try {
            Bitmap b = decodeJpeg(part);
            EXPECT_EQ(b.width(), 64);
        } catch (const ZentrapError& e) {
            EXPECT_STRNE(e.what(), "");
        }
    }
}

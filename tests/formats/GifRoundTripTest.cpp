// Every palette x dither x coding on varied pictures, decoded by giflib: the indices are the
// quantiser's and the colours its palette.
#include "GifTestSupport.h"
#include "formats/GifFormat.h"
#include "formats/GifImage.h"
#include "formats/Quantize.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace giftest;

struct NamedPicture {
    std::string name;
    Bitmap picture;
};

std::vector<NamedPicture> pictures()
{
    return {
        {"noise 37x23", noisePicture(37, 23, 11)},
        {"screenshot 64x40", screenshotPicture(64, 40)},
        {"photo 45x31", photoPicture(45, 31, 5)},
        {"1x1", noisePicture(1, 1, 3)},
        {"1 wide", photoPicture(1, 29, 8)},
        {"1 high", photoPicture(33, 1, 9)},
        {"uniform 160x100", uniformPicture(160, 100, 12, 200, 99)},
    };
}

void expectDecodesTo(const std::vector<uint8_t>& bytes, const Bitmap& reduced, const std::string& what)
{
    DecodedGif decoded = decodeWithGiflib(bytes);
    ASSERT_TRUE(decoded.ok) << what << ": " << decoded.error;
    ASSERT_EQ(decoded.width, reduced.width()) << what;
    ASSERT_EQ(decoded.height, reduced.height()) << what;
    for (int y = 0; y < reduced.height(); ++y) {
        for (int x = 0; x < reduced.width(); ++x) {
            ASSERT_EQ(decoded.indices[static_cast<size_t>(y * reduced.width() + x)], reduced.row(y)[x])
                << what << " at " << x << "," << y;
        }
    }
    ASSERT_EQ(decoded.colors.size(), 256U * 3) << what;
    for (size_t i = 0; i < 256; ++i) {
        const RgbQuad& q = reduced.colorTable()[i];
        ASSERT_EQ(decoded.colors[i * 3], q.red) << what << " entry " << i;
        ASSERT_EQ(decoded.colors[i * 3 + 1], q.green) << what << " entry " << i;
        ASSERT_EQ(decoded.colors[i * 3 + 2], q.blue) << what << " entry " << i;
    }
}

TEST(GifRoundTripTest, EveryPaletteDitherAndCodingDecodesToTheQuantisersIndices)
{
    for (const NamedPicture& p : pictures()) {
        for (int palette = 1; palette <= 8; ++palette) {
            for (int dither = 0; dither <= 6; ++dither) {
                Bitmap reduced =
                    QuantizeBitmap(p.picture, ReductionModeFromCode(palette), DitherModeFromCode(dither), 5);
                for (int compression = 0; compression <= 1; ++compression) {
                    GifOptions options;
                    options.paletteMode = palette;
                    options.ditherMode = dither;
                    options.colorCount = 32;
                    options.compression = compression;
                    VectorSink sink;
                    writeGifVariant(p.picture, options, sink);
                    expectDecodesTo(sink.bytes, reduced,
                                    p.name + " palette " + std::to_string(palette) + " dither " +
                                        std::to_string(dither) + " coding " + std::to_string(compression));
                }
            }
        }
    }
}

TEST(GifRoundTripTest, LargeNoiseAndLongRunsSurviveBothCodings)
{
    // Enough codes for several table resets, and runs long enough for many run-code clears.
    Bitmap noise = noisePicture(301, 97, 4);
    Bitmap striped = uniformPicture(1031, 67, 250, 250, 250);
    striped.fillRect({0, 30, 1031, 31}, makeColor(0, 0, 0));
    striped.fillRect({500, 0, 503, 67}, makeColor(255, 0, 0));
    for (const Bitmap* picture : {&noise, &striped}) {
        Bitmap reduced = QuantizeBitmap(*picture, ReductionMode::OptimizedWindows, DitherMode::NearestColor, 8);
        for (int compression = 0; compression <= 1; ++compression) {
            GifOptions options;
            options.compression = compression;
            VectorSink sink;
            writeGifVariant(*picture, options, sink);
            expectDecodesTo(sink.bytes, reduced, "coding " + std::to_string(compression));
        }
    }
}

TEST(GifRoundTripTest, IndexedPicturesOfEveryDepthKeepTheirIndices)
{
    std::mt19937 rng(17);
    for (PixelFormat format : {PixelFormat::Bpp1, PixelFormat::Bpp4, PixelFormat::Bpp8}) {
        for (auto [w, h] : {std::pair{13, 7}, std::pair{1, 5}, std::pair{9, 1}}) {
            Bitmap picture(w, h, format);
            int colors = 1 << bitsPerPixel(format);
            std::vector<RgbQuad> table(static_cast<size_t>(colors));
            for (auto& q : table) {
                q = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 0};
            }
            picture.setColorTable(table);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    picture.setPixelValue(x, y, rng() % static_cast<uint32_t>(colors));
                }
            }
            for (int compression = 0; compression <= 1; ++compression) {
                GifOptions options;
                options.compression = compression;
                VectorSink sink;
                writeGifVariant(picture, options, sink);
                DecodedGif decoded = decodeWithGiflib(sink.bytes);
                ASSERT_TRUE(decoded.ok) << decoded.error;
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x) {
                        EXPECT_EQ(decoded.indices[static_cast<size_t>(y * w + x)], picture.pixelValue(x, y));
                    }
                }
                ASSERT_EQ(decoded.colors.size(), static_cast<size_t>(colors) * 3);
                EXPECT_EQ(decoded.colors[0], table[0].red);
                EXPECT_EQ(decoded.colors[decoded.colors.size() - 1], table.back().blue);
            }
        }
    }
}

} // namespace

// The run-length coder: its arithmetic, a hand-worked run, and uniform pictures read back by giflib.
#include "formats/RleEncoder.h"
#include "GifTestSupport.h"
#include "formats/GifEncoder.h"
#include "formats/GifImage.h"

#include <gtest/gtest.h>

namespace {

TEST(RleEncoderTest, IntegerSquareRootRoundsDown)
{
    const std::pair<uint64_t, uint64_t> cases[] = {{0, 0},  {1, 1},    {2, 1},          {3, 1},
                                                   {4, 2},  {15, 3},   {16, 4},         {17, 4},
                                                   {99, 9}, {100, 10}, {1000000, 1000}, {4294836225ULL, 65535}};
    for (auto [x, root] : cases) {
        EXPECT_EQ(RleEncoder::IntegerSquareRoot(x), root) << x;
    }
}

TEST(RleEncoderTest, TriangleCountIsTheCodesForGrowingRuns)
{
    EXPECT_EQ(RleEncoder::TriangleCount(1, 4000), 1U);
    EXPECT_EQ(RleEncoder::TriangleCount(3, 4000), 2U); // 1 + 2
    EXPECT_EQ(RleEncoder::TriangleCount(4, 4000), 3U); // 1 + 2 + (1)
    EXPECT_EQ(RleEncoder::TriangleCount(6, 4000), 3U); // 1 + 2 + 3
    EXPECT_EQ(RleEncoder::TriangleCount(7, 2), 5U);    // (1 + 2) twice, then 1
    EXPECT_EQ(RleEncoder::TriangleCount(0, 2), 0U);
}

TEST(RleEncoderTest, RunOfFiveIsThePixelThenTwoRunCodes)
{
    // Clear (4), pixel 0, code 6 ("00"), code 6 again (the decoder's "00"), end code 5 at width 4.
    VectorSink sink;
    std::vector<uint8_t> pixels(5, 0);
    WriteGifImageData(sink, pixels, 5, 1, false, 1, 1, GifCompression::RLE);
    EXPECT_EQ(sink.bytes, (std::vector<uint8_t>{2, 2, 0x84, 0x5D, 0}));
}

TEST(RleEncoderTest, UniformPicturesUseRunCodesAndClearInTime)
{
    for (auto [width, height] : {std::pair{640, 480}, std::pair{1, 3000}, std::pair{4099, 1}}) {
        Bitmap picture(width, height, PixelFormat::Bpp8);
        picture.setColorTable({{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}});
        picture.fillRect({0, 0, width, height}, makeColor(60, 50, 40));
        GifEncoderSettings rle;
        rle.Compression = GifCompression::RLE;
        GifImage gif(rle);
        gif.Assign(picture);
        VectorSink sink;
        gif.SaveToStream(sink);

        giftest::DecodedGif decoded = giftest::decodeWithGiflib(sink.bytes);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.indices, std::vector<uint8_t>(static_cast<size_t>(width) * height, 1));

        // Image data starts after 13 header bytes, the 10-byte descriptor and a 4-entry table.
        std::vector<uint8_t> data(sink.bytes.begin() + 13 + 10 + 12, sink.bytes.end() - 1);
        giftest::CodeStream stream = giftest::readCodes(data);
        EXPECT_LE(*std::max_element(stream.widths.begin(), stream.widths.end()), 12);
        EXPECT_LE(stream.maxTableSize, 4095);
        for (int code : stream.codes) {
            EXPECT_TRUE(code == 1 || code >= 4) << "only the pixel, clear, end and run codes: " << code;
        }
        EXPECT_LT(stream.codes.size(), static_cast<size_t>(width) * height / 8 + 8) << "runs are coded as runs";
    }
}

} // namespace

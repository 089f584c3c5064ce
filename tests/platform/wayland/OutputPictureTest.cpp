// An output's picture lands in the layout the same whatever the byte order, the row order and the
// scale the compositor chose: each variant is built from the DRM name of its pixel format and must
// give exactly the picture's own pixels where the output lies, and nothing elsewhere. (Transforms
// are checked against the compositor's own grabs in tests/wayland/screencopy_session.sh.)
#include "platform/wayland/OutputPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t fourcc(const char (&code)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

struct NamedFormat {
    uint32_t code;
    std::string drmName; // channels from the most significant bits of a little-endian word
};

const std::vector<NamedFormat> kFormats = {
    {0, "ARGB8888"},
    {1, "XRGB8888"},
    {fourcc("XB24"), "XBGR8888"},
    {fourcc("AB24"), "ABGR8888"},
    {fourcc("BX24"), "BGRX8888"},
    {fourcc("BA24"), "BGRA8888"},
    {fourcc("RX24"), "RGBX8888"},
    {fourcc("RA24"), "RGBA8888"},
    {fourcc("RG24"), "RGB888"},
    {fourcc("BG24"), "BGR888"},
};

struct Rgb {
    uint8_t r, g, b;
};

// The bytes of one pixel in memory, lowest address first, as the format's name lays them out.
std::vector<uint8_t> pixelBytes(const std::string& drmName, Rgb colour)
{
    const std::string channels = drmName.substr(0, drmName.find_first_of("0123456789"));
    std::vector<uint8_t> bytes;
    for (auto c = channels.rbegin(); c != channels.rend(); ++c) {
        bytes.push_back(*c == 'R' ? colour.r : *c == 'G' ? colour.g : *c == 'B' ? colour.b : uint8_t{0x5A});
    }
    return bytes;
}

TEST(OutputPicture, EveryByteOrderRowOrderAndScaleGivesThePicturesOwnPixels)
{
    constexpr int kWidth = 5, kHeight = 3;
    std::mt19937 random(7);
    std::vector<Rgb> picture(kWidth * kHeight);
    for (Rgb& p : picture) {
        p = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random())};
    }
    const Rect output = Rect::fromSize(10, 20, kWidth, kHeight);
    const Rect area = Rect::fromSize(8, 19, 9, 6); // the output and some of the layout around it
    for (const NamedFormat& format : kFormats) {
        for (bool yInverted : {false, true}) {
            for (int scale : {1, 2, 3}) {
                SCOPED_TRACE(format.drmName + (yInverted ? " y-inverted" : "") + " scale " + std::to_string(scale));
                const int width = kWidth * scale, height = kHeight * scale;
                const int bytesPerPixel = static_cast<int>(pixelBytes(format.drmName, {}).size());
                const int stride = width * bytesPerPixel + 3;
                std::vector<uint8_t> buffer(static_cast<size_t>(stride) * height, 0xEE);
                for (int row = 0; row < height; ++row) {
                    const int shownRow = yInverted ? height - 1 - row : row;
                    for (int x = 0; x < width; ++x) {
                        const std::vector<uint8_t> bytes =
                            pixelBytes(format.drmName, picture[(shownRow / scale) * kWidth + x / scale]);
                        std::copy(bytes.begin(), bytes.end(), buffer.begin() + row * stride + x * bytesPerPixel);
                    }
                }
                const std::optional<ShmPixelLayout> layout = shmPixelLayout(format.code);
                ASSERT_TRUE(layout);
                Bitmap target(area.width(), area.height());
                target.fillRect({0, 0, area.width(), area.height()}, 0x123456);
                const Bitmap untouched = target;
                placeOutputPicture({buffer.data(), width, height, stride, *layout, yInverted, 0, output}, area, target);
                for (int y = area.top; y < area.bottom; ++y) {
                    for (int x = area.left; x < area.right; ++x) {
                        const uint8_t* got = target.row(y - area.top) + 3 * (x - area.left);
                        const uint8_t* before = untouched.row(y - area.top) + 3 * (x - area.left);
                        if (!output.contains({x, y})) {
                            ASSERT_EQ(std::vector<uint8_t>(got, got + 3), std::vector<uint8_t>(before, before + 3));
                            continue;
                        }
                        const Rgb want = picture[(y - output.top) * kWidth + (x - output.left)];
                        ASSERT_EQ((std::vector<uint8_t>{got[0], got[1], got[2]}),
                                  (std::vector<uint8_t>{want.b, want.g, want.r}))
                            << "at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(OutputPicture, FormatsOfOtherChannelDepthsAreNotRead)
{
    EXPECT_FALSE(shmPixelLayout(fourcc("XR30"))); // XRGB2101010
    EXPECT_FALSE(shmPixelLayout(fourcc("RG16"))); // RGB565
    EXPECT_EQ(shmFormatName(fourcc("XR30")), "XR30");
}

} // namespace

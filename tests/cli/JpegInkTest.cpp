// zentrap-cli reads JPEG files stored as printing inks (CMYK, and YCCK that libjpeg turns into
// CMYK) as the colours they print: the way Adobe's programs store them (inverted amounts, with
// Adobe's marker) and plain amounts without the marker.
#include "../support/TempFolder.h"
#include "CliRunner.h"
#include "LibjpegFile.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Patch {
    std::array<int, 4> ink; // cyan, magenta, yellow, black: 0 none to 255 full
    std::array<int, 3> rgb; // what is left of white
};

// Four 16 x 16 patches side by side.
const std::vector<Patch> kPatches = {
    {{255, 0, 0, 0}, {0, 255, 255}},
    {{0, 255, 0, 0}, {255, 0, 255}},
    {{0, 0, 0, 128}, {127, 127, 127}},
    {{51, 102, 153, 0}, {204, 153, 102}},
};

std::vector<uint8_t> decodedRgb(const fs::path& png, int& width, int& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, png.c_str())) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

} // namespace

TEST(JpegInk, CmykAndYcckFilesAreReadAsTheColoursTheyPrint)
{
    TempFolder folder;
    struct Case {
        std::string name;
        J_COLOR_SPACE stored;
        bool adobe;
    } cases[] = {{"adobe-cmyk", JCS_CMYK, true}, {"adobe-ycck", JCS_YCCK, true}, {"plain-cmyk", JCS_CMYK, false}};
    for (const Case& c : cases) {
        LibjpegRecipe recipe;
        recipe.components = 4;
        recipe.stored = c.stored;
        recipe.adobeMarker = c.adobe;
        recipe.quality = 95;
        std::string bytes = libjpegFile(64, 16, recipe, [&](int x, int, int channel) {
            int ink = kPatches[static_cast<size_t>(x / 16)].ink[static_cast<size_t>(channel)];
            return static_cast<JSAMPLE>(c.adobe ? 255 - ink : ink);
        });
        fs::path in = folder.path / (c.name + ".jpg");
        std::ofstream(in, std::ios::binary) << bytes;
        fs::path out = folder.path / (c.name + ".png");
        CliRun run = runCli({"encode", "--format", "png", in, out});
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
        int width = 0, height = 0;
        std::vector<uint8_t> rgb = decodedRgb(out, width, height);
        ASSERT_EQ(width, 64) << c.name;
        ASSERT_EQ(height, 16) << c.name;
        for (size_t p = 0; p < kPatches.size(); ++p) {
            const uint8_t* centre = &rgb[(8 * 64 + p * 16 + 8) * 3];
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(centre[k], kPatches[p].rgb[static_cast<size_t>(k)], 8)
                    << c.name << " patch " << p << " channel " << k;
            }
        }
    }
}

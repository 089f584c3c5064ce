// What a picture from outside may cost zentrap-cli, end to end: small files that declare large
// pictures take at most the picture twice (read, then the result) and only up to the limit the
// user sets; files whose decoding would take minutes are refused.
#include "../support/TempFolder.h"
#include "CliRunner.h"
#include "LibjpegFile.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A JPEG made by libjpeg: arithmetic coded pictures are flat, which that coding turns into a few
// hundred bytes whatever the size; the others carry a pattern.
std::string libjpegFile(int width, int height, bool arithmetic, std::vector<jpeg_scan_info> scans = {})
{
    LibjpegRecipe recipe;
    recipe.arithmetic = arithmetic;
    recipe.scans = std::move(scans);
    return libjpegFile(width, height, recipe, [&](int x, int y, int c) {
        return static_cast<JSAMPLE>(arithmetic ? 128 : (x * 15 + c * 5 + y * 3) % 256);
    });
}

// A valid progressive script of exactly `count` scans (4 to 190): the DC of all three components,
// then each component's AC coefficients 1-63 in as many single-coefficient bands as needed.
std::vector<jpeg_scan_info> progressiveScans(int count)
{
    std::vector<jpeg_scan_info> scans;
    jpeg_scan_info dc{};
    dc.comps_in_scan = 3;
    dc.component_index[0] = 0, dc.component_index[1] = 1, dc.component_index[2] = 2;
    scans.push_back(dc);
    int left = count - 1;
    for (int component = 0; component < 3; ++component) {
        int bands = std::min(63, left - (2 - component)); // leave one scan for each later component
        left -= bands;
        for (int band = 0; band < bands; ++band) {
            jpeg_scan_info ac{};
            ac.comps_in_scan = 1;
            ac.component_index[0] = component;
            ac.Ss = band + 1;
            ac.Se = band + 1 == bands ? 63 : band + 1;
            scans.push_back(ac);
        }
    }
    return scans;
}

// An 8-bit run-length BMP whose few bytes only move the pen down: a valid picture of any size.
std::string runLengthBmp(int width, int height)
{
    std::string data;
    for (int rows = 0; rows < height - 1;) {
        int down = std::min(255, height - 1 - rows);
        data += std::string{'\0', '\2', '\0', static_cast<char>(down)};
        rows += down;
    }
    data += std::string{'\0', '\1'};
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += std::string{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), '\0'};
    }
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto le16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size());
    return "BM" + le32(offset + static_cast<uint32_t>(data.size())) + le32(0) + le32(offset) + le32(40) +
           le32(static_cast<uint32_t>(width)) + le32(static_cast<uint32_t>(height)) + le16(1) + le16(8) + le32(1) +
           le32(static_cast<uint32_t>(data.size())) + le32(2835) + le32(2835) + le32(256) + le32(0) + palette + data;
}

// Width and height of a PNG file as libpng reads it.
std::pair<uint32_t, uint32_t> pngSize(const fs::path& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return {0, 0};
    }
    png_image_free(&image);
    return {image.width, image.height};
}

class PictureCost : public ::testing::Test {
protected:
    fs::path file(const std::string& name, const std::string& bytes)
    {
        fs::path path = folder_.path / name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    fs::path output() const { return folder_.path / "out.png"; }

    TempFolder folder_;
};

// The program's own memory with a picture of a few pixels (the sanitizer build's share included).
long baselineKilobytes(const fs::path& folder)
{
    fs::path small = folder / "small.bmp";
    std::ofstream(small, std::ios::binary) << runLengthBmp(8, 8);
    return runCli({"rotate", "90", small, folder / "small-out.png"}).peakKilobytes;
}

} // namespace

TEST_F(PictureCost, RotatingAPictureFromAFewBytesTakesAtMostThePictureTwice)
{
    const long baseline = baselineKilobytes(folder_.path);
    ASSERT_GT(baseline, 0);
    struct Case {
        std::string name;
        std::string bytes;
        long pictureKilobytes; // the decoded picture
    } cases[] = {
        {"flat.jpg", libjpegFile(4096, 3072, true), 4096L * 3072 * 3 / 1024},
        {"runs.bmp", runLengthBmp(4096, 4096), 4096L * 4096 / 1024},
    };
    for (const Case& c : cases) {
        ASSERT_LT(c.bytes.size(), 2000U) << c.name;
        CliRun run = runCli({"rotate", "90", file(c.name, c.bytes), output()});
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
        // The sanitizer's shadow of the pictures adds up to an eighth.
        EXPECT_LT(run.peakKilobytes - baseline, 2 * c.pictureKilobytes + c.pictureKilobytes / 4 + 16 * 1024)
            << c.name << ": " << run.peakKilobytes << " KB, " << baseline << " KB without the picture";
        auto [width, height] = pngSize(output());
        EXPECT_EQ(width, c.name == "flat.jpg" ? 3072U : 4096U) << c.name;
        EXPECT_EQ(height, 4096U) << c.name;
        fs::remove(output());
    }
}

// The user's lower limit holds for every way of giving it, before any pixel memory is taken.
TEST_F(PictureCost, TheUserLowersThePixelLimitByOptionOrEnvironment)
{
    fs::path picture = file("runs.bmp", runLengthBmp(4096, 4096));
    const long baseline = baselineKilobytes(folder_.path);
    const std::string refusal = "Image too large: 4096 x 4096 pixels, more than the limit of 16000000";

    CliRun byOption = runCli({"rotate", "180", "--max-pixels", "16000000", picture, output()});
    EXPECT_EQ(byOption.exitCode, 1);
    EXPECT_NE(byOption.err.find(refusal), std::string::npos) << byOption.err;
    EXPECT_LT(byOption.peakKilobytes, baseline + 4 * 1024);
    EXPECT_FALSE(fs::exists(output()));

    ::setenv("ZENTRAP_MAX_PIXELS", "16000000", 1);
    CliRun byVariable = runCli({"encode", "--format", "png", picture, output()});
    CliRun optionWins = runCli({"encode", "--format", "png", "--max-pixels=16777216", picture, output()});
    ::setenv("ZENTRAP_MAX_PIXELS", "many", 1);
    CliRun badVariable = runCli({"rotate", "90", picture, output()});
    ::unsetenv("ZENTRAP_MAX_PIXELS");
    EXPECT_EQ(byVariable.exitCode, 1);
    EXPECT_NE(byVariable.err.find(refusal), std::string::npos) << byVariable.err;
    EXPECT_EQ(optionWins.exitCode, 0) << optionWins.err;
    EXPECT_EQ(badVariable.exitCode, 2);
    EXPECT_NE(badVariable.err.find("ZENTRAP_MAX_PIXELS wants a whole number from 1 to 268435456"), std::string::npos)
        << badVariable.err;

    // Pictures the program makes are held to it too.
    CliRun resized = runCli({"resize", "--width", "5000", "--height", "5000", "--max-pixels", "1000000", picture,
                             folder_.path / "big.png"});
    EXPECT_EQ(resized.exitCode, 1);
    EXPECT_NE(resized.err.find("Image too large: 5000 x 5000 pixels"), std::string::npos) << resized.err;
}

// Every progressive scan is one more pass over the whole picture: past the most a real file uses,
// the file is refused at once and says why.
TEST_F(PictureCost, ProgressiveFilesWithMoreScansThanRealFilesUseAreRefused)
{
    CliRun hundred = runCli(
        {"encode", "--format", "png", file("100.jpg", libjpegFile(64, 48, false, progressiveScans(100))), output()});
    EXPECT_EQ(hundred.exitCode, 0) << hundred.err;
    EXPECT_EQ(pngSize(output()), std::make_pair(64U, 48U));
    fs::remove(output());

    CliRun more = runCli(
        {"encode", "--format", "png", file("101.jpg", libjpegFile(64, 48, false, progressiveScans(101))), output()});
    EXPECT_EQ(more.exitCode, 1);
    EXPECT_NE(more.err.find("JPEG file refused: it has more than 100 progressive scans"), std::string::npos)
        << more.err;
    EXPECT_FALSE(fs::exists(output()));
}

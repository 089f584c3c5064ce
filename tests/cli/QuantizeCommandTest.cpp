// zentrap-cli quantize: a picture in, the reduced 8-bit picture out as an indexed PNG.
#include "CliRunner.h"

#include <png.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class QuantizeCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("zentrap-quantize-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    static int run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "quantize");
        return runCli(args).exitCode;
    }

    // A 4 x 2 PPM: black, white, mid-grey 128, grey 127 in each row.
    fs::path writeGreys()
    {
        fs::path path = dir / "in.ppm";
        std::ofstream out(path, std::ios::binary);
        out << "P6\n4 2\n255\n";
        for (int y = 0; y < 2; ++y) {
            for (unsigned char v : {0, 255, 128, 127}) {
                out.put(static_cast<char>(v)).put(static_cast<char>(v)).put(static_cast<char>(v));
            }
        }
        return path;
    }

    fs::path dir;
};

TEST_F(QuantizeCommandTest, WritesTheMonochromeReductionAsAnIndexedPng)
{
    fs::path input = writeGreys();
    fs::path output = dir / "out.png";
    ASSERT_EQ(run({"--palette", "4", input, output}), 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, output.string().c_str())) << image.message;
    EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_COLORMAP);
    EXPECT_EQ(image.colormap_entries, 256U);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    // Row 1 runs right to left, which makes no difference without dithering.
    for (int y = 0; y < 2; ++y) {
        const uint8_t* row = pixels.data() + y * 12;
        EXPECT_EQ(row[0], 0);
        EXPECT_EQ(row[3], 255);
        EXPECT_EQ(row[6], 255); // 128 is white
        EXPECT_EQ(row[9], 0);   // 127 is black
    }
}

TEST_F(QuantizeCommandTest, RefusesSettingsOutsideTheirLists)
{
    fs::path input = writeGreys();
    const std::string in = input;
    const std::string out = dir / "out.png";
    EXPECT_EQ(run({"--palette", "9", in, out}), 2);
    EXPECT_EQ(run({"--palette", "7", "--colors", "48", in, out}), 2);
    EXPECT_EQ(run({"--palette", "1", "--dither", "7", in, out}), 2);
    EXPECT_EQ(run({in, out}), 2);
    EXPECT_EQ(run({"--palette", "1", dir / "missing.ppm", dir / "o.png"}), 1);
    EXPECT_FALSE(fs::exists(dir / "o.png"));
}

} // namespace

// zentrap-cli resize and rotate give the same pixels as the algorithms called directly.
#include "../editor/TestImages.h"
#include "CliRunner.h"
#include "editor/FilterTable.h"
#include "editor/PlainStretch.h"
#include "editor/Resample.h"
#include "editor/Rotation.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class ImageCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("zentrap-image-commands-" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Runs the program; returns its exit code and keeps what it wrote to stderr.
    int run(const std::vector<std::string>& arguments)
    {
        CliRun result = runCli(arguments);
        stderr_ = result.err;
        return result.exitCode;
    }

    static void writePng(const Bitmap& b, const std::string& file)
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(b.width());
        image.height = static_cast<png_uint_32>(b.height());
        image.format = PNG_FORMAT_BGR;
        ASSERT_NE(
            png_image_write_to_file(&image, file.c_str(), 0, b.bits(), static_cast<png_int_32>(b.stride()), nullptr),
            0);
    }

    static Bitmap readPng(const std::string& file)
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
            ADD_FAILURE() << "cannot read " << file;
            return {};
        }
        image.format = PNG_FORMAT_BGR;
        Bitmap b(static_cast<int>(image.width), static_cast<int>(image.height));
        EXPECT_NE(png_image_finish_read(&image, nullptr, b.bits(), static_cast<png_int_32>(b.stride()), nullptr), 0);
        return b;
    }

    fs::path folder_;
    std::string stderr_;
};

TEST_F(ImageCommands, ResizeGivesTheEditorsPixels)
{
    Bitmap source = testimages::photoImage(67, 41, 3);
    writePng(source, path("in.png"));

    ASSERT_EQ(run({"resize", "--width", "50", "--height", "77", path("in.png"), path("mitchell.png")}), 0) << stderr_;
    Bitmap expected(50, 77);
    ResampleBitmap(source, expected, MitchellFilter, 2.0F);
    EXPECT_EQ(readPng(path("mitchell.png")), expected);

    ASSERT_EQ(
        run({"resize", "--width", "20", "--height", "9", "--filter", "lanczos3", path("in.png"), path("lanczos.png")}),
        0);
    Bitmap lanczos(20, 9);
    ResampleBitmap(source, lanczos, Lanczos3Filter, 3.0F);
    EXPECT_EQ(readPng(path("lanczos.png")), lanczos);

    ASSERT_EQ(run({"resize", "--plain", "--width", "134", "--height", "30", path("in.png"), path("plain.png")}), 0);
    Bitmap plain(134, 30);
    PlainStretch(source, plain);
    EXPECT_EQ(readPng(path("plain.png")), plain);
}

TEST_F(ImageCommands, RotateGivesTheEditorsPixels)
{
    Bitmap source = testimages::screenshotImage(45, 28);
    writePng(source, path("in.png"));
    for (auto [text, angle] : {std::pair{"90", RotationAngle::Rotate90}, std::pair{"180", RotationAngle::Rotate180},
                               std::pair{"270", RotationAngle::Rotate270}}) {
        ASSERT_EQ(run({"rotate", text, path("in.png"), path("out.png")}), 0) << stderr_;
        Bitmap expected;
        RotateBitmap(source, expected, angle);
        EXPECT_EQ(readPng(path("out.png")), expected) << text;
    }
    // A grey picture is turned as it is read (8-bit), with the same pixels.
    std::string pgm = "P5 13 7 255\n";
    for (int i = 0; i < 13 * 7; ++i) {
        pgm += static_cast<char>(i * 37 % 256);
    }
    std::ofstream(path("grey.pgm"), std::ios::binary) << pgm;
    Bitmap grey(13, 7);
    for (int i = 0; i < 13 * 7; ++i) {
        auto level = static_cast<uint8_t>(i * 37 % 256);
        grey.setPixelValue(i % 13, i / 13, makeColor(level, level, level));
    }
    for (auto [text, angle] : {std::pair{"90", RotationAngle::Rotate90}, std::pair{"180", RotationAngle::Rotate180},
                               std::pair{"270", RotationAngle::Rotate270}}) {
        ASSERT_EQ(run({"rotate", text, path("grey.pgm"), path("grey.png")}), 0) << stderr_;
        Bitmap expected;
        RotateBitmap(grey, expected, angle);
        EXPECT_EQ(readPng(path("grey.png")), expected) << "grey " << text;
    }
}

TEST_F(ImageCommands, BadArgumentsAreRefusedWithAMessage)
{
    writePng(testimages::randomImage(4, 4, 1), path("in.png"));
    const std::string in = path("in.png");
    const std::string out = path("out.png");
    EXPECT_EQ(run({"resize", "--width", "0", "--height", "5", in, out}), 2);
    EXPECT_NE(stderr_.find("--width wants a whole number from 1"), std::string::npos) << stderr_;
    EXPECT_EQ(run({"resize", "--width", "5", "--height", "-3", in, out}), 2);
    EXPECT_NE(stderr_.find("--height wants a whole number from 1"), std::string::npos) << stderr_;
    EXPECT_EQ(run({"resize", "--width", "5", "--height", "2x", in, out}), 2);
    EXPECT_EQ(run({"resize", "--width", "99999999999", "--height", "2", in, out}), 2);
    EXPECT_EQ(run({"resize", "--width", "60000", "--height", "60000", in, out}), 2);
    EXPECT_NE(stderr_.find("too big"), std::string::npos) << stderr_;
    EXPECT_EQ(run({"resize", "--width", "5", "--height", "5", "--filter", "bicubic", in, out}), 2);
    EXPECT_EQ(run({"resize", "--width", "5", in, out}), 2);
    EXPECT_EQ(run({"rotate", "45", in, out}), 2);
    EXPECT_EQ(run({"rotate", "90", in}), 2);
    EXPECT_EQ(run({"rotate", "90", path("missing.png"), out}), 1);
    EXPECT_FALSE(fs::exists(path("out.png")));
}

} // namespace

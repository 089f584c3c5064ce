#include "../formats/OutputFormatsTestImages.h"
#include "CliRunner.h"
#include "common/ByteSink.h"
#include "formats/BmpWriter.h"
#include "formats/OutputFormats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// zentrap-cli encode with `args`; what it printed, standard output and error together.
struct Result {
    int exitCode = -1;
    std::string output;
};

Result encode(std::vector<std::string> args)
{
    args.insert(args.begin(), "encode");
    CliRun run = runCli(args);
    return {run.exitCode, run.out + run.err};
}

class EncodeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zentrap-encode-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        // A 24-bit BMP reads back exactly, so the command's input equals `image_`.
        input_ = dir_ / "input.bmp";
        std::ofstream out(input_, std::ios::binary);
        VectorSink sink;
        writeBmpFile(image_, sink);
        out.write(reinterpret_cast<const char*>(sink.bytes.data()), static_cast<std::streamsize>(sink.bytes.size()));
    }
    void TearDown() override { fs::remove_all(dir_); }

    // What the Save As window would write with `settings`.
    std::vector<uint8_t> expected(FormatSettings settings)
    {
        fs::path path = dir_ / "expected";
        saveFormat(image_, settings, path.string());
        return readFile(path);
    }

    Bitmap image_ = testimages::screenshot24(61, 37);
    fs::path dir_;
    fs::path input_;
};

} // namespace

TEST_F(EncodeCommand, WritesTheSaveAsBytesForEveryFormatWithDefaults)
{
    const std::vector<std::pair<std::string, ImageFormat>> formats = {{"bmp", ImageFormat::Bmp},
                                                                      {"jpeg", ImageFormat::Jpeg},
                                                                      {"gif", ImageFormat::Gif},
                                                                      {"png", ImageFormat::Png},
                                                                      {"tiff", ImageFormat::Tiff}};
    for (const auto& [name, format] : formats) {
        fs::path out = dir_ / ("out." + name);
        Result r = encode({"--format", name, input_, out});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        FormatSettings settings;
        settings.format = format;
        EXPECT_EQ(readFile(out), expected(settings)) << name;
    }
}

TEST_F(EncodeCommand, JpegQualityAndProgressionReachTheEncoder)
{
    fs::path out = dir_ / "out.jpg";
    Result r = encode({"--format", "jpeg", "--quality", "13", "--baseline", input_, out});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    FormatSettings settings;
    settings.format = ImageFormat::Jpeg;
    settings.jpeg = {13, false};
    EXPECT_EQ(readFile(out), expected(settings));
    settings.jpeg = {13, true};
    EXPECT_NE(readFile(out), expected(settings));
}

TEST_F(EncodeCommand, GifOptionsReachTheEncoder)
{
    fs::path out = dir_ / "out.gif";
    Result r = encode({"--format", "gif", "--palette", "7", "--colors", "16", "--dither", "1", "--compression", "rle",
                       "--transparent", "3,4", input_, out});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    FormatSettings settings;
    settings.format = ImageFormat::Gif;
    settings.gif.paletteMode = 7;
    settings.gif.colorCount = 16;
    settings.gif.ditherMode = 1;
    settings.gif.compression = 1;
    settings.gif.transparent = true;
    settings.gif.pickX = 3;
    settings.gif.pickY = 4;
    EXPECT_EQ(readFile(out), expected(settings));
    FormatSettings plain;
    plain.format = ImageFormat::Gif;
    EXPECT_NE(readFile(out), expected(plain));
}

TEST_F(EncodeCommand, BadArgumentsExitWithUsage)
{
    fs::path out = dir_ / "never.png";
    const std::string in = input_;
    const std::string o = out;
    const std::vector<std::vector<std::string>> cases = {{"--format", "png", in},
                                                         {"--format", "webp", in, o},
                                                         {in, o},
                                                         {"--format", "jpeg", "--quality", "0", in, o},
                                                         {"--format", "jpeg", "--quality", "101", in, o},
                                                         {"--format", "gif", "--colors", "12", in, o},
                                                         {"--format", "gif", "--dither", "7", in, o},
                                                         {"--format", "gif", "--palette", "0", in, o},
                                                         {"--format", "gif", "--compression", "zip", in, o},
                                                         {"--format", "gif", "--transparent", "3", in, o},
                                                         {"--format", "png", "--bogus", in, o},
                                                         {"--format", "png", "--quality"}};
    for (const auto& args : cases) {
        Result r = encode(args);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(args) << "\n" << r.output;
        EXPECT_NE(r.output.find("usage: zentrap-cli encode"), std::string::npos) << r.output;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(EncodeCommand, UnreadableInputAndUnwritableOutputAreReported)
{
    Result missing = encode({"--format", "png", dir_ / "nothing.png", dir_ / "out.png"});
    EXPECT_EQ(missing.exitCode, 1) << missing.output;
    EXPECT_FALSE(missing.output.empty());

    Result noFolder = encode({"--format", "png", input_, dir_ / "missing" / "out.png"});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_NE(noFolder.output.find("No such file or directory"), std::string::npos) << noFolder.output;
}

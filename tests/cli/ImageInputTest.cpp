// zentrap-cli reading pictures from outside, end to end: only the raster formats it is meant to
// read, told by content; sizes limited before decoding with bounded memory; truncated pictures,
// file problems and arguments reported clearly; no library warnings on the way.
#include "../formats/OutputFormatsTestImages.h"
#include "../support/TempFolder.h"
#include "../support/Unprivileged.h"
#include "CliRunner.h"
#include "formats/OutputFormats.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QImage>

#include <cstring>
#include <map>
#include <tuple>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Peak memory that no refused input under 1 MB may exceed (the sanitizer build's own share included).
constexpr long kMemoryCeilingKilobytes = 300 * 1024;

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string bigEndian32(uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string pngChunk(const std::string& type, const std::string& data, bool goodCrc = true)
{
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    return bigEndian32(static_cast<uint32_t>(data.size())) + type + data +
           bigEndian32(static_cast<uint32_t>(goodCrc ? crc : ~crc));
}

const std::string kPngSignature("\x89PNG\r\n\x1a\n", 8);

std::string pngHeader(uint32_t width, uint32_t height)
{
    return pngChunk("IHDR", bigEndian32(width) + bigEndian32(height) + std::string("\x08\x02\x00\x00\x00", 5));
}

std::string encoded(const Bitmap& image, ImageFormat format)
{
    FormatSettings settings;
    settings.format = format;
    settings.jpeg.progressive = false;
    TempFolder folder;
    fs::path path = folder.path / "picture";
    saveFormat(image, settings, path.string());
    return readWholeFile(path);
}

class ImageInput : public ::testing::Test {
protected:
    fs::path file(const std::string& name, const std::string& bytes)
    {
        fs::path path = folder_.path / name;
        writeBytes(path, bytes);
        return path;
    }
    CliRun encodePng(const fs::path& input) { return runCli({"encode", "--format", "png", input, output()}); }
    fs::path output() const { return folder_.path / "out.png"; }

    TempFolder folder_;
    Bitmap image_ = testimages::photo24(47, 29);
};

TEST_F(ImageInput, FormatIsToldByContentAndOnlyRasterFormatsAreRead)
{
    // A PNG under a BMP name reads as the PNG it is.
    CliRun png = encodePng(file("really-a-png.bmp", encoded(image_, ImageFormat::Png)));
    ASSERT_EQ(png.exitCode, 0) << png.err;
    QImage back(QString::fromStdString(output().string()));
    ASSERT_EQ(back.size(), QSize(47, 29));
    EXPECT_EQ(back.pixel(5, 7) & 0xFFFFFF, qRgb(image_.row(7)[17], image_.row(7)[16], image_.row(7)[15]) & 0xFFFFFF);

    // Vector and other formats that Qt's plugins would read are refused, whatever their name.
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"picture.png", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"><image "
                        "href=\"file:///etc/passwd\"/></svg>"},
        {"picture.svg", "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\"/>"},
        {"picture.xpm", "/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #ff0000\", \"a\"};\n"},
        {"picture.ico", std::string("\0\0\1\0\1\0\1\1\0\0\1\0\x20\0", 14)},
    };
    for (const auto& [name, bytes] : refused) {
        fs::remove(output());
        CliRun run = encodePng(file(name, bytes));
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_NE(run.err.find("Not a picture file"), std::string::npos) << name << ": " << run.err;
        EXPECT_FALSE(fs::exists(output())) << name;
    }
}

TEST_F(ImageInput, DeclaredSizesAreCheckedBeforeDecodingWithBoundedMemory)
{
    std::string jpeg = encoded(image_, ImageFormat::Jpeg);
    size_t sof = jpeg.find("\xff\xc0");
    ASSERT_NE(sof, std::string::npos);
    auto jpegOfSize = [&](uint16_t w, uint16_t h) {
        std::string j = jpeg;
        j[sof + 5] = char(h >> 8), j[sof + 6] = char(h), j[sof + 7] = char(w >> 8), j[sof + 8] = char(w);
        return j;
    };
    std::string tiff = encoded(image_, ImageFormat::Tiff);
    auto tiffOfSize = [&](uint16_t w, uint16_t h) {
        std::string t = tiff; // ImageWidth and ImageLength are SHORT entries 2 and 3 of the directory
        size_t ifd = uint8_t(t[4]) | uint8_t(t[5]) << 8 | uint8_t(t[6]) << 16 | size_t(uint8_t(t[7])) << 24;
        t[ifd + 2 + 12 + 8] = char(w), t[ifd + 2 + 12 + 9] = char(w >> 8);
        t[ifd + 2 + 24 + 8] = char(h), t[ifd + 2 + 24 + 9] = char(h >> 8);
        return t;
    };
    auto bmpOfSize = [&](int32_t w, int32_t h) {
        std::string b = encoded(image_, ImageFormat::Bmp);
        std::memcpy(b.data() + 18, &w, 4);
        std::memcpy(b.data() + 22, &h, 4);
        return b;
    };
    auto gifOfSize = [&](uint16_t w, uint16_t h) {
        std::string g = encoded(image_, ImageFormat::Gif);
        g[6] = char(w), g[7] = char(w >> 8), g[8] = char(h), g[9] = char(h >> 8);
        return g;
    };
    std::string idat = pngChunk("IDAT", std::string("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9));
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        // 44 bytes whose second chunk claims 2 GB.
        {"chunk.png", kPngSignature + pngHeader(1, 1) + bigEndian32(0x7FFFFFF0) + "zTXt" + "abc", "Damaged PNG"},
        {"wide.png", kPngSignature + pngHeader(65536, 1) + idat + pngChunk("IEND", ""), "Image too large"},
        {"area.png", kPngSignature + pngHeader(20000, 20000) + idat + pngChunk("IEND", ""), "Image too large"},
        {"short.png", kPngSignature + pngHeader(16000, 16000) + idat + pngChunk("IEND", ""), "Truncated PNG"},
        {"area.jpg", jpegOfSize(20000, 20000), "Image too large"},
        {"short.jpg", jpegOfSize(16000, 16000), "Truncated JPEG"},
        {"area.tif", tiffOfSize(65535, 65535), "Image too large"},
        {"short.tif", tiffOfSize(16000, 16000), "Truncated TIFF"},
        {"wide.bmp", bmpOfSize(70000, 1), "Image too large"},
        {"area.bmp", bmpOfSize(20000, -20000), "Image too large"},
        {"short.bmp", bmpOfSize(16000, 16000), "Truncated BMP"},
        {"area.gif", gifOfSize(65535, 65535), "Image too large"},
        {"area.ppm", "P6\n20000 20000\n255\n", "Image too large"},
        {"short.ppm", "P6\n16000 16000\n255\n" + std::string(1000, 'x'), "Truncated PNM"},
        {"absurd.pgm", "P2 99999999999999999999999 1 255\n0\n", "Image too large"},
    };
    for (const auto& [name, bytes, message] : cases) {
        CliRun run = encodePng(file(name, bytes));
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_NE(run.err.find(message), std::string::npos) << name << ": " << run.err;
        EXPECT_LT(run.peakKilobytes, kMemoryCeilingKilobytes) << name;
        EXPECT_FALSE(fs::exists(output())) << name;
    }
}

TEST_F(ImageInput, TruncatedPicturesAreErrorsInEveryFormat)
{
    const std::vector<std::pair<std::string, ImageFormat>> formats = {{"bmp", ImageFormat::Bmp},
                                                                      {"gif", ImageFormat::Gif},
                                                                      {"png", ImageFormat::Png},
                                                                      {"jpg", ImageFormat::Jpeg},
                                                                      {"tif", ImageFormat::Tiff}};
    for (const auto& [name, format] : formats) {
        std::string whole = encoded(image_, format);
        ASSERT_EQ(encodePng(file("whole." + name, whole)).exitCode, 0) << name;
        fs::remove(output());
        CliRun cut = encodePng(file("cut." + name, whole.substr(0, whole.size() * 2 / 3)));
        EXPECT_EQ(cut.exitCode, 1) << name << ": " << cut.err;
        EXPECT_TRUE(cut.err.find("Truncated") != std::string::npos || cut.err.find("Damaged") != std::string::npos)
            << name << ": " << cut.err;
        EXPECT_FALSE(fs::exists(output())) << name;
    }
}

TEST_F(ImageInput, FileProblemsEachHaveTheirOwnMessageAndNeverBlock)
{
    fs::path picture = file("picture.png", encoded(image_, ImageFormat::Png));
    fs::create_directory(folder_.path / "folder");
    fs::create_symlink("loop-b", folder_.path / "loop-a");
    fs::create_symlink("loop-a", folder_.path / "loop-b");
    ASSERT_EQ(::mkfifo((folder_.path / "fifo.png").c_str(), 0600), 0);

    std::map<std::string, std::string> errors;
    for (const char* name : {"missing.png", "folder", "loop-a", "fifo.png"}) {
        CliRun run = runCli({"encode", "--format", "png", folder_.path / name, output()}, 20);
        EXPECT_FALSE(run.timedOut) << name;
        EXPECT_EQ(run.exitCode, 1) << name << ": " << run.err;
        errors[name] = run.err;
    }
    EXPECT_NE(errors["missing.png"].find("No such file or directory"), std::string::npos) << errors["missing.png"];
    EXPECT_NE(errors["folder"].find("directory"), std::string::npos) << errors["folder"];
    EXPECT_NE(errors["loop-a"].find("symbolic links"), std::string::npos) << errors["loop-a"];
    EXPECT_NE(errors["fifo.png"].find("FIFO"), std::string::npos) << errors["fifo.png"];

    // Permissions apply to an ordinary user only.
    fs::permissions(picture, fs::perms::none);
    fs::path out = folder_.path / "unreadable-out.png";
    EXPECT_TRUE(runAsOrdinaryUser(folder_.path, [&] {
        CliRun run = runCli({"encode", "--format", "png", picture, out});
        return run.exitCode == 1 && run.err.find("Permission denied") != std::string::npos;
    }));
}

TEST_F(ImageInput, FileNamesAreBytesNotText)
{
    std::string name = std::string("bild-\xff\xfe-") + "\xe9t\xe9.png"; // not UTF-8
    fs::path input = file(name, encoded(image_, ImageFormat::Png));
    fs::path out = folder_.path / (std::string("out-\xff.bmp"));
    CliRun run = runCli({"rotate", "180", input, out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(out));
}

TEST_F(ImageInput, LibraryWarningsAreNotPrinted)
{
    // An ancillary chunk with a bad checksum, and a JPEG with stray bytes before a marker: libpng and
    // libjpeg warn about both; the pictures themselves are fine.
    std::string png = encoded(image_, ImageFormat::Png);
    png.insert(png.size() - 12, pngChunk("tEXt", std::string("Comment\0hello", 13), false));
    std::string jpeg = encoded(image_, ImageFormat::Jpeg);
    jpeg.insert(jpeg.size() - 2, "junk");
    for (const auto& [name, bytes] : {std::pair{"warned.png", png}, std::pair{"warned.jpg", jpeg}}) {
        CliRun run = encodePng(file(name, bytes));
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
        EXPECT_EQ(run.err, "") << name;
        EXPECT_EQ(run.out, "") << name;
    }
}

TEST_F(ImageInput, UsageErrorsExitTwoBeforeAnyWorkAndHelpExitsZero)
{
    CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: zentrap-cli"), std::string::npos);
    CliRun verbHelp = runCli({"resize", "--help"});
    EXPECT_EQ(verbHelp.exitCode, 0);
    EXPECT_NE(verbHelp.out.find("resize --width"), std::string::npos);

    // The input does not exist: an unknown output extension must be reported first, as a usage error.
    fs::path missing = folder_.path / "missing.png";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"resize", "--width", "5", "--height", "5", missing, folder_.path / "out.xyz"},
          std::vector<std::string>{"rotate", "90", missing, folder_.path / "out"},
          std::vector<std::string>{"quantize", "--palette", "3", missing, folder_.path / "out.webp"}}) {
        CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, 2) << args[0] << ": " << run.err;
        EXPECT_NE(run.err.find("extension"), std::string::npos) << run.err;
    }

    // One number syntax everywhere: digits with an optional minus sign, nothing else.
    fs::path input = file("in.png", encoded(image_, ImageFormat::Png));
    const std::vector<std::pair<std::vector<std::string>, size_t>> numbered = {
        {{"encode", "--format", "jpeg", "--quality", "", input, output()}, 4},
        {{"quantize", "--palette", "", input, output()}, 2},
        {{"resize", "--width", "", "--height", "9", input, output()}, 2},
        {{"resize", "--width", "9", "--height", "", input, output()}, 4},
        {{"encode", "--format", "gif", "--transparent", "", input, output()}, 4},
    };
    for (auto [args, at] : numbered) {
        const bool pair = args[at - 1] == "--transparent";
        args[at] = pair ? "1,7" : "7";
        EXPECT_EQ(runCli(args).exitCode, 0) << args[0] << " " << args[at - 1];
        for (const char* bad : {"+7", " 7", "7 ", "0x7", "7e0", "7.0", "seven"}) {
            args[at] = pair ? std::string("1,") + bad : bad;
            CliRun run = runCli(args);
            EXPECT_EQ(run.exitCode, 2) << args[0] << " " << args[at - 1] << " \"" << args[at] << "\"";
        }
    }

    fs::remove(output());
    CliRun outside = runCli({"encode", "--format", "gif", "--transparent", "47,0", input, output()});
    EXPECT_EQ(outside.exitCode, 2) << outside.err;
    EXPECT_NE(outside.err.find("outside"), std::string::npos) << outside.err;
    EXPECT_FALSE(fs::exists(output()));
}

} // namespace

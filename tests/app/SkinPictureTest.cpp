// Skins read through the bounded readers: pictures written by Qt's own encoders come back with
// their pixels and size, the shipped skins fit the window, and hostile files are refused.
#include "app/SkinPicture.h"
#include "common/ZentrapError.h"
#include "preferences/SkinPicker.h"
#include "support/TempFolder.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
constexpr Size kWindow{100, 260};

QRgb patternAt(int x, int y)
{
    return qRgb(x * 2 % 256, y % 256, 77);
}

std::string writePattern(const fs::path& path, int width, int height, const char* format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, patternAt(x, y));
        }
    }
    EXPECT_TRUE(image.save(QString::fromStdString(path.string()), format));
    return path.string();
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A baseline JPEG header declaring width x height, with no image data after it.
std::string jpegHeader(int width, int height)
{
    std::string b = "\xFF\xD8\xFF\xC0";
    b += std::string("\x00\x11\x08", 3);
    b += static_cast<char>(height >> 8);
    b += static_cast<char>(height & 0xFF);
    b += static_cast<char>(width >> 8);
    b += static_cast<char>(width & 0xFF);
    b += std::string("\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01", 10);
    return b;
}

} // namespace

// Only the window's part of a skin is decoded, so pictures far larger than the window load too
// (JPEG stops after the part's rows, a bottom-up BMP is read from the rows at its end).
TEST(SkinPicture, KeepsThePicturesSizeAndShowsItsTopLeftPartExactly)
{
    TempFolder folder;
    struct Case {
        const char* name;
        const char* format;
        int width, height;
        int tolerance; // JPEG is lossy
    };
    for (const Case& c : {Case{"big.bmp", "BMP", 120, 300, 0}, Case{"small.BMP", "BMP", 80, 200, 0},
                          Case{"wide.png", "PNG", 130, 40, 0}, Case{"photo.jpg", "JPEG", 4000, 3000, 24},
                          Case{"poster.png", "PNG", 3000, 2000, 0}, Case{"wall.bmp", "BMP", 2600, 2000, 0}}) {
        SCOPED_TRACE(c.name);
        const SkinPicture skin =
            loadSkinPicture(writePattern(folder.path / c.name, c.width, c.height, c.format), kWindow);
        EXPECT_EQ(skin.size, (Size{c.width, c.height}));
        ASSERT_EQ(skin.visible.width(), std::min(c.width, 100));
        ASSERT_EQ(skin.visible.height(), std::min(c.height, 260));
        for (int y = 0; y < skin.visible.height(); y += 7) {
            for (int x = 0; x < skin.visible.width(); x += 3) {
                const QRgb expected = patternAt(x, y);
                const ColorRef got = skin.visible.pixelColor(x, y);
                ASSERT_NEAR(redOf(got), qRed(expected), c.tolerance) << x << "," << y;
                ASSERT_NEAR(greenOf(got), qGreen(expected), c.tolerance) << x << "," << y;
                ASSERT_NEAR(blueOf(got), qBlue(expected), c.tolerance) << x << "," << y;
            }
        }
    }
}

TEST(SkinPicture, ReadsJpegByEitherExtensionAndShipsSkinsThatFitTheWindow)
{
    TempFolder folder;
    for (const char* name : {"photo.jpg", "photo.JPEG"}) {
        const SkinPicture skin = loadSkinPicture(writePattern(folder.path / name, 100, 260, "JPEG"), kWindow);
        EXPECT_EQ(skin.size, (Size{100, 260})) << name;
    }
    const fs::path skins = fs::path(ZENTRAP_SOURCE_DIR) / "resources/skins";
    for (const char* name : {"built-in.jpg", "Coral.bmp", "Graphite.jpg", "Midnight.jpg"}) {
        const SkinPicture skin = loadSkinPicture((skins / name).string(), kWindow);
        EXPECT_EQ(skin.size, (Size{100, 260})) << name;
        // The dark square behind the thumbnail.
        const ColorRef centre = skin.visible.pixelColor(50, 69);
        EXPECT_LT(redOf(centre) + greenOf(centre) + blueOf(centre), 40) << name;
    }
}

TEST(SkinPicture, RefusesEveryFileThatCannotBeASkin)
{
    TempFolder folder;
    const std::string good = writePattern(folder.path / "good.jpg", 100, 260, "JPEG");
    std::ifstream in(good, std::ios::binary);
    const std::string jpeg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    writeBytes(folder.path / "truncated.jpg", jpeg.substr(0, jpeg.size() / 2));
    writeBytes(folder.path / "huge.jpg", jpegHeader(30000, 30000));
    writeBytes(folder.path / "wide.jpg", jpegHeader(9000, 10));
    writeBytes(folder.path / "empty.bmp", "");
    writeBytes(folder.path / "text.bmp", "this is not a picture at all\n");
    writeBytes(folder.path / "jpeg-inside.bmp", jpeg);
    writePattern(folder.path / "picture.gif", 10, 10, "PNG");
    fs::create_directory(folder.path / "folder.jpg");
    for (const char* name : {"truncated.jpg", "huge.jpg", "wide.jpg", "empty.bmp", "text.bmp", "jpeg-inside.bmp",
                             "picture.gif", "folder.jpg", "missing.bmp", "noextension"}) {
        EXPECT_THROW(loadSkinPicture((folder.path / name).string(), kWindow), ZentrapError) << name;
    }
}

// A skin refused for its picture's or its file's size is told so, not blamed on its format.
TEST(SkinPicture, ASizeRefusalSaysSo)
{
    TempFolder folder;
    // A whole JPEG file whose frame header declares 30000 x 30000.
    std::ifstream in(writePattern(folder.path / "small.jpg", 16, 16, "JPEG"), std::ios::binary);
    std::string huge((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t frame = huge.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    huge[frame + 5] = huge[frame + 7] = static_cast<char>(30000 >> 8);
    huge[frame + 6] = huge[frame + 8] = static_cast<char>(30000 & 0xFF);
    writeBytes(folder.path / "huge.jpg", huge);
    writeBytes(folder.path / "heavy.bmp", std::string(17 << 20, 'B'));
    auto warningFor = [&](const char* name) {
        const std::string path = (folder.path / name).string();
        try {
            loadSkinPicture(path, kWindow);
        } catch (const ZentrapError& e) {
            return skinWarningText(path, e.what());
        }
        return std::string("loaded");
    };
    EXPECT_EQ(warningFor("huge.jpg"), "Skin is not loaded: " + (folder.path / "huge.jpg").string() +
                                          "\r\nIt is too large: 30000 x 30000 pixels, more than the limit of "
                                          "268435456.\r\nOr select another skin at the \"Options\" dialog.");
    EXPECT_EQ(warningFor("heavy.bmp"), "Skin is not loaded: " + (folder.path / "heavy.bmp").string() +
                                           "\r\nIt is too large: a skin file may hold at most 16 MB.\r\nOr "
                                           "select another skin at the \"Options\" dialog.");
    writeBytes(folder.path / "text.bmp", "this is not a picture at all\n");
    EXPECT_EQ(warningFor("text.bmp"), skinWarningText((folder.path / "text.bmp").string()));
}

TEST(SkinPicture, WarnsWithTheFixedText)
{
    EXPECT_EQ(skinWarningText("/home/me/blue.bmp"),
              "Skin is not loaded: /home/me/blue.bmp\r\nPlease, make sure it exists and has either JPEG of BMP "
              "format.\r\nOr select another skin at the \"Options\" dialog.");
}

TEST(SkinPicker, RemembersTheBitmapFilterOnlyForAnExactLowerCaseBmpExtension)
{
    EXPECT_EQ(skinFilterIndexFor("/skins/blue.bmp"), 1);
    EXPECT_EQ(skinFilterIndexFor("/skins/BLUE.BMP"), 2);
    EXPECT_EQ(skinFilterIndexFor("/skins/blue.Bmp"), 2);
    EXPECT_EQ(skinFilterIndexFor("/skins/blue.jpg"), 2);
    EXPECT_EQ(skinFilterIndexFor("/skins.bmp/blue"), 2);
    EXPECT_EQ(skinFilterIndexFor("/skins/blue.jpg.bmp"), 1);

    EXPECT_EQ(skinPickerFolder("/home/me/skins/blue.bmp", "/opt/zentrap/"), "/home/me/skins/");
    EXPECT_EQ(skinPickerFolder("blue.bmp", "/opt/zentrap/"), "/opt/zentrap/");
    EXPECT_EQ(skinPickerFolder("", "/opt/zentrap/"), "/opt/zentrap/");
}

#include "save/SaveSession.h"
#include "common/SettingsStore.h"
#include "common/ZentrapError.h"
#include "platform/FileRegistryHive.h"
#include "save/SaveSettings.h"

#include "save/VariantSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// A capture-like picture: flat areas, a gradient and some text-like detail.
Bitmap testPattern(int width, int height)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ColorRef c = y < height / 3 ? makeColor(255, 255, 255)
                                        : makeColor(static_cast<uint8_t>(x * 255 / width),
                                                    static_cast<uint8_t>(y * 255 / height), 128);
            if ((x / 3 + y / 5) % 7 == 0) {
                c = makeColor(0, 0, 0);
            }
            b.setPixelValue(x, y, c);
        }
    }
    return b;
}

std::string key()
{
    return std::string(SettingsStore::kPrimaryKey);
}

// The window's step of reading the four variants and encoding each in its stored format.
void openLikeTheWindow(SaveSession& session, const SettingsKey& settings)
{
    for (int n = 1; n <= kVariantCount; ++n) {
        session.setVariantSettings(n, readVariantSettings(settings, n));
        session.encodeStored(n);
    }
    session.setActiveVariant(readSaveAsSettings(settings).activeVar);
}

std::vector<char> fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SaveSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("zentrap-save-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    FileRegistryHive hive;
    std::filesystem::path folder;
};

} // namespace

TEST_F(SaveSessionTest, FirstOpeningWithNoStoredValuesShowsTheFourDefaultPanes)
{
    SettingsKey settings(hive, key());
    SaveSession session(testPattern(120, 90), {});
    openLikeTheWindow(session, settings);

    const char* words[] = {"BMP", "JPEG", "GIF", "PNG"};
    for (int n = 1; n <= 4; ++n) {
        const SaveVariant& v = session.variant(n);
        EXPECT_EQ(v.Fmt, n - 1);
        EXPECT_GT(v.encodedLength, 0u);
        EXPECT_EQ(v.caption, "Variant " + std::to_string(n) + ": " + words[n - 1] + " " + FormatSize(v.encodedLength));
    }
    EXPECT_EQ(jpegSettings(session.variant(2)), kJpegDefaults);
    EXPECT_EQ(gifSettings(session.variant(3)), kGifDefaults);
    EXPECT_EQ(session.activeVariant(), 1);

    // The BMP is the gauges' maximum: its gauge is full, the compressed ones are not.
    EXPECT_EQ(session.variant(1).encodedLength, session.gaugeMaximum());
    EXPECT_EQ(session.gaugeMaximum(), 54u + 90u * 360u);
    EXPECT_DOUBLE_EQ(session.gaugeFraction(1), 1.0);
    EXPECT_LT(session.gaugeFraction(4), 1.0);

    // BMP and PNG show the working image itself; JPEG and GIF their decoded look.
    EXPECT_EQ(*session.variant(1).picture, session.workImage());
    EXPECT_EQ(*session.variant(4).picture, session.workImage());
    EXPECT_EQ(session.variant(2).picture->width(), 120);
    EXPECT_EQ(session.variant(3).picture->height(), 90);
}

TEST_F(SaveSessionTest, ActiveVariantIsClampedToOneToFour)
{
    SettingsKey settings(hive, key());
    settings.writeInteger("ActiveVar", 0);
    EXPECT_EQ(readSaveAsSettings(settings).activeVar, 1);
    settings.writeInteger("ActiveVar", 9);
    EXPECT_EQ(readSaveAsSettings(settings).activeVar, 4);
    settings.writeInteger("ActiveVar", 3);
    EXPECT_EQ(readSaveAsSettings(settings).activeVar, 3);
}

TEST_F(SaveSessionTest, StoredPickOutsideASmallerCaptureIsResetWhenEncoded)
{
    SettingsKey settings(hive, key());
    settings.writeInteger("GIFIsTransparent3", 1);
    settings.writeInteger("GIFTransparentPixelX3", 500);
    settings.writeInteger("GIFTransparentPixelY3", 7);
    SaveSession session(testPattern(40, 30), {});
    openLikeTheWindow(session, settings);
    EXPECT_EQ(session.variant(3).GIFTransparentPixelX, 0);
    EXPECT_EQ(session.variant(3).GIFTransparentPixelY, 0);
    EXPECT_EQ(session.variant(3).Fmt, 2);
}

TEST_F(SaveSessionTest, StoredPickOutsideIsResetWhenItsColourIsShown)
{
    SaveSession session(testPattern(40, 30), {});
    session.variant(2).GIFTransparentPixelY = 30;
    session.variant(2).GIFTransparentPixelX = 5;
    EXPECT_EQ(session.pickedColor(2), session.workImage().pixelColor(0, 0));
    EXPECT_EQ(session.variant(2).GIFTransparentPixelX, 0);
    // A pick inside stays.
    session.variant(2).GIFTransparentPixelX = 39;
    session.variant(2).GIFTransparentPixelY = 29;
    EXPECT_EQ(session.pickedColor(2), session.workImage().pixelColor(39, 29));
    EXPECT_EQ(session.variant(2).GIFTransparentPixelX, 39);
}

TEST_F(SaveSessionTest, PickingTakesOnlyPointsInsideTheImage)
{
    SaveSession session(testPattern(40, 30), {});
    EXPECT_TRUE(session.pick(3, 10, 20));
    EXPECT_FALSE(session.pick(3, 40, 0));
    EXPECT_FALSE(session.pick(3, -1, 0));
    EXPECT_EQ(session.variant(3).GIFTransparentPixelX, 10);
    EXPECT_EQ(session.variant(3).GIFTransparentPixelY, 20);
}

TEST_F(SaveSessionTest, AStoredFormatCodeOutsideZeroToFourLeavesThePaneUnencoded)
{
    SettingsKey settings(hive, key());
    settings.writeInteger("Fmt2", 7);
    settings.writeInteger("Fmt3", -1);
    SaveSession session(testPattern(40, 30), {});
    openLikeTheWindow(session, settings);
    for (int n : {2, 3}) {
        EXPECT_FALSE(session.variant(n).format().has_value());
        EXPECT_EQ(session.variant(n).encodedLength, 0u);
        EXPECT_DOUBLE_EQ(session.gaugeFraction(n), 0.0);
    }
    EXPECT_EQ(session.variant(2).caption, "Variant 2: JPEG");
    EXPECT_EQ(session.variant(3).caption, "Variant 3: GIF");
    EXPECT_EQ(session.variant(2).Fmt, 7); // written back as read
    // Choosing a format afterwards encodes it.
    EXPECT_TRUE(session.encode(2, ImageFormat::Png));
    EXPECT_EQ(session.variant(2).Fmt, 3);
}

TEST_F(SaveSessionTest, ValuesOutsideTheirRangesTakeTheirDefaults)
{
    SettingsKey settings(hive, key());
    settings.writeInteger("JPEGCompressionQuality1", 0);
    settings.writeInteger("JPEGCompressionQuality2", 101);
    settings.writeInteger("GIFColorReduction1", 9);
    settings.writeInteger("GIFColorResolution1", 100);
    settings.writeInteger("GIFDitherMode1", 7);
    settings.writeInteger("GIFCompression1", 2);
    settings.writeString("GIFColorReduction2", "7"); // another kind: missing
    SaveVariant v1 = readVariantSettings(settings, 1);
    SaveVariant v2 = readVariantSettings(settings, 2);
    for (const SaveVariant& v : {v1, v2}) {
        EXPECT_EQ(jpegSettings(v), kJpegDefaults);
        EXPECT_EQ(gifSettings(v), kGifDefaults);
    }
}

TEST_F(SaveSessionTest, VariantSettingsComeBackAsWritten)
{
    const SaveVariant written = variantWithEverySettingChanged(4);
    {
        SettingsKey settings(hive, key());
        writeVariantSettings(settings, written);
        writeSaveAsSettings(settings, {4, "/tmp/"});
    }
    SettingsKey settings(hive, key());
    EXPECT_EQ(storedSettings(readVariantSettings(settings, 4)), storedSettings(written));
    EXPECT_EQ(readSaveAsSettings(settings).activeVar, 4);
    EXPECT_EQ(readSaveAsSettings(settings).saveDir, "/tmp/");
    // The flags are stored as the numbers 1 and 0.
    EXPECT_EQ(hive.value(key(), "GIFIsTransparent4"), std::optional<RegValue>(uint32_t{1}));
    EXPECT_EQ(hive.value(key(), "JPEGProgressiveEncoding4"), std::optional<RegValue>(uint32_t{0}));
}

TEST_F(SaveSessionTest, DefaultsRestoreTheJpegAndGifSettings)
{
    const SaveVariant v = variantWithEverySettingChanged(2);

    // Each panel's "Defaults" leaves the other panel's settings and the format as they were.
    SaveVariant jpeg = v;
    jpeg.restoreJpegDefaults();
    EXPECT_EQ(jpegSettings(jpeg), kJpegDefaults);
    EXPECT_EQ(gifSettings(jpeg), gifSettings(v));
    EXPECT_EQ(jpeg.Fmt, v.Fmt);

    SaveVariant gif = v;
    gif.restoreGifDefaults();
    EXPECT_EQ(gifSettings(gif), kGifDefaults);
    EXPECT_EQ(jpegSettings(gif), jpegSettings(v));
    EXPECT_EQ(gif.Fmt, v.Fmt);
}

TEST_F(SaveSessionTest, TheSavedFileHasTheMeasuredLengthInEveryFormat)
{
    SaveSession session(testPattern(61, 33), {});
    for (ImageFormat format :
         {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Gif, ImageFormat::Png, ImageFormat::Tiff}) {
        ASSERT_TRUE(session.encode(1, format));
        auto path = folder / ("Capture." + saveFileType(format).extension);
        session.saveActive(path.string());
        EXPECT_EQ(fileBytes(path).size(), session.variant(1).encodedLength) << formatWord(format);
    }
}

TEST_F(SaveSessionTest, OnlyTheVariantPassedIsEncoded)
{
    SaveSession session(testPattern(40, 30), {});
    ASSERT_TRUE(session.encode(2, ImageFormat::Jpeg));
    std::string before = session.variant(2).caption;
    session.variant(2).JPEGCompressionQuality = 1;
    ASSERT_TRUE(session.encode(3, ImageFormat::Jpeg));
    EXPECT_EQ(session.variant(2).caption, before);
    EXPECT_EQ(session.variant(1).encodedLength, 0u);
}

TEST_F(SaveSessionTest, AFailingGifEncodingLeavesTheVariantAsItWas)
{
    SaveSession session(testPattern(40, 30), {});
    ASSERT_TRUE(session.encode(2, ImageFormat::Png));
    const SaveVariant before = session.variant(2);
    session.variant(2).GIFCompression = 2; // no such compression: the GIF writer refuses
    EXPECT_FALSE(session.encode(2, ImageFormat::Gif));
    const SaveVariant& after = session.variant(2);
    EXPECT_EQ(after.Fmt, 3);
    EXPECT_EQ(after.caption, before.caption);
    EXPECT_EQ(after.encodedLength, before.encodedLength);
    EXPECT_EQ(after.picture, before.picture);
}

TEST_F(SaveSessionTest, AFailedSaveLeavesTheTargetAsItWas)
{
    SaveSession session(testPattern(40, 30), {});
    ASSERT_TRUE(session.encode(1, ImageFormat::Png));
    EXPECT_THROW(session.saveActive((folder / "missing" / "Capture1.png").string()), ZentrapError);
    // A target that is a folder cannot be replaced; it stays a folder with its contents.
    std::filesystem::create_directories(folder / "Capture2.png");
    std::ofstream(folder / "Capture2.png" / "keep") << "x";
    EXPECT_THROW(session.saveActive((folder / "Capture2.png").string()), ZentrapError);
    EXPECT_TRUE(std::filesystem::exists(folder / "Capture2.png" / "keep"));
}

TEST_F(SaveSessionTest, SavingAVariantWithoutAFormatIsRefused)
{
    SaveSession session(testPattern(40, 30), {});
    session.variant(1).Fmt = 5;
    EXPECT_THROW(session.saveActive((folder / "Capture1.bmp").string()), ZentrapError);
    EXPECT_FALSE(std::filesystem::exists(folder / "Capture1.bmp"));
}

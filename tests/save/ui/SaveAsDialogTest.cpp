// The Save As window under the offscreen platform, with fake services and a scripted file dialog.
#include "save/ui/SaveAsDialog.h"
#include "common/DesignLength.h"
#include "common/SettingsFile.h"
#include "common/SettingsStore.h"
#include "platform/Platform.h"
#include "save/SaveDir.h"
#include "save/VariantSettings.h"
#include "support/FindControl.h"
#include "support/LayoutAudit.h"
#include "support/WindowTestFakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void ensureApplication()
{
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_formats";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

Bitmap stripes(int width, int height)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.setPixelValue(x, y,
                            makeColor(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 3),
                                      static_cast<uint8_t>((x / 8 + y / 8) % 2 ? 200 : 40)));
        }
    }
    return b;
}

// The window with its two dialogs answered from a script.
class ScriptedSaveForm : public SaveAsDialog {
public:
    using SaveAsDialog::SaveAsDialog;

    struct Offer {
        std::string folder;
        std::string name;
        SaveFileType type;
    };
    std::vector<Offer> offers;
    std::optional<std::string> answer;
    std::optional<ColorRef> colorAnswer;

protected:
    std::optional<std::string> chooseSaveFile(const std::string& folder, const std::string& name,
                                              const SaveFileType& type) override
    {
        offers.push_back({folder, name, type});
        return answer;
    }
    std::optional<ColorRef> chooseColor(ColorRef) override { return colorAnswer; }
};

class SaveFormTest : public ::testing::Test, public WindowTestFakes {
protected:
    SaveFormTest() : WindowTestFakes(Bitmap(16, 16)) {}
    static void SetUpTestSuite() { ensureApplication(); }

    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("zentrap-saveform-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "pictures");
        ini = std::make_unique<SettingsFile>((folder / "zentrap.ini").string());
        SaveDir().clear();
        screen.areas = std::vector<Rect>{Rect::fromSize(0, 0, 1280, 994)};
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::unique_ptr<ScriptedSaveForm> open(const Bitmap& image)
    {
        auto form =
            std::make_unique<ScriptedSaveForm>(platform, *ini, SaveAsDialogHost{image, captureNumber, notSaved});
        form->resize(690, 526);
        return form;
    }

    void store(const char* name, uint32_t value)
    {
        SettingsKey key(userHive, SettingsStore::kPrimaryKey);
        key.writeInteger(name, static_cast<int32_t>(value));
    }
    void storeString(const char* name, const std::string& value)
    {
        SettingsKey key(userHive, SettingsStore::kPrimaryKey);
        key.writeString(name, value);
    }
    std::optional<RegValue> stored(const char* name) const { return userHive.value(SettingsStore::kPrimaryKey, name); }

    std::filesystem::path folder;
    std::unique_ptr<SettingsFile> ini;
    Bitmap image = stripes(100, 80);
    int32_t captureNumber = 1;
    bool notSaved = true;
};

} // namespace

TEST_F(SaveFormTest, FirstOpeningShowsTheFourDefaultsWithVariantOneActive)
{
    auto form = open(image);
    EXPECT_EQ(form->windowTitle(), "Zentrap Save As");
    EXPECT_TRUE(form->paneTitle(1).startsWith("Variant 1: BMP "));
    EXPECT_TRUE(form->paneTitle(2).startsWith("Variant 2: JPEG "));
    EXPECT_TRUE(form->paneTitle(3).startsWith("Variant 3: GIF "));
    EXPECT_TRUE(form->paneTitle(4).startsWith("Variant 4: PNG "));
    EXPECT_TRUE(form->paneTitle(2).endsWith(" Kb"));
    EXPECT_EQ(form->session().activeVariant(), 1);
    EXPECT_EQ(control<QComboBox>(*form, "formatBox").currentText(), "BMP");
    EXPECT_FALSE(control<QPushButton>(*form, "defaultsButton").isEnabled());
    EXPECT_EQ(control<QStackedWidget>(*form, "settingsPages").currentIndex(), 0);
    EXPECT_DOUBLE_EQ(form->gaugeFraction(1), 1.0);
    EXPECT_LT(form->gaugeFraction(2), 1.0);
    EXPECT_EQ(form->background(), kDefaultBackground);
    EXPECT_GE(form->minimumWidth(), 690);
    EXPECT_FALSE(control<QToolButton>(*form, "pickerButton").isEnabled());
    EXPECT_EQ(control<QToolButton>(*form, "pickerButton").toolTip(), "Pick color");
    EXPECT_EQ(control<QToolButton>(*form, "colorDialogButton").toolTip(), "Select color");
}

TEST_F(SaveFormTest, TheControlsCarryTheirTexts)
{
    auto form = open(image);
    QStringList formats;
    for (int i = 0; i < control<QComboBox>(*form, "formatBox").count(); ++i) {
        formats << control<QComboBox>(*form, "formatBox").itemText(i);
    }
    EXPECT_EQ(formats, QStringList({"BMP", "JPEG", "GIF", "PNG", "TIFF"}));
    EXPECT_EQ(control<QComboBox>(*form, "gifPaletteBox").itemText(0), "Windows system");
    EXPECT_EQ(control<QComboBox>(*form, "gifPaletteBox").itemText(7), "Optimized Windows");
    EXPECT_EQ(control<QComboBox>(*form, "gifDitherBox").itemText(4), "Jarvis, Judice & Ninke");
    EXPECT_EQ(control<QComboBox>(*form, "gifCompressionBox").itemText(1), "RLE");
    EXPECT_EQ(control<QPushButton>(*form, "saveButton").text(), "Save...");
    EXPECT_TRUE(control<QPushButton>(*form, "saveButton").isDefault());
    EXPECT_EQ(control<QCheckBox>(*form, "transparentBox").text(), "Transparent color");
    EXPECT_EQ(control<QCheckBox>(*form, "jpegProgressiveBox").text(), "Progressive encoding");
    EXPECT_EQ(control<QSlider>(*form, "jpegQualitySlider").minimum(), 0);
    EXPECT_EQ(control<QSlider>(*form, "jpegQualitySlider").maximum(), 99);
}

TEST_F(SaveFormTest, AClickOnAnotherPaneOnlyMakesItActive)
{
    auto form = open(image);
    form->show();
    QString before = form->paneTitle(2);
    QTest::mouseClick(&control<SavePreviewPane>(*form, "paintBox2"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(form->session().activeVariant(), 2);
    EXPECT_EQ(control<QComboBox>(*form, "formatBox").currentText(), "JPEG");
    EXPECT_EQ(control<QStackedWidget>(*form, "settingsPages").currentIndex(), 1);
    EXPECT_TRUE(control<QPushButton>(*form, "defaultsButton").isEnabled());
    EXPECT_EQ(control<QSlider>(*form, "jpegQualitySlider").value(), 74);
    EXPECT_TRUE(control<QCheckBox>(*form, "jpegProgressiveBox").isChecked());
    EXPECT_EQ(form->paneTitle(2), before);
    EXPECT_EQ(form->scrollOffset(), QPoint(0, 0));
}

TEST_F(SaveFormTest, TheQualitySliderEncodesOnReleaseNotWhileItMoves)
{
    store("ActiveVar", 2);
    auto form = open(image);
    size_t before = form->session().variant(2).encodedLength;
    control<QSlider>(*form, "jpegQualitySlider").setSliderDown(true);
    control<QSlider>(*form, "jpegQualitySlider").setValue(4);
    control<QSlider>(*form, "jpegQualitySlider").setValue(9);
    EXPECT_EQ(control<QLabel>(*form, "jpegQualityLabel").text(), "Quality: 10");
    EXPECT_EQ(form->session().variant(2).JPEGCompressionQuality, 75);
    EXPECT_EQ(form->session().variant(2).encodedLength, before);
    control<QSlider>(*form, "jpegQualitySlider").setSliderDown(false); // the thumb is released
    EXPECT_EQ(form->session().variant(2).JPEGCompressionQuality, 10);
    size_t atTen = form->session().variant(2).encodedLength;
    EXPECT_LT(atTen, before);
    EXPECT_TRUE(form->paneTitle(2).startsWith("Variant 2: JPEG "));
    // A key moves and encodes at once.
    QTest::keyClick(&control<QSlider>(*form, "jpegQualitySlider"), Qt::Key_Right);
    EXPECT_EQ(form->session().variant(2).JPEGCompressionQuality, 11);
    EXPECT_EQ(control<QLabel>(*form, "jpegQualityLabel").text(), "Quality: 11");
}

TEST_F(SaveFormTest, ChoosingAFormatEncodesTheActiveVariantOnly)
{
    auto form = open(image);
    QString third = form->paneTitle(3);
    control<QComboBox>(*form, "formatBox").setCurrentIndex(4);
    emit control<QComboBox>(*form, "formatBox").activated(4);
    EXPECT_TRUE(form->paneTitle(1).startsWith("Variant 1: TIFF "));
    EXPECT_EQ(form->session().variant(1).Fmt, 4);
    EXPECT_EQ(form->paneTitle(3), third);
    EXPECT_FALSE(control<QPushButton>(*form, "defaultsButton").isEnabled());
}

TEST_F(SaveFormTest, DefaultsRestoreTheJpegSettingsAndEncode)
{
    store("ActiveVar", 2);
    store("JPEGCompressionQuality2", 5);
    store("JPEGProgressiveEncoding2", 0);
    auto form = open(image);
    EXPECT_EQ(control<QSlider>(*form, "jpegQualitySlider").value(), 4);
    EXPECT_FALSE(control<QCheckBox>(*form, "jpegProgressiveBox").isChecked());
    size_t atFive = form->session().variant(2).encodedLength;
    control<QPushButton>(*form, "defaultsButton").click();
    EXPECT_EQ(form->session().variant(2).JPEGCompressionQuality, 75);
    EXPECT_TRUE(form->session().variant(2).JPEGProgressiveEncoding);
    EXPECT_EQ(control<QSlider>(*form, "jpegQualitySlider").value(), 74);
    EXPECT_EQ(control<QLabel>(*form, "jpegQualityLabel").text(), "Quality: 75");
    EXPECT_TRUE(control<QCheckBox>(*form, "jpegProgressiveBox").isChecked());
    EXPECT_NE(form->session().variant(2).encodedLength, atFive);
}

TEST_F(SaveFormTest, DefaultsRestoreTheGifSettingsAndEncode)
{
    store("ActiveVar", 3);
    store("GIFColorReduction3", 7);
    store("GIFColorResolution3", 8);
    store("GIFDitherMode3", 1);
    store("GIFCompression3", 1);
    store("GIFIsTransparent3", 1);
    store("GIFTransparentPixelX3", 4);
    auto form = open(image);
    EXPECT_EQ(control<QComboBox>(*form, "gifPaletteBox").currentText(), "Optimized...");
    EXPECT_TRUE(control<QComboBox>(*form, "gifColorsBox").isEnabled());
    EXPECT_EQ(control<QComboBox>(*form, "gifColorsBox").currentText(), "8");
    EXPECT_TRUE(control<QCheckBox>(*form, "transparentBox").isChecked());
    EXPECT_TRUE(control<QToolButton>(*form, "pickerButton").isEnabled());
    control<QPushButton>(*form, "defaultsButton").click();
    EXPECT_EQ(gifSettings(form->session().variant(3)), kGifDefaults);
    EXPECT_EQ(control<QComboBox>(*form, "gifPaletteBox").currentText(), "Optimized Windows");
    EXPECT_FALSE(control<QComboBox>(*form, "gifColorsBox").isEnabled());
    EXPECT_EQ(control<QComboBox>(*form, "gifColorsBox").currentText(), "256");
    EXPECT_EQ(control<QComboBox>(*form, "gifDitherBox").currentText(), "Nearest color");
    EXPECT_EQ(control<QComboBox>(*form, "gifCompressionBox").currentText(), "LZW");
    EXPECT_FALSE(control<QCheckBox>(*form, "transparentBox").isChecked());
    EXPECT_FALSE(control<QToolButton>(*form, "pickerButton").isEnabled());
    EXPECT_TRUE(form->paneTitle(3).startsWith("Variant 3: GIF "));
}

TEST_F(SaveFormTest, TheColourCountFollowsThePalette)
{
    store("ActiveVar", 3);
    auto form = open(image);
    const char* fixed[] = {"20", "256", "4", "b/w", "256", "216"};
    for (int i = 0; i < 6; ++i) {
        control<QComboBox>(*form, "gifPaletteBox").setCurrentIndex(i);
        emit control<QComboBox>(*form, "gifPaletteBox").activated(i);
        EXPECT_EQ(form->session().variant(3).GIFColorReduction, i + 1);
        EXPECT_FALSE(control<QComboBox>(*form, "gifColorsBox").isEnabled());
        EXPECT_EQ(control<QComboBox>(*form, "gifColorsBox").count(), 1);
        EXPECT_EQ(control<QComboBox>(*form, "gifColorsBox").currentText(), fixed[i]);
    }
    control<QComboBox>(*form, "gifPaletteBox").setCurrentIndex(6);
    emit control<QComboBox>(*form, "gifPaletteBox").activated(6);
    EXPECT_TRUE(control<QComboBox>(*form, "gifColorsBox").isEnabled());
    EXPECT_EQ(control<QComboBox>(*form, "gifColorsBox").count(), 6);
    EXPECT_EQ(control<QComboBox>(*form, "gifColorsBox").currentText(), "32");
    control<QComboBox>(*form, "gifColorsBox").setCurrentIndex(5);
    emit control<QComboBox>(*form, "gifColorsBox").activated(5);
    EXPECT_EQ(form->session().variant(3).GIFColorResolution, 256);
}

TEST_F(SaveFormTest, CaptureThreeThenCaptureFourInTheFolderJustUsed)
{
    captureNumber = 3;
    store("ActiveVar", 4);
    auto form = open(image);
    std::filesystem::create_directories(folder / "shots");
    form->answer = (folder / "shots" / "Capture3.png").string();
    form->saveActiveVariant();
    ASSERT_EQ(form->offers.size(), 1u);
    EXPECT_EQ(form->offers[0].name, "Capture3");
    EXPECT_EQ(form->offers[0].type.filter, "PNG files (*.png)");
    EXPECT_EQ(form->offers[0].type.extension, "png");
    EXPECT_TRUE(std::filesystem::exists(folder / "shots" / "Capture3.png"));
    EXPECT_EQ(std::filesystem::file_size(folder / "shots" / "Capture3.png"), form->session().variant(4).encodedLength);
    EXPECT_FALSE(notSaved);
    EXPECT_EQ(captureNumber, 4);
    // The pane's size is the saved file's size as the size text shows it.
    auto fileSize = std::filesystem::file_size(folder / "shots" / "Capture3.png");
    EXPECT_EQ(form->paneTitle(4).toStdString(), "Variant 4: PNG " + FormatSize(fileSize, {",", "."}));

    form->answer.reset(); // cancelled: nothing changes
    form->saveActiveVariant();
    ASSERT_EQ(form->offers.size(), 2u);
    EXPECT_EQ(form->offers[1].folder, (folder / "shots").string() + "/");
    EXPECT_EQ(form->offers[1].name, "Capture4");
    EXPECT_EQ(captureNumber, 4);
}

TEST_F(SaveFormTest, AFailingGifEncodingKeepsThePaneAndRestoresTheCursor)
{
    store("ActiveVar", 3);
    store("GIFCompression3", 1);
    auto form = open(image);
    QString title = form->paneTitle(3);
    double gauge = form->gaugeFraction(3);
    form->session().variant(3).GIFCompression = 2; // the writer refuses this one
    form->encodeGif(3);
    EXPECT_EQ(form->paneTitle(3), title);
    EXPECT_DOUBLE_EQ(form->gaugeFraction(3), gauge);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SaveFormTest, AFailingSaveShowsTheErrorAndChangesNothing)
{
    auto form = open(image);
    std::string dirBefore = SaveDir();
    form->answer = (folder / "missing" / "Capture1.bmp").string();
    form->saveActiveVariant();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(messages.messages[0].empty());
    EXPECT_TRUE(notSaved);
    EXPECT_EQ(captureNumber, 1);
    EXPECT_EQ(SaveDir(), dirBefore);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST_F(SaveFormTest, TheSaveFolderFallsBackWhenTheStoredOneIsMissing)
{
    storeString("SaveDir", "c:\\");
    auto form = open(image);
    EXPECT_FALSE(SaveDir().empty());
    EXPECT_EQ(SaveDir().back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(SaveDir()));

    storeString("SaveDir", (folder / "pictures").string() + "/");
    auto second = open(image);
    EXPECT_EQ(SaveDir(), (folder / "pictures").string() + "/");
}

TEST_F(SaveFormTest, ClosingWritesEverythingAndItComesBack)
{
    {
        auto form = open(image);
        QTest::mouseClick(&control<SavePreviewPane>(*form, "paintBox3"), Qt::LeftButton, {}, QPoint(2, 2));
        control<QComboBox>(*form, "gifDitherBox").setCurrentIndex(2);
        emit control<QComboBox>(*form, "gifDitherBox").activated(2);
        form->colorAnswer = makeColor(10, 20, 30);
        control<QToolButton>(*form, "colorDialogButton").click();
        form->move(40, 50);
        form->resize(800, 600);
        form->reject();
    }
    EXPECT_EQ(stored("ActiveVar"), std::optional<RegValue>(uint32_t{3}));
    EXPECT_EQ(stored("GIFDitherMode3"), std::optional<RegValue>(uint32_t{2}));
    EXPECT_EQ(stored("Fmt4"), std::optional<RegValue>(uint32_t{3}));
    EXPECT_TRUE(stored("SaveDir").has_value());
    EXPECT_EQ(ini->readString("Save", "Background", ""), std::to_string(makeColor(10, 20, 30)));
    EXPECT_EQ(ini->readInteger("Save", "Width", 0), 800);
    EXPECT_EQ(ini->readInteger("Save", "Height", 0), 600);

    auto again = open(image);
    EXPECT_EQ(again->session().activeVariant(), 3);
    EXPECT_EQ(control<QComboBox>(*again, "gifDitherBox").currentText(), "Stucki");
    EXPECT_EQ(again->background(), makeColor(10, 20, 30));
}

// A hand-edited or outdated placement must not put the buttons out of reach, nor be saved back.
// What a user sees at each density, at the window's smallest and on every settings page: no
// control cuts its text, none lies outside the window or over another.
TEST_F(SaveFormTest, AtEveryDensityEverySettingsPageShowsEveryControlWhole)
{
    screen.areas = std::vector<Rect>{Rect::fromSize(0, 0, 1920, 1080)};
    for (int dpi : {96, 120, 144}) {
        platform.pixelsPerInch = dpi;
        ini->writeInteger("Save", "Width", 1);
        ini->writeInteger("Save", "Height", 1);
        ScriptedSaveForm form(platform, *ini, SaveAsDialogHost{image, captureNumber, notSaved});
        form.show();
        QApplication::processEvents();
        EXPECT_EQ(form.size(), QSize(scaledDesignLength(690, dpi), scaledDesignLength(526, dpi)));
        auto& pages = control<QStackedWidget>(form, "settingsPages");
        for (int page = 0; page < pages.count(); ++page) {
            pages.setCurrentIndex(page);
            QApplication::processEvents();
            const QStringList faults = layoutaudit::faults(QString("%1 dpi, page %2").arg(dpi).arg(page), form);
            EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
        }
        form.reject();
    }
}

TEST_F(SaveFormTest, AnAbsurdStoredPlacementIsBroughtOntoTheScreen)
{
    ini->writeInteger("Save", "Left", 5000);
    ini->writeInteger("Save", "Top", 5000);
    ini->writeInteger("Save", "Width", 2147483647);
    ini->writeInteger("Save", "Height", 2147483647);
    {
        ScriptedSaveForm form(platform, *ini, SaveAsDialogHost{image, captureNumber, notSaved});
        EXPECT_EQ(form.geometry(), QRect(0, 0, 1280, 994));
        form.reject();
    }
    EXPECT_EQ(ini->readInteger("Save", "Left", -1), 0);
    EXPECT_EQ(ini->readInteger("Save", "Width", 0), 1280);
    EXPECT_EQ(ini->readInteger("Save", "Height", 0), 994);
}

TEST_F(SaveFormTest, TheBackgroundIsWrittenInTheWindowsColourForm)
{
    {
        auto form = open(image);
        form->reject();
    }
    EXPECT_EQ(ini->readString("Save", "Background", ""), "8421376");
    ini->writeString("Save", "Background", "not a colour");
    auto form = open(image);
    EXPECT_EQ(form->background(), kDefaultBackground);
}

TEST_F(SaveFormTest, AStoredFormatCodeOutsideTheListLeavesThePaneAndSaveDisabled)
{
    store("Fmt1", 9);
    auto form = open(image);
    EXPECT_EQ(form->paneTitle(1), "Variant 1: BMP");
    EXPECT_EQ(control<QComboBox>(*form, "formatBox").currentIndex(), -1);
    EXPECT_FALSE(control<QPushButton>(*form, "saveButton").isEnabled());
    EXPECT_DOUBLE_EQ(form->gaugeFraction(1), 0.0);
    form->saveActiveVariant();
    EXPECT_TRUE(form->offers.empty());
}

TEST_F(SaveFormTest, HelpOpensTheSavingTopic)
{
    auto form = open(image);
    control<QPushButton>(*form, "helpButton").click();
    ASSERT_EQ(help.topics.size(), 1u);
    EXPECT_EQ(help.topics[0], "/opt/zentrap/ztp.chm::/HTML/Saving.htm");
}

TEST_F(SaveFormTest, AnImageSmallerThanThePreviewsNeverScrollsAndShowsTheBackground)
{
    auto form = open(image);
    form->show();
    form->updateLayout();
    SavePreviewPane* box = &control<SavePreviewPane>(*form, "paintBox1");
    ASSERT_GT(box->width(), image.width());
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(box, QPoint(60, 40));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(form->scrollOffset(), QPoint(0, 0));
    EXPECT_FALSE(box->testAttribute(Qt::WA_SetCursor));

    box->renderOffscreen();
    const QImage& shown = box->offscreen();
    QColor background(0, 128, 128);
    EXPECT_EQ(shown.pixelColor(image.width(), 0), background);
    EXPECT_EQ(shown.pixelColor(0, image.height()), background);
    EXPECT_EQ(shown.pixelColor(box->width() - 1, box->height() - 1), background);
    ColorRef corner = image.pixelColor(3, 2);
    EXPECT_EQ(shown.pixelColor(3, 2), QColor(redOf(corner), greenOf(corner), blueOf(corner)));
}

TEST_F(SaveFormTest, DraggingALargeImageScrollsAllFourWithinTheImage)
{
    Bitmap large = stripes(1000, 800);
    auto form = open(large);
    form->show();
    form->updateLayout();
    SavePreviewPane* box = &control<SavePreviewPane>(*form, "paintBox1");
    // The hands tell themselves apart by their hot spots: the open hand's (15, 15), the closed (16, 16).
    QTest::mouseMove(box, QPoint(100, 100));
    EXPECT_EQ(box->cursor().hotSpot(), QPoint(15, 15));
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(box->cursor().hotSpot(), QPoint(16, 16));
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 60), box->mapToGlobal(QPointF(50, 60)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    EXPECT_EQ(form->scrollOffset(), QPoint(50, 40));
    QMouseEvent far(QEvent::MouseMove, QPointF(-5000, -5000), box->mapToGlobal(QPointF(-5000, -5000)), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &far);
    EXPECT_EQ(form->scrollOffset(), QPoint(1000 - box->width(), 800 - box->height()));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(-5000, -5000));
    QPoint farEnd(1000 - box->width(), 800 - box->height());
    EXPECT_EQ(form->scrollOffset(), farEnd);
    EXPECT_EQ(box->cursor().hotSpot(), QPoint(15, 15));
    EXPECT_FALSE(QApplication::mouseButtons() & Qt::LeftButton);

    // A larger window moves an offset that would leave empty space back.
    form->resize(1600, 1200);
    form->updateLayout();
    EXPECT_EQ(form->scrollOffset(), QPoint(1000 - box->width(), 800 - box->height()));
    EXPECT_LT(form->scrollOffset().x(), farEnd.x());

    // Dragging the other way stops at 0.
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(600, 500));
    EXPECT_EQ(form->scrollOffset(), QPoint(0, 0));
}

TEST_F(SaveFormTest, ThePickerTakesTheTransparentPixelOnTheActiveGifPane)
{
    store("ActiveVar", 3);
    auto form = open(image);
    form->show();
    form->updateLayout();
    control<QCheckBox>(*form, "transparentBox").click();
    EXPECT_TRUE(form->session().variant(3).GIFIsTransparent);
    ASSERT_TRUE(control<QToolButton>(*form, "pickerButton").isEnabled());
    control<QToolButton>(*form, "pickerButton").click();
    ASSERT_TRUE(control<QToolButton>(*form, "pickerButton").isChecked());
    QString title = form->paneTitle(3);
    QTest::mouseMove(&control<SavePreviewPane>(*form, "paintBox3"), QPoint(17, 9));
    EXPECT_EQ(control<SavePreviewPane>(*form, "paintBox3").cursor().hotSpot(), QPoint(1, 30)); // the pipette's tip
    QTest::mouseClick(&control<SavePreviewPane>(*form, "paintBox3"), Qt::LeftButton, {}, QPoint(17, 9));
    const SaveVariant& v = form->session().variant(3);
    EXPECT_EQ(v.GIFTransparentPixelX, 17);
    EXPECT_EQ(v.GIFTransparentPixelY, 9);
    EXPECT_EQ(form->transparentSwatch(), v.picture->pixelColor(17, 9));
    EXPECT_EQ(form->paneTitle(3), title); // not encoded again
    // A click outside the image picks nothing.
    QTest::mouseClick(&control<SavePreviewPane>(*form, "paintBox3"), Qt::LeftButton, {}, QPoint(image.width() + 3, 2));
    EXPECT_EQ(v.GIFTransparentPixelX, 17);
    // A click on another pane makes it active and releases the picker.
    QTest::mouseClick(&control<SavePreviewPane>(*form, "paintBox1"), Qt::LeftButton, {}, QPoint(17, 9));
    EXPECT_EQ(form->session().activeVariant(), 1);
    EXPECT_FALSE(control<QToolButton>(*form, "pickerButton").isChecked());
}

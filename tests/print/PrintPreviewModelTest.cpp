// The Print Preview's behaviour on a fake printer: settings read and written, enabling, unit
// changes, dragging, setup, and the print job with its page structure and failures.
#include "print/PrintPreviewModel.h"
#include "common/SettingsFile.h"
#include "platform/fake/FakePrintService.h"
#include "print/PrintPlacement.h"
#include "support/TempFolder.h"

#include "print/LetterPage.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

Bitmap pattern(int width, int height)
{
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.setPixelValue(x, y, makeColor(static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 5), 0x40));
        }
    }
    return b;
}

struct PreviewFixture : ::testing::Test {
    PreviewFixture() { printer.pageMetrics = letter300(); }

    void writeIni(const std::string& text) { std::ofstream(ini.path()) << text; }
    PrintPreviewModel& open(Size box = {250, 300})
    {
        printer.selectCurrentPrinter();
        model = std::make_unique<PrintPreviewModel>(printer, ini, image, notSaved, NumberFormat(".", ","), 96);
        model->create({1920, 1080});
        model->setPreviewSize(box);
        model->setActive(true);
        model->updatePreview();
        return *model;
    }

    TempFolder folder;
    SettingsFile ini{(folder.path / "zentrap.ini").string()};
    FakePrintService printer;
    Bitmap image = pattern(96, 48); // 1 x 0.5 inch at 100 %
    bool notSaved = true;
    std::unique_ptr<PrintPreviewModel> model;
};

} // namespace

TEST_F(PreviewFixture, SettingsAreReadWithDefaultsAndWrittenInTheirOrderAsTheUserLeftThem)
{
    writeIni("[Print]\nWidth=100\nHeight=900\nZoom=abc\nXOffset=1.5\nYOffset=2\nBackground=blue\nCenterHorz=0\n");
    PrintPreviewModel& m = open();
    const PrintSettings& s = m.settings();
    EXPECT_EQ(s.window, Rect::fromSize((1920 - 516) / 2, (1080 - 492) / 2, 516, 900));
    EXPECT_EQ(s.layout.zoomText, "abc");
    EXPECT_EQ(s.layout.xOffsetText, "1.50"); // written back with two decimals at creation
    EXPECT_EQ(s.layout.yOffsetText, "2.00");
    EXPECT_EQ(s.background, kDefaultBackground);
    EXPECT_FALSE(s.layout.centerAcross);
    EXPECT_TRUE(s.layout.centerDown);
    EXPECT_EQ(s.copiesText, "1");
    EXPECT_EQ(m.paperSize(), "Paper size: 8.5 x 11.0 inches");
    EXPECT_EQ(m.printerPanelText(), "   Printer: Fake Printer");

    m.settings().copiesText = "two";
    m.settings().layout.inches = false;
    ASSERT_TRUE(m.writeSettings(Rect::fromSize(10, 20, 600, 500)));
    EXPECT_EQ(readWholeFile(ini.path()),
              "[Print]\nWidth=600\nHeight=500\nZoom=abc\nXOffset=1.50\nYOffset=2.00\nBackground=8421376\n"
              "CenterHorz=0\nInches=0\nShowFrame=1\nFitToPage=0\nCenterVert=1\nShowMargins=1\nCopies=two\n"
              "Top=20\nLeft=10\n");
    std::remove(ini.path().c_str());
    ASSERT_TRUE(m.writeSettings(Rect::fromSize(10, 20, 600, 500)));
    EXPECT_EQ(readWholeFile(ini.path()),
              "[Print]\nInches=0\nShowFrame=1\nFitToPage=0\nCenterVert=1\nCenterHorz=0\nShowMargins=1\nZoom=abc\n"
              "Copies=two\nXOffset=1.50\nYOffset=2.00\nBackground=8421376\nTop=20\nLeft=10\nWidth=600\n"
              "Height=500\n");
}

TEST_F(PreviewFixture, FitAndCentringDecideWhichFieldsTakeInput)
{
    writeIni("[Print]\nCenterHorz=0\n");
    PrintPreviewModel& m = open();
    PreviewControlStates states = m.controlStates();
    EXPECT_TRUE(states.zoom && states.centerAcross && states.centerDown && states.left);
    EXPECT_FALSE(states.top);
    m.settings().layout.fit = true;
    states = m.controlStates();
    EXPECT_FALSE(states.zoom || states.centerAcross || states.centerDown || states.left || states.top);

    // "Defaults" resets the rest but keeps the unit and the offsets.
    m.settings().layout.inches = false;
    m.settings().layout.xOffsetText = "12.00";
    m.settings().copiesText = "7";
    m.settings().background = 255;
    m.restoreDefaults();
    EXPECT_FALSE(m.settings().layout.fit);
    EXPECT_TRUE(m.settings().layout.centerAcross);
    EXPECT_EQ(m.settings().copiesText, "1");
    EXPECT_EQ(m.settings().background, kDefaultBackground);
    EXPECT_FALSE(m.settings().layout.inches);
    EXPECT_EQ(m.settings().layout.xOffsetText, "12.00");
}

TEST_F(PreviewFixture, DraggingMovesTheOffsetsByPreviewPixelsOverK)
{
    writeIni("[Print]\nCenterHorz=0\nCenterVert=0\nXOffset=1\nYOffset=1\n");
    PrintPreviewModel& m = open({250, 300});
    ASSERT_DOUBLE_EQ(m.previewPixelsPerInch(), 25);
    Rect image = m.imageOnPreview();
    EXPECT_EQ(image.width(), 25);

    // The edge pixel does not start a drag, one pixel inside does; other buttons never.
    EXPECT_FALSE(m.mousePressed(true, {image.left, image.top + 5}));
    EXPECT_FALSE(m.mousePressed(false, {image.left + 1, image.top + 5}));
    EXPECT_EQ(m.mouseMoved(false, {image.left + 1, image.top + 5}).cursor, PreviewCursor::OpenHand);
    EXPECT_EQ(m.mouseMoved(true, {image.left + 1, image.top + 5}).cursor, PreviewCursor::Arrow);
    EXPECT_EQ(m.mouseMoved(false, {image.left, image.top + 5}).cursor, PreviewCursor::Arrow);
    Point start{image.left + 1, image.top + 5};
    EXPECT_EQ(m.mousePressed(true, start), PreviewCursor::ClosedHand);

    auto moved = m.mouseMoved(true, {start.x + 50, start.y - 2});
    EXPECT_TRUE(moved.fieldsChanged);
    EXPECT_EQ(m.settings().layout.xOffsetText, "3.00");
    EXPECT_EQ(m.settings().layout.yOffsetText, "0.92");
    EXPECT_EQ(m.imageOnPreview().left, image.left + 50);

    // Released over the image: the fields are written once more and the layout follows them;
    // in millimetres the same 50 pixels are 50.80 mm.
    auto released = m.mouseReleased({start.x + 50, start.y});
    EXPECT_EQ(released.cursor, PreviewCursor::OpenHand);
    EXPECT_FALSE(m.dragging());
    EXPECT_EQ(m.settings().layout.yOffsetText, "1.00");
    m.unitsChanged(false);
    EXPECT_EQ(m.settings().layout.xOffsetText, "76.20");
    Rect now = m.imageOnPreview();
    m.mousePressed(true, {now.left + 2, now.top + 2});
    m.mouseMoved(true, {now.left + 52, now.top + 2});
    EXPECT_EQ(m.settings().layout.xOffsetText, "127.00");
    // Released outside the image: the arrow, and the fields stay as the last move left them.
    EXPECT_EQ(m.mouseReleased({0, 0}).cursor, PreviewCursor::Arrow);
    EXPECT_EQ(m.settings().layout.xOffsetText, "127.00");

    // Dragged far past the sheet the field keeps the number; the layout clamps it.
    m.mousePressed(true, {m.imageOnPreview().left + 2, m.imageOnPreview().top + 2});
    m.mouseMoved(true, {5000, 0});
    m.mouseReleased({5000, 0});
    EXPECT_EQ(m.layout().image.left, 8.0);
    EXPECT_NE(m.settings().layout.xOffsetText, "203.20");
}

TEST_F(PreviewFixture, PrintingThreeCopiesIsOneJobOfThreePages)
{
    writeIni("[Print]\nCenterHorz=0\nCenterVert=0\nXOffset=1\nYOffset=2\nZoom=50\nCopies=3\n");
    PrintPreviewModel& m = open();
    EXPECT_EQ(m.print(), std::nullopt);
    ASSERT_EQ(printer.jobs.size(), 1U);
    const FakePrintService::Job& job = printer.jobs[0];
    EXPECT_EQ(job.title, "Zentrap");
    EXPECT_TRUE(job.ended);
    ASSERT_EQ(job.pages.size(), 3U);
    // 96 x 48 pixels, 300 dpi, 50 %: 150 x 75 printer pixels at 1 in, 2 in on the sheet.
    for (const auto& page : job.pages) {
        ASSERT_EQ(page.size(), 1U);
        EXPECT_EQ(page[0].destination, Rect::fromSize(300 - 75, 600 - 225, 150, 75));
        EXPECT_EQ(page[0].image, image);
    }
    EXPECT_FALSE(notSaved);
    EXPECT_EQ(m.settings().copiesText, "3");
}

TEST_F(PreviewFixture, CopiesBelowOneOrAbsurdlyManyPrintWhatTheFieldThenShows)
{
    PrintPreviewModel& m = open();
    for (auto [text, pages] : {std::pair{"0", 1}, {"-2", 1}, {"many", 1}, {"5000", 999}}) {
        printer.jobs.clear();
        m.settings().copiesText = text;
        EXPECT_EQ(m.print(), std::nullopt);
        ASSERT_EQ(printer.jobs.size(), 1U);
        EXPECT_EQ(printer.jobs[0].pages.size(), static_cast<size_t>(pages)) << text;
        EXPECT_EQ(printer.jobs[0].pages.back().size(), 1U) << "no empty page for " << text;
        EXPECT_EQ(m.settings().copiesText, std::to_string(pages));
    }
}

TEST_F(PreviewFixture, AFailedJobIsEndedAndReportedAndTheCaptureStaysUnsaved)
{
    PrintPreviewModel& m = open();
    m.settings().copiesText = "2";
    for (auto step : {FakePrintService::FailAt::Start, FakePrintService::FailAt::Draw, FakePrintService::FailAt::End}) {
        printer.jobs.clear();
        printer.failAt = step;
        EXPECT_EQ(m.print(), printer.failure);
        ASSERT_EQ(printer.jobs.size(), 1U);
        EXPECT_EQ(printer.jobs[0].ended, step != FakePrintService::FailAt::Start);
        EXPECT_TRUE(notSaved);
    }
    printer.failAt = FakePrintService::FailAt::Nothing;
    EXPECT_EQ(m.print(), std::nullopt);
    EXPECT_FALSE(notSaved);
}

TEST_F(PreviewFixture, AcceptedSetupReadsThePageAgain)
{
    PrintPreviewModel& m = open();
    const PrinterMetrics a4 = borderlessSheet(600, 4961, 7016);
    printer.metricsAfterSetup = a4;
    EXPECT_FALSE(m.printerSetup(nullptr));
    EXPECT_EQ(m.metrics(), letter300());
    printer.setupAccepted = true;
    EXPECT_TRUE(m.printerSetup(nullptr));
    EXPECT_EQ(m.metrics(), a4);
    EXPECT_EQ(m.paperSize(), "Paper size: 8.3 x 11.7 inches");
    m.unitsChanged(false);
    EXPECT_EQ(m.paperSize(), "Paper size: 210 x 297 mm");
}

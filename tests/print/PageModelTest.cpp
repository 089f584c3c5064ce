// The page model on the sheets and images of the printing examples: zoom, fit, offsets with
// their clamping, centring, unit changes, paper-size texts, the preview mapping and the print
// job's destination rectangle.
#include "print/PageLayout.h"
#include "print/PreviewMapping.h"
#include "print/PrintPlacement.h"
#include "print/PrintSettings.h"

#include "print/LetterPage.h"

#include <gtest/gtest.h>

namespace {

const NumberFormat kEnglish(".", ",");
const NumberFormat kGerman(",", ".");

LayoutSettings placedAt(std::string left, std::string top, bool inches = true)
{
    LayoutSettings s;
    s.inches = inches;
    s.centerAcross = false;
    s.centerDown = false;
    s.xOffsetText = std::move(left);
    s.yOffsetText = std::move(top);
    return s;
}

} // namespace

TEST(PageModel, ZoomFallsBackAndIsKeptBetweenOneAndAThousandPercent)
{
    const struct {
        const char* text;
        const NumberFormat& numbers;
        double zoom;
    } zooms[] = {
        {"abc", kEnglish, 1.0},
        {"", kEnglish, 1.0},
        {"0", kEnglish, 0.01},
        {"-20", kEnglish, 0.01},
        {"5000", kEnglish, 10.0},
        {" 150.5 ", kEnglish, 1.505},
        // The user's own decimal separator; the other one is a thousands separator or nothing.
        {"150,5", kGerman, 1.505},
        {"150.5", kGerman, 1.0},
        {"1.000", kGerman, 10.0},
    };
    for (const auto& z : zooms) {
        EXPECT_DOUBLE_EQ(zoomFromText(z.text, z.numbers), z.zoom) << '"' << z.text << '"';
    }

    // A 96 x 48 image at 200 % on a 96 ppi screen is 2 x 1 inches.
    LayoutSettings s = placedAt("1", "1");
    s.zoomText = "200";
    PageLayout layout = computePageLayout(letter300(), s, 96, 48, 96, kEnglish);
    EXPECT_DOUBLE_EQ(layout.image.width(), 2.0);
    EXPECT_DOUBLE_EQ(layout.image.height(), 1.0);
}

TEST(PageModel, FitTakesTheNarrowerSideAndCentresOnThePrintableArea)
{
    PrinterMetrics m = letter300();
    // An image twice as wide as high on a portrait sheet: the width decides, whatever the
    // offsets, centring and zoom say.
    LayoutSettings s = placedAt("-7", "33");
    s.fit = true;
    s.zoomText = "1";
    PageLayout layout = computePageLayout(m, s, 800, 400, 96, kEnglish);
    double printableWidth = 2325.0 / 300;
    EXPECT_DOUBLE_EQ(layout.zoom, printableWidth / (800.0 / 96));
    EXPECT_NEAR(layout.image.left, 0.25, 1e-12);
    EXPECT_NEAR(layout.image.right, 0.25 + printableWidth, 1e-12);
    double printableMiddle = 0.75 + 2925.0 / 300 / 2;
    EXPECT_NEAR((layout.image.top + layout.image.bottom) / 2, printableMiddle, 1e-12);

    // A tall image: the height decides, and the zoom may pass 1000 %.
    PageLayout tall = computePageLayout(m, s, 10, 40, 96, kEnglish);
    EXPECT_NEAR(tall.image.height(), 2925.0 / 300, 1e-12);
    EXPECT_GT(tall.zoom, 10);
}

TEST(PageModel, OffsetsAreClampedSoThatTheImageTouchesThePrintableArea)
{
    PrinterMetrics m = letter300();
    // 192 x 96 pixels at 100 % on 96 ppi: 2 x 1 inches.
    PageLayout far = computePageLayout(m, placedAt("100", "100"), 192, 96, 96, kEnglish);
    EXPECT_NEAR(far.image.left, 8.0, 1e-12); // the printable area's right edge
    EXPECT_NEAR(far.image.top, 10.5, 1e-12); // its bottom edge
    PageLayout back = computePageLayout(m, placedAt("-100", "-100"), 192, 96, 96, kEnglish);
    EXPECT_NEAR(back.image.right, 0.25, 1e-12);
    EXPECT_NEAR(back.image.bottom, 0.75, 1e-12);
    // In between the offsets are taken as they are; text that does not parse is 0 (then clamped).
    PageLayout inside = computePageLayout(m, placedAt("1.5", "x"), 192, 96, 96, kEnglish);
    EXPECT_DOUBLE_EQ(inside.image.left, 1.5);
    EXPECT_DOUBLE_EQ(inside.yOffset, 0);
    // Millimetres are divided by 25.4.
    PageLayout mm = computePageLayout(m, placedAt("50.8", "25.4", false), 192, 96, 96, kEnglish);
    EXPECT_NEAR(mm.image.left, 2.0, 1e-12);
    EXPECT_NEAR(mm.image.top, 1.0, 1e-12);
}

TEST(PageModel, CentringIsOnTheSheetNotOnThePrintableArea)
{
    LayoutSettings s = placedAt("3", "3");
    s.centerAcross = true;
    PageLayout layout = computePageLayout(letter300(), s, 192, 96, 96, kEnglish);
    EXPECT_DOUBLE_EQ(layout.image.left, (8.5 - 2) / 2);
    EXPECT_DOUBLE_EQ(layout.image.top, 3);
    // The printable area's middle lies elsewhere because the margins differ.
    EXPECT_NE(layout.image.left, 0.25 + (7.75 - 2) / 2);
    s.centerDown = true;
    layout = computePageLayout(letter300(), s, 192, 96, 96, kEnglish);
    EXPECT_DOUBLE_EQ(layout.image.top, (11 - 1) / 2.0);
}

TEST(PageModel, UnitChangeRewritesTheClampedOffsetsWithTwoDecimals)
{
    LayoutSettings s = placedAt("1.5", "-100");
    PageLayout layout = computePageLayout(letter300(), s, 192, 96, 96, kEnglish);
    s.inches = false;
    rewriteOffsetsForUnit(s, layout, kEnglish);
    EXPECT_EQ(s.xOffsetText, "38.10");
    EXPECT_EQ(s.yOffsetText, "-6.35"); // the clamped offset: 0.75 - 1 inch
    layout = computePageLayout(letter300(), s, 192, 96, 96, kEnglish);
    s.inches = true;
    rewriteOffsetsForUnit(s, layout, kEnglish);
    EXPECT_EQ(s.xOffsetText, "1.50");
    EXPECT_EQ(s.yOffsetText, "-0.25");

    // A sheet wide enough for a 1000 mm offset: the text carries a thousands separator and the
    // next layout still reads it.
    const PrinterMetrics plotter = borderlessSheet(100, 6000, 6000);
    for (const NumberFormat* numbers : {&kEnglish, &kGerman}) {
        LayoutSettings wide = placedAt("40", "0");
        PageLayout first = computePageLayout(plotter, wide, 96, 96, 96, *numbers);
        wide.inches = false;
        rewriteOffsetsForUnit(wide, first, *numbers);
        EXPECT_EQ(wide.xOffsetText, numbers == &kEnglish ? "1,016.00" : "1.016,00");
        PageLayout again = computePageLayout(plotter, wide, 96, 96, 96, *numbers);
        EXPECT_NEAR(again.image.left, 40, 1e-12);
    }

    // At creation the stored texts are written back with two decimals, both zero if either fails.
    LayoutSettings stored = placedAt("2", "1,234.5");
    normalizeOffsetTexts(stored, kEnglish);
    EXPECT_EQ(stored.xOffsetText, "2.00");
    EXPECT_EQ(stored.yOffsetText, "1,234.50");
    stored = placedAt("2", "1,2345");
    normalizeOffsetTexts(stored, kEnglish);
    EXPECT_EQ(stored.xOffsetText, "0.00");
    EXPECT_EQ(stored.yOffsetText, "0.00");
}

TEST(PageModel, PaperSizeTexts)
{
    EXPECT_EQ(paperSizeText(letter300(), true, kEnglish), "Paper size: 8.5 x 11.0 inches");
    EXPECT_EQ(paperSizeText(letter300(), false, kEnglish), "Paper size: 216 x 279 mm");
    EXPECT_EQ(paperSizeText(letter300(), true, kGerman), "Paper size: 8,5 x 11,0 inches");
    // A4 at 600 dpi: 4961 x 7016 pixels.
    const PrinterMetrics a4 = borderlessSheet(600, 4961, 7016);
    EXPECT_EQ(paperSizeText(a4, true, kEnglish), "Paper size: 8.3 x 11.7 inches");
    EXPECT_EQ(paperSizeText(a4, false, kEnglish), "Paper size: 210 x 297 mm");
}

TEST(PageModel, PreviewMappingOfALetterSheet)
{
    PreviewMapping map({300, 400}, 8.5, 11);
    EXPECT_NEAR(map.pixelsPerInch(), 300 / 9.5, 1e-12);
    EXPECT_NEAR(map.pixelsPerInch(), 31.58, 0.005);
    Rect sheet = map.toPreview(InchRect{0, 0, 8.5, 11});
    EXPECT_EQ(sheet.width(), 268);
    EXPECT_EQ(sheet.left, 16);
    EXPECT_EQ(300 - sheet.right, 16);
    EXPECT_DOUBLE_EQ(shadowOffset(8.5, 11), 15.0 / 121);
    EXPECT_DOUBLE_EQ(shadowOffset(11, 8.5), 15.0 / 121);
    // Halves go to the even pixel: at k = 2 with the sheet flush, 0.25 in is 0.5 px -> 0, 0.75 -> 2.
    PreviewMapping exact({19, 25}, 8.5, 11.5);
    ASSERT_DOUBLE_EQ(exact.pixelsPerInch(), 2);
    ASSERT_DOUBLE_EQ(exact.sheetLeft(), 0.5);
    EXPECT_EQ(exact.toPreview(0.25 - 0.5, 0).x, 0);
    EXPECT_EQ(exact.toPreview(0.75 - 0.5, 0).x, 2);
    EXPECT_EQ(exact.toPreview(1.25 - 0.5, 0).x, 2);
}

TEST(PageModel, PrintDestinationRounding)
{
    PrinterMetrics m = letter300();
    PageLayout layout;
    layout.zoom = 1;
    layout.image = {1.0, 2.0, 0, 0};
    // 4 pixels at 300 dpi on a 96 ppi screen: 12.5 printer pixels, the multiply-divide gives 13.
    Rect r = printDestination(m, layout, 4, 8, 96);
    EXPECT_EQ(r, Rect::fromSize(300 - 75, 600 - 225, 13, 25));
    // Then the zoom: 13 x 0.5 = 6.5 goes to the even 6; 25 x 0.5 = 12.5 to 12.
    layout.zoom = 0.5;
    r = printDestination(m, layout, 4, 8, 96);
    EXPECT_EQ(r.width(), 6);
    EXPECT_EQ(r.height(), 12);
    // 600 dpi: 2 pixels are 12.5 -> 13; 3 pixels 18.75 -> 19, x 1.5 = 28.5 -> 28.
    PrinterMetrics fine = m;
    fine.dpiX = fine.dpiY = 600;
    fine.marginLeft = 150;
    fine.marginTop = 450;
    layout.zoom = 1;
    r = printDestination(fine, layout, 2, 3, 96);
    EXPECT_EQ(r, Rect::fromSize(600 - 150, 1200 - 450, 13, 19));
    layout.zoom = 1.5;
    EXPECT_EQ(printDestination(fine, layout, 2, 3, 96).height(), 28);
    // An image left of the printable area lands at a negative position.
    layout.image.left = 0.1;
    EXPECT_EQ(printDestination(fine, layout, 2, 3, 96).left, 60 - 150);
    // Absurd metrics from a broken driver give a far-off rectangle, not an overflow.
    fine.marginLeft = INT32_MIN + 5;
    layout.image.left = 1e9;
    EXPECT_GT(printDestination(fine, layout, 2, 3, 96).left, 0);
}

TEST(PageModel, CopiesBelowOneAreOneAndAreCappedAt999)
{
    const std::pair<const char*, int> copies[] = {{"3", 3},      {" 12 ", 12},   {"abc", 1},
                                                  {"2.5", 1},    {"0", 1},       {"-4", 1},
                                                  {"5000", 999}, {"1,000", 999}, {"99999999999", 999}};
    for (const auto& [text, count] : copies) {
        EXPECT_EQ(copiesFromText(text, kEnglish), count) << '"' << text << '"';
    }
}

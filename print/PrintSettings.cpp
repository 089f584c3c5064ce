#include "print/PrintSettings.h"

#include "common/Rounding.h"
#include "common/SettingsFile.h"

#include <algorithm>

namespace {

constexpr const char* kSection = "Print";

bool readFlag(const SettingsFile& file, const char* key, bool defaultValue)
{
    return file.readInteger(kSection, key, defaultValue ? 1 : 0) != 0;
}

} // namespace

void PrintSettings::restoreDefaults()
{
    layout.fit = false;
    layout.zoomText = "100";
    layout.centerDown = true;
    layout.centerAcross = true;
    copiesText = "1";
    showMargins = true;
    showFrame = true;
    background = kDefaultBackground;
}

WindowPlacement defaultPreviewPlacement(Size screen, int screenPpi, Point screenOrigin)
{
    // Centred at its first size, the scaled minimum.
    const Size minimum = minimumPreviewSize(screenPpi);
    return {screenOrigin.x + (screen.width - minimum.width) / 2, screenOrigin.y + (screen.height - minimum.height) / 2,
            kPreviewMinWidth, kPreviewMinHeight, kDefaultBackground};
}

Size minimumPreviewSize(int screenPpi)
{
    return {static_cast<int>(roundHalfEven(kPreviewMinWidth * screenPpi / 96.0L)),
            static_cast<int>(roundHalfEven(kPreviewMinHeight * screenPpi / 96.0L))};
}

PrintSettings readPrintSettings(const SettingsFile& file, Size screen, int screenPpi, Point screenOrigin)
{
    PrintSettings s;
    Size minimum = minimumPreviewSize(screenPpi);
    const WindowPlacement window =
        readWindowPlacement(file, kSection, defaultPreviewPlacement(screen, screenPpi, screenOrigin));
    s.window = Rect::fromSize(window.left, window.top, std::max(window.width, minimum.width),
                              std::max(window.height, minimum.height));
    s.layout.inches = readFlag(file, "Inches", true);
    s.layout.xOffsetText = file.readString(kSection, "XOffset", "0");
    s.layout.yOffsetText = file.readString(kSection, "YOffset", "0");
    s.layout.centerDown = readFlag(file, "CenterVert", true);
    s.layout.centerAcross = readFlag(file, "CenterHorz", true);
    s.layout.zoomText = file.readString(kSection, "Zoom", "100");
    s.layout.fit = readFlag(file, "FitToPage", false);
    s.copiesText = file.readString(kSection, "Copies", "1");
    s.showMargins = readFlag(file, "ShowMargins", true);
    s.showFrame = readFlag(file, "ShowFrame", true);
    s.background = window.background;
    return s;
}

bool writePrintSettings(SettingsFile& file, const PrintSettings& s)
{
    auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
    // One replacement of the file for the whole section: a window closes without a pause.
    std::vector<std::pair<std::string, std::string>> values{{"Inches", flag(s.layout.inches)},
                                                            {"ShowFrame", flag(s.showFrame)},
                                                            {"FitToPage", flag(s.layout.fit)},
                                                            {"CenterVert", flag(s.layout.centerDown)},
                                                            {"CenterHorz", flag(s.layout.centerAcross)},
                                                            {"ShowMargins", flag(s.showMargins)},
                                                            {"Zoom", s.layout.zoomText},
                                                            {"Copies", s.copiesText},
                                                            {"XOffset", s.layout.xOffsetText},
                                                            {"YOffset", s.layout.yOffsetText},
                                                            {"Background", std::to_string(s.background)}};
    const auto placement =
        positionAndSizeValues({s.window.left, s.window.top, s.window.width(), s.window.height(), s.background});
    values.insert(values.end(), placement.begin(), placement.end());
    return file.writeStrings(kSection, values);
}

void normalizeOffsetTexts(LayoutSettings& layout, const NumberFormat& numbers)
{
    auto x = numbers.parseDecimal(layout.xOffsetText);
    auto y = numbers.parseDecimal(layout.yOffsetText);
    if (!x || !y) {
        x = 0.0;
        y = 0.0;
    }
    layout.xOffsetText = numbers.formatFixed(*x, 2);
    layout.yOffsetText = numbers.formatFixed(*y, 2);
}

void rewriteOffsetsForUnit(LayoutSettings& layout, const PageLayout& last, const NumberFormat& numbers)
{
    double u = unitFactor(layout.inches);
    layout.yOffsetText = numbers.formatFixed(last.yOffset * u, 2);
    layout.xOffsetText = numbers.formatFixed(last.xOffset * u, 2);
}

std::string paperSizeText(const PrinterMetrics& metrics, bool inches, const NumberFormat& numbers)
{
    SheetGeometry sheet = SheetGeometry::of(metrics);
    if (inches) {
        return "Paper size: " + numbers.formatFixed(sheet.paperWidth, 1) + " x " +
               numbers.formatFixed(sheet.paperHeight, 1) + " inches";
    }
    return "Paper size: " + std::to_string(roundHalfEven(sheet.paperWidth * 25.4L)) + " x " +
           std::to_string(roundHalfEven(sheet.paperHeight * 25.4L)) + " mm";
}

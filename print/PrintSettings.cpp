#include "print/PrintSettings.h"

#include "common/DesignLength.h"
#include "common/Rounding.h"
#include "common/SettingField.h"
#include "common/SettingsFile.h"

#include <algorithm>

namespace {

constexpr const char* kSection = "Print";

template <class T> using Field = T& (*)(PrintSettings&);

// Written in this order, before the window's placement.
const SettingRow<PrintSettings> kPrintRows[] = {
    {"Inches", Field<bool>([](PrintSettings& s) -> bool& { return s.layout.inches; })},
    {"ShowFrame", settingField<&PrintSettings::showFrame>},
    {"FitToPage", Field<bool>([](PrintSettings& s) -> bool& { return s.layout.fit; })},
    {"CenterVert", Field<bool>([](PrintSettings& s) -> bool& { return s.layout.centerDown; })},
    {"CenterHorz", Field<bool>([](PrintSettings& s) -> bool& { return s.layout.centerAcross; })},
    {"ShowMargins", settingField<&PrintSettings::showMargins>},
    {"Zoom", Field<std::string>([](PrintSettings& s) -> std::string& { return s.layout.zoomText; })},
    {"Copies", settingField<&PrintSettings::copiesText>},
    {"XOffset", Field<std::string>([](PrintSettings& s) -> std::string& { return s.layout.xOffsetText; })},
    {"YOffset", Field<std::string>([](PrintSettings& s) -> std::string& { return s.layout.yOffsetText; })},
};

} // namespace

SettingTable<PrintSettings> printSettingsTable()
{
    return kPrintRows;
}

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
    return scaledDesignSize({kPreviewMinWidth, kPreviewMinHeight}, screenPpi);
}

PrintSettings readPrintSettings(const SettingsFile& file, Size screen, int screenPpi, Point screenOrigin)
{
    const ProfileText text = file.read();
    PrintSettings s = readSettings(ProfileSection(text, kSection), printSettingsTable(), PrintSettings{});
    const Size minimum = minimumPreviewSize(screenPpi);
    const WindowPlacement window =
        readWindowPlacement(text, kSection, defaultPreviewPlacement(screen, screenPpi, screenOrigin));
    s.window = Rect::fromSize(window.left, window.top, std::max(window.width, minimum.width),
                              std::max(window.height, minimum.height));
    s.background = window.background;
    return s;
}

bool writePrintSettings(SettingsFile& file, const PrintSettings& s)
{
    // One replacement of the file for the whole section: a window closes without a pause.
    ProfileValues values;
    writeSettings(values, printSettingsTable(), s);
    ProfileValues placement;
    addWindowPlacement(placement, {s.window.left, s.window.top, s.window.width(), s.window.height(), s.background});
    // This section writes the colour before the position and size.
    std::rotate(placement.values.begin(), placement.values.end() - 1, placement.values.end());
    values.values.insert(values.values.end(), placement.values.begin(), placement.values.end());
    return file.writeStrings(kSection, values.values);
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

// The Print Preview's persisted settings (section "Print" of the settings file), their defaults,
// and the texts the window writes into its own fields.
#pragma once

#include "common/Color.h"
#include "common/Geometry.h"
#include "common/PrinterMetrics.h"
#include "common/WindowPlacement.h"
#include "print/NumberFormat.h"
#include "print/PageLayout.h"

#include <string>

class SettingsFile;

inline constexpr int kPreviewMinWidth = 516;
inline constexpr int kPreviewMinHeight = 492;

struct PrintSettings {
    Rect window; // left, top, right, bottom in screen pixels
    LayoutSettings layout;
    std::string copiesText = "1";
    bool showMargins = true;
    bool showFrame = true;
    ColorRef background = kDefaultBackground;

    // "Defaults": everything but the unit, the offsets and the window's placement.
    void restoreDefaults();
};

// The section's own values ("Inches", "Zoom", ...); the window's placement follows them.
SettingTable<PrintSettings> printSettingsTable();

// The window's minimum size: 516 x 492 at 96 pixels per inch, scaled and rounded.
Size minimumPreviewSize(int screenPpi);

// The window's place and size before anything is stored: centred on `screen` at its minimum size.
WindowPlacement defaultPreviewPlacement(Size screen, int screenPpi, Point screenOrigin = {});

// Reads the section in its keys' order. The window is centred on `screen` by default, and
// never smaller than the minimum size. An unreadable value keeps its default.
PrintSettings readPrintSettings(const SettingsFile& file, Size screen, int screenPpi, Point screenOrigin = {});
// Writes the section in the window's order of writing; false when the file could not be written.
bool writePrintSettings(SettingsFile& file, const PrintSettings& settings);

// At creation the offset texts are read once and written back with two decimals in their own
// unit; when either does not parse both become "0.00".
void normalizeOffsetTexts(LayoutSettings& layout, const NumberFormat& numbers);

// The unit changed: the offset fields get the last layout's clamped offsets in the new unit.
void rewriteOffsetsForUnit(LayoutSettings& layout, const PageLayout& last, const NumberFormat& numbers);

// "Paper size: 8.5 x 11.0 inches" or "Paper size: 216 x 279 mm".
std::string paperSizeText(const PrinterMetrics& metrics, bool inches, const NumberFormat& numbers);

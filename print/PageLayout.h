// The page model: where the image lies on the printer's sheet, in inches from the sheet's
// top-left corner, computed from the window's settings and the printer's metrics.
#pragma once

#include "common/PrinterMetrics.h"
#include "print/NumberFormat.h"

#include <string>

// A rectangle in inches on the sheet (right and bottom are edges, not pixels).
struct InchRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    double width() const { return right - left; }
    double height() const { return bottom - top; }
    friend bool operator==(const InchRect&, const InchRect&) = default;
};

// The sheet and its printable area in inches.
struct SheetGeometry {
    double paperWidth = 0;
    double paperHeight = 0;
    InchRect printable;

    static SheetGeometry of(const PrinterMetrics& metrics);
};

// The settings that decide the layout, as the window's fields hold them.
struct LayoutSettings {
    bool inches = true;
    std::string xOffsetText = "0";
    std::string yOffsetText = "0";
    bool centerAcross = true;
    bool centerDown = true;
    std::string zoomText = "100";
    bool fit = false;
};

struct PageLayout {
    double zoom = 1;    // image inches = image pixels x zoom / screen pixels per inch
    double xOffset = 0; // clamped offsets of the image's left (top) edge, in inches
    double yOffset = 0;
    InchRect image;
    InchRect printable;
};

// Unit factor of the offset fields: 1 for inches, 25.4 for millimetres.
inline double unitFactor(bool inches)
{
    return inches ? 1.0 : 25.4;
}

// The layout's steps in order: zoom, fit, image size, offsets, clamping, position.
PageLayout computePageLayout(const PrinterMetrics& metrics, const LayoutSettings& settings, int imageWidth,
                             int imageHeight, double screenPpi, const NumberFormat& numbers);

// The Zoom field's percent as a factor: 1 when it does not parse, then kept within 0.01 and 10.
double zoomFromText(const std::string& text, const NumberFormat& numbers);

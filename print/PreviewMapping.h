// How the sheet is shown in the preview box: centred in an area one inch wider and higher than
// the sheet, k preview pixels per inch.
#pragma once

#include "common/Geometry.h"
#include "print/PageLayout.h"

class PreviewMapping {
public:
    PreviewMapping(Size box, double paperWidth, double paperHeight);

    double pixelsPerInch() const { return k_; }
    // The sheet's top-left corner in the preview, in inches.
    double sheetLeft() const { return sheetLeft_; }
    double sheetTop() const { return sheetTop_; }

    // A point on the sheet (inches) in preview pixels, halves to even.
    Point toPreview(double x, double y) const;
    // Corner by corner.
    Rect toPreview(const InchRect& rect) const;

private:
    double k_;
    double sheetLeft_;
    double sheetTop_;
};

// The sheet's shadow is offset by 15 / L^2 inches, L the sheet's longer side.
double shadowOffset(double paperWidth, double paperHeight);

// Strictly inside: the image's edge pixels do not count.
inline bool pointerOverImage(const Rect& image, Point p)
{
    return image.left < p.x && p.x < image.right && image.top < p.y && p.y < image.bottom;
}

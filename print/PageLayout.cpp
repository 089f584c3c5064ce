#include "print/PageLayout.h"

SheetGeometry SheetGeometry::of(const PrinterMetrics& m)
{
    SheetGeometry sheet;
    sheet.paperWidth = static_cast<double>(m.paperWidth) / m.dpiX;
    sheet.paperHeight = static_cast<double>(m.paperHeight) / m.dpiY;
    double left = static_cast<double>(m.marginLeft) / m.dpiX;
    double top = static_cast<double>(m.marginTop) / m.dpiY;
    sheet.printable = {left, top, left + static_cast<double>(m.printableWidth) / m.dpiX,
                       top + static_cast<double>(m.printableHeight) / m.dpiY};
    return sheet;
}

double zoomFromText(const std::string& text, const NumberFormat& numbers)
{
    auto percent = numbers.parseDecimal(text);
    double zoom = percent ? *percent / 100 : 1.0;
    if (zoom < 0.01) {
        return 0.01;
    }
    if (zoom > 10) {
        return 10;
    }
    return zoom;
}

namespace {

// Zoom that fits the image into the printable area; the side with less room decides.
double fittingZoom(const PrinterMetrics& m, int imageWidth, int imageHeight, double screenPpi)
{
    double rW = static_cast<double>(m.printableWidth) / imageWidth;
    double rH = static_cast<double>(m.printableHeight) / imageHeight;
    if (rW > rH) {
        return (static_cast<double>(m.printableHeight) / m.dpiY) / (imageHeight / screenPpi);
    }
    return (static_cast<double>(m.printableWidth) / m.dpiX) / (imageWidth / screenPpi);
}

double offsetFromText(const std::string& text, double unit, const NumberFormat& numbers)
{
    auto value = numbers.parseDecimal(text);
    return value ? *value / unit : 0.0;
}

// The image keeps touching or overlapping the printable area [low, high].
double clampOffset(double offset, double imageSize, double low, double high)
{
    if (low - imageSize > offset) {
        return low - imageSize;
    }
    if (offset > high) {
        return high;
    }
    return offset;
}

} // namespace

PageLayout computePageLayout(const PrinterMetrics& metrics, const LayoutSettings& s, int imageWidth, int imageHeight,
                             double screenPpi, const NumberFormat& numbers)
{
    PageLayout layout;
    SheetGeometry sheet = SheetGeometry::of(metrics);
    layout.printable = sheet.printable;

    layout.zoom = zoomFromText(s.zoomText, numbers);
    if (s.fit && imageWidth > 0 && imageHeight > 0) {
        layout.zoom = fittingZoom(metrics, imageWidth, imageHeight, screenPpi);
    }
    double imgW = imageWidth * layout.zoom / screenPpi;
    double imgH = imageHeight * layout.zoom / screenPpi;

    double u = unitFactor(s.inches);
    layout.xOffset =
        clampOffset(offsetFromText(s.xOffsetText, u, numbers), imgW, sheet.printable.left, sheet.printable.right);
    layout.yOffset =
        clampOffset(offsetFromText(s.yOffsetText, u, numbers), imgH, sheet.printable.top, sheet.printable.bottom);

    double left = layout.xOffset;
    double top = layout.yOffset;
    if (s.fit) {
        left = sheet.printable.left + (sheet.printable.width() - imgW) / 2;
        top = sheet.printable.top + (sheet.printable.height() - imgH) / 2;
    } else {
        if (s.centerAcross) {
            left = (sheet.paperWidth - imgW) / 2;
        }
        if (s.centerDown) {
            top = (sheet.paperHeight - imgH) / 2;
        }
    }
    layout.image = {left, top, left + imgW, top + imgH};
    return layout;
}

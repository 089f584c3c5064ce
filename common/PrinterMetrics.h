// What a printer reports about its page, in printer pixels: the numbers the page layout needs.
#pragma once

struct PrinterMetrics {
    int dpiX = 300;
    int dpiY = 300;
    // Distance from the sheet's left (top) edge to the printable area.
    int marginLeft = 0;
    int marginTop = 0;
    int printableWidth = 2550;
    int printableHeight = 3300;
    int paperWidth = 2550;
    int paperHeight = 3300;

    friend bool operator==(const PrinterMetrics&, const PrinterMetrics&) = default;
};

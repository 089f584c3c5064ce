// The printer pages of the printing tests: US Letter at 300 dpi with margins of 0.25 in left,
// 0.75 in top, 0.5 in right and bottom (unequal, as real printers have them), and sheets printable
// to their edges.
#pragma once

#include "common/PrinterMetrics.h"

inline PrinterMetrics letter300()
{
    return {.dpiX = 300,
            .dpiY = 300,
            .marginLeft = 75,
            .marginTop = 225,
            .printableWidth = 2550 - 75 - 150,
            .printableHeight = 3300 - 225 - 150,
            .paperWidth = 2550,
            .paperHeight = 3300};
}

// A sheet of `width` x `height` dots at `dpi`, printable to its edges.
inline PrinterMetrics borderlessSheet(int dpi, int width, int height)
{
    return {.dpiX = dpi,
            .dpiY = dpi,
            .marginLeft = 0,
            .marginTop = 0,
            .printableWidth = width,
            .printableHeight = height,
            .paperWidth = width,
            .paperHeight = height};
}

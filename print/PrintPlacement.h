// Where the print job draws the image: its size and position in printer pixels, the origin at
// the printable area's top-left corner, and how many copies the Copies field asks for.
#pragma once

#include "common/Geometry.h"
#include "common/PrinterMetrics.h"
#include "print/NumberFormat.h"
#include "print/PageLayout.h"

#include <string>

// Width = R(MulDiv(w, dpiX, ppi) x zoom): the multiply-divide rounds halves away from zero,
// the rest to even. Position = R(image left x dpiX) - marginLeft, likewise down.
Rect printDestination(const PrinterMetrics& metrics, const PageLayout& layout, int imageWidth, int imageHeight,
                      int screenPpi);

inline constexpr int kMaxCopies = 999;

// One copy for a text that does not parse or asks for fewer than one; at most 999.
int copiesFromText(const std::string& text, const NumberFormat& numbers);

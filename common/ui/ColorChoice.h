// The one colour choice of every window that lets the user pick a colour (Save As, the Image
// Editor, the Print Preview): the same dialog everywhere, and the swatch that shows the colour.
#pragma once

#include "common/Color.h"

#include <QColor>

#include <optional>

class QWidget;

QColor toQColor(ColorRef color);
// The colour dialog, transient for `owner`, starting at `initial`; nothing when cancelled.
std::optional<ColorRef> chooseColor(ColorRef initial, QWidget* owner);
// Fills the swatch (a sunken frame that fills its background) with `color`.
void showColorSwatch(QWidget& swatch, ColorRef color);

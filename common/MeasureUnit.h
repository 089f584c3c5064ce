// The Capture Frame's unit of measurement; the numbers are stored in the settings.
#pragma once

enum class MeasureUnit { Pixels = 0, Inches = 1, Centimetres = 2 };

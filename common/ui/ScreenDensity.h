// The one rule by which windows scale the lengths they are designed with at 96 pixels per inch,
// and the density they lay themselves out at.
#pragma once

// `pixelsAt96` at `pixelsPerInch`, rounded to the nearest pixel, halves away from zero.
int scaledDesignLength(int pixelsAt96, int pixelsPerInch);

// The density a window lays itself out at: `given` when it names one (the platform's, so that
// tests can ask for 120 or 144), else the primary screen's logical dots per inch (96 without one).
int layoutPixelsPerInch(int given);

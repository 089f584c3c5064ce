// The Image Editor's three cursors, drawn in code at the screen's scale: an open hand over an image
// that can be dragged, a closed hand while it is dragged, and a crosshair for selecting.
#pragma once

#include <QCursor>

struct EditorCursors {
    QCursor handOpen;   // "HANDOPEN"
    QCursor handClosed; // "HANDCLOSED"
    QCursor crosshair;  // "HAIRCROSS"

    // Drawn 32 pixels a side at 96 pixels per inch, scaled with the density (192 gives 64-pixel
    // cursors drawn at that size), never smaller.
    static EditorCursors forDensity(int pixelsPerInch);
};

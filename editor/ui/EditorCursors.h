// The Image Editor's three cursors, drawn in code at the screen's scale: an open hand over an image
// that can be dragged, a closed hand while it is dragged, and a crosshair for selecting.
#pragma once

#include <QCursor>

struct EditorCursors {
    QCursor handOpen;   // "HANDOPEN"
    QCursor handClosed; // "HANDCLOSED"
    QCursor crosshair;  // "HAIRCROSS"

    // `scale` is the screen's pixels per inch over 96; 2 gives 64-pixel cursors drawn at that size.
    static EditorCursors forScale(qreal scale);
};

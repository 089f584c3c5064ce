// The Print Preview's two hand cursors, drawn in code: an open hand over the image (it can be
// dragged) and a gripping hand while it is dragged.
#pragma once

#include <QCursor>

struct PreviewHandCursors {
    QCursor open;
    QCursor closed;

    static PreviewHandCursors load();
};

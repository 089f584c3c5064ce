// The Image Editor's pictures, drawn in code: tool bar icons with a second set shown under the
// pointer, the angle menu's icons and the colour button's icon.
#pragma once

#include <QIcon>

enum class EditorIcon { Scroll, Select, Crop, Rotate, Undo, Rotate90, Rotate180, Rotate270, SelectColor };

// `size` is the picture's edge in pixels; the artwork scales with it, so it stays sharp at any size.
QIcon editorIcon(EditorIcon which, int size = 20);
// The icon of a button that drops a menu down: the picture with the arrow to its right, in a
// picture of menuButtonIconSize(size).
QIcon editorMenuButtonIcon(EditorIcon which, int size);
QSize menuButtonIconSize(int size);

// The application's picture in the notification area.
#pragma once

#include <QIcon>

// A viewfinder on the program's teal with a red record dot, drawn pixel-aligned for each of the sizes
// that trays use (16, 22, 24 and 32 pixels), so none of them is a blurred scaling of another.
QIcon trayIconPicture();

// The Remote Control's pictures: flat icons drawn in code, each with a greyed disabled look.
#pragma once

#include "app/RemoteIcon.h"

#include <QIcon>

// `size` is the picture's edge in pixels (the icons are square); None is the empty icon.
QIcon remoteIcon(RemoteIcon which, int size = 16);

// Countdown picture `step` (1 to 8): a clock face whose dark sector grows to the whole dial.
QIcon countdownIcon(int step, int size = 16);

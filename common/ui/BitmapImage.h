// The bridge from a Bitmap to a QImage for painting it in a window.
#pragma once

#include <QImage>

class Bitmap;

// An independent 24-bit copy of the bitmap's pixels (indexed formats through their colours).
QImage toQImage(const Bitmap& bitmap);

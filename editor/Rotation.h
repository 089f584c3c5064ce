// Right-angle rotation of the editor's image: an exact permutation of its pixels.
#pragma once

#include "common/Bitmap.h"
#include "editor/StatusProgress.h"

// The angle codes of the Rotate menu, clockwise.
enum class RotationAngle { Rotate90 = 0, Rotate180 = 1, Rotate270 = 2 };

// Gives `destination` the rotated size at 24 bits per pixel and moves
// every pixel of `source` to its place. Before each odd source row y the progress shows
// length trunc(y × P / Hs) at offset 0.
void RotateBitmap(const Bitmap& source, Bitmap& destination, RotationAngle angle, const StatusProgress& progress = {});

// The same permutation for pictures from files: an 8-bit picture stays 8-bit with its colour table
// (a quarter of the memory of a 24-bit copy); other formats go through RotateBitmap.
void RotatePicture(const Bitmap& source, Bitmap& destination, RotationAngle angle);

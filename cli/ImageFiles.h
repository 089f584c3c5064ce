// Reading pictures into a Bitmap and writing a Bitmap in the format its file name asks for.
#pragma once

#include "common/Bitmap.h"

#include <string>

// Reads PNG, BMP, PPM, JPEG (anything Qt's image reader knows) as a 24-bit Bitmap,
// or as an indexed one when the file is indexed.
Bitmap loadImageFile(const std::string& path);

// Writes with the default settings of the format the extension names (.bmp .jpg .jpeg .gif .png .tif .tiff).
void saveImageFileByExtension(const Bitmap& bitmap, const std::string& path);

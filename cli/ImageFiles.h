// Reading pictures into a Bitmap and writing a Bitmap in the format its file name asks for.
#pragma once

#include "common/Bitmap.h"
#include "formats/OutputFormats.h"
#include "formats/readers/ImageLimits.h"

#include <optional>
#include <string>

// Reads a BMP, PNG, JPEG, GIF, TIFF or PBM/PGM/PPM file, told by its content, refusing anything
// that is not a regular file and pictures beyond the size limits. Indexed and grey pictures stay
// indexed. Throws ZentrapError with the file name and what is wrong.
Bitmap loadImageFile(const std::string& path, const ImageLimits& limits);

// The output format a file name's extension asks for (any extension of the format table).
std::optional<ImageFormat> imageFormatOfFileName(const std::string& path);
// ".bmp, .jpg, ... or .tiff": every extension of the format table, for messages.
std::string outputExtensionList();
bool isPpmFileName(const std::string& path);

// Writes with the default settings of the format the extension names.
void saveImageFileByExtension(const Bitmap& bitmap, const std::string& path);

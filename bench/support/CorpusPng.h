// Loading the benchmark corpus (24-bit PNG screenshots) into Bitmaps with libpng.
#pragma once

#include "common/Bitmap.h"

#include <string>

// Path of a file of the shared benchmark corpus.
std::string corpusPngPath(const std::string& name);

// Decodes a PNG file as a 24-bit Bitmap; throws std::runtime_error when libpng cannot read it.
Bitmap loadCorpusPng(const std::string& path);

// The benchmark pictures of the shared corpus, decoded once with libpng into 24-bit Bitmaps.
#pragma once

#include "common/Bitmap.h"

#include <string>
#include <vector>

// The folder of the corpus: $ZENTRAP_CORPUS_DIR, else the one the build names.
std::string corpusDir();

// File names of the corpus pictures (*.png), sorted.
std::vector<std::string> corpusNames();

// Decodes the PNG file at `path` as a 24-bit Bitmap; throws ZentrapError (a std::runtime_error).
Bitmap decodeCorpusPng(const std::string& path);

// The picture `name` as a 24-bit Bitmap, decoded on first use and kept; throws when it cannot be read.
const Bitmap& corpusImage(const std::string& name);

// A short label for a corpus file: "desktop-1920x1080.png" gives "desktop".
std::string corpusLabel(const std::string& name);

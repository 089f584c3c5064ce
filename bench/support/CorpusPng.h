// Loads a picture of the benchmark corpus (a PNG) into a 24-bit Bitmap with libpng.
#pragma once

#include "common/Bitmap.h"

#include <string>

// `name` is a file of the corpus folder: $ZENTRAP_CORPUS_DIR when set, else the one the build names.
// Throws std::runtime_error when it cannot be read.
Bitmap loadCorpusPicture(const std::string& name);

// Loads a picture of the benchmark corpus (a PNG) into a 24-bit Bitmap with libpng.
#pragma once

#include "common/Bitmap.h"

#include <string>

// `name` is a file of ZENTRAP_CORPUS_DIR; throws std::runtime_error when it cannot be read.
Bitmap loadCorpusPicture(const std::string& name);

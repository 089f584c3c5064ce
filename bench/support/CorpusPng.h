// The corpus loaders the resampling and GIF benchmarks call, kept as thin names over Corpus.h.
#pragma once

#include "common/Bitmap.h"

#include <string>

// Path of a file of the shared benchmark corpus.
std::string corpusPngPath(const std::string& name);

// Decodes a PNG file as a 24-bit Bitmap; throws std::runtime_error when libpng cannot read it.
Bitmap loadCorpusPng(const std::string& path);

// `name` is a file of the corpus folder; throws std::runtime_error when it cannot be read.
Bitmap loadCorpusPicture(const std::string& name);

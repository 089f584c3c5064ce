// Which picture format a file holds, told by its first bytes: the command line reads only these
// raster formats, whatever its name says and whatever image plugins the system has.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

enum class ImageKind { Bmp, Png, Jpeg, Gif, Tiff, Pnm };

std::optional<ImageKind> detectImageKind(std::span<const uint8_t> head);

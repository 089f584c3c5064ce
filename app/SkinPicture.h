// Skin pictures: which files can be skins, reading one within the memory a skin may cost, and the
// part of it that the Remote Control's body can show.
#pragma once

#include "common/Bitmap.h"
#include "common/Geometry.h"
#include "formats/readers/ImageKind.h"
#include "formats/readers/ImageLimits.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// A skin is drawn for a 100 x 260 window and only that part of it is decoded, so any picture
// within the readers' own size limits can be a skin; the file's bytes and the decoder's working
// memory (a progressive JPEG keeps all its coefficients) bound what a skin costs.
inline constexpr ImageLimits kSkinImageLimits{kMaxImageSide, kMaxImagePixels, size_t{16} << 20};
inline constexpr uint64_t kMaxSkinFileBytes = uint64_t{16} << 20;

struct SkinPicture {
    // The picture's own size: the body takes it.
    Size size;
    // The picture's top-left part that the window can show, at most the window's size, 24-bit.
    Bitmap visible;
};

// The decoder a file name asks for: the BMP, JPEG and PNG extensions of the format table
// (letters in any case); nothing for any other name.
std::optional<ImageKind> skinKindForPath(const std::string& path);

// Decodes skin bytes of `kind`; throws ZentrapError when they are not such a picture or too large.
SkinPicture decodeSkinPicture(ImageKind kind, std::span<const uint8_t> bytes, Size window);

// Reads and decodes the skin file at `path`; throws ZentrapError when it cannot be a skin.
SkinPicture loadSkinPicture(const std::string& path, Size window);

// The warning shown when a skin cannot be loaded (lines separated by CR LF); `reason` is the
// loader's error: a refusal for the picture's or the file's size says so instead of blaming the format.
std::string skinWarningText(const std::string& path, const std::string& reason = {});
inline constexpr const char* kSkinWarningCaption = "Warning";

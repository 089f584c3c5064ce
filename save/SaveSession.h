// The Save As window's model without the window: the working image, the four variants, the
// active one, their encodings into memory and the saving of the active one.
#pragma once

#include "common/Bitmap.h"
#include "common/Color.h"
#include "formats/FormatSize.h"
#include "save/SaveVariant.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>

// The save dialog's filter and default extension for a format.
struct SaveFileType {
    std::string filter;    // "Bitmap files (*.bmp)"
    std::string extension; // "bmp"
};
SaveFileType saveFileType(ImageFormat format);

class SaveSession {
public:
    // Copies `captured` into the working image and measures it as BMP: that length is the
    // maximum of every gauge. The variants start as created (format n - 1, defaults, no encoding).
    SaveSession(const Bitmap& captured, NumberSeparators separators);

    const Bitmap& workImage() const { return *workImage_; }
    size_t gaugeMaximum() const { return gaugeMaximum_; }
    // The filled part of gauge n: its encoded length against the maximum, at most 1.
    double gaugeFraction(int n) const;

    SaveVariant& variant(int n) { return variants_.at(static_cast<size_t>(n - 1)); }
    const SaveVariant& variant(int n) const { return variants_.at(static_cast<size_t>(n - 1)); }
    // Replaces variant n's settings (as read from the store); its picture becomes the working image.
    void setVariantSettings(int n, const SaveVariant& settings);

    int activeVariant() const { return active_; }
    void setActiveVariant(int n);
    SaveVariant& active() { return variant(active_); }

    // Encodes variant n in memory: caption, length, picture and format code follow. A failure is
    // dropped: the variant keeps its previous results and format, and false is returned.
    bool encode(int n, ImageFormat format);
    // Encodes variant n in its stored format; a code outside 0-4 encodes nothing.
    bool encodeStored(int n);

    // Sets the transparent pixel of variant n when (x, y) lies inside the image.
    bool pick(int n, int x, int y);
    // The colour of variant n's picked pixel in its picture (after moving a pick outside the
    // image back to (0, 0)).
    ColorRef pickedColor(int n);

    // Writes the active variant's format to `path` atomically. Throws ZentrapError with the
    // error's text; the file is left as it was then.
    void saveActive(const std::string& path);

private:
    std::shared_ptr<const Bitmap> workImage_;
    size_t gaugeMaximum_ = 0;
    NumberSeparators separators_;
    std::array<SaveVariant, kVariantCount> variants_;
    int active_ = 1;
};

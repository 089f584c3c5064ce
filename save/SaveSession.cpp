#include "save/SaveSession.h"

#include "common/ZentrapError.h"

#include <algorithm>
#include <exception>

SaveFileType saveFileType(ImageFormat format)
{
    const OutputFormat& row = outputFormat(format);
    return {std::string(row.filter), std::string(row.defaultExtension())};
}

SaveSession::SaveSession(const Bitmap& captured, NumberSeparators separators)
    : workImage_(std::make_shared<const Bitmap>(captured)), separators_(std::move(separators))
{
    // Every gauge compares against the uncompressed BMP of the working image.
    FormatSettings bmp;
    try {
        gaugeMaximum_ = measureFormat(*workImage_, bmp).length;
    } catch (const std::exception&) {
        gaugeMaximum_ = 0; // every gauge then stays empty
    }
    for (int n = 1; n <= kVariantCount; ++n) {
        variant(n) = SaveVariant::withDefaults(n);
        variant(n).picture = workImage_;
    }
}

double SaveSession::gaugeFraction(int n) const
{
    if (gaugeMaximum_ == 0) {
        return 0.0;
    }
    size_t position = std::min(variant(n).encodedLength, gaugeMaximum_);
    return static_cast<double>(position) / static_cast<double>(gaugeMaximum_);
}

void SaveSession::setVariantSettings(int n, const SaveVariant& settings)
{
    SaveVariant& v = variant(n);
    std::string caption = v.caption;
    v = settings;
    v.number = n;
    v.caption = caption;
    v.encodedLength = 0;
    v.picture = workImage_;
}

void SaveSession::setActiveVariant(int n)
{
    active_ = std::clamp(n, 1, kVariantCount);
}

bool SaveSession::encode(int n, ImageFormat format)
{
    SaveVariant& v = variant(n);
    if (format == ImageFormat::Gif) {
        v.keepPickInside(workImage_->width(), workImage_->height());
    }
    FormatSettings settings = v.formatSettings(format);
    Measurement m;
    try {
        m = measureFormat(*workImage_, settings);
    } catch (const std::exception&) {
        return false; // measuring errors are not the user's concern; the pane stays as it was
    }
    v.Fmt = static_cast<int>(format);
    v.encodedLength = m.length;
    v.caption = "Variant " + std::to_string(n) + ": " + formatWord(format) + " " + FormatSize(m.length, separators_);
    if (outputFormat(format).previewIsImage()) {
        v.picture = workImage_; // shared, not copied
    } else {
        v.picture = std::make_shared<const Bitmap>(std::move(m.preview));
    }
    if (format == ImageFormat::Gif) {
        v.GIFTransparentPixelX = settings.gif.pickX;
        v.GIFTransparentPixelY = settings.gif.pickY;
    }
    return true;
}

bool SaveSession::encodeStored(int n)
{
    std::optional<ImageFormat> format = variant(n).format();
    return format && encode(n, *format);
}

bool SaveSession::pick(int n, int x, int y)
{
    if (x < 0 || y < 0 || x >= workImage_->width() || y >= workImage_->height()) {
        return false;
    }
    variant(n).GIFTransparentPixelX = x;
    variant(n).GIFTransparentPixelY = y;
    return true;
}

ColorRef SaveSession::pickedColor(int n)
{
    SaveVariant& v = variant(n);
    v.keepPickInside(workImage_->width(), workImage_->height());
    const Bitmap& picture = v.picture ? *v.picture : *workImage_;
    if (v.GIFTransparentPixelX >= picture.width() || v.GIFTransparentPixelY >= picture.height()) {
        return 0;
    }
    return picture.pixelColor(v.GIFTransparentPixelX, v.GIFTransparentPixelY);
}

void SaveSession::saveActive(const std::string& path)
{
    SaveVariant& v = active();
    std::optional<ImageFormat> format = v.format();
    if (!format) {
        throw ZentrapError("No format chosen");
    }
    if (*format == ImageFormat::Gif) {
        v.keepPickInside(workImage_->width(), workImage_->height());
    }
    FormatSettings settings = v.formatSettings(*format);
    saveFormat(*workImage_, settings, path);
}

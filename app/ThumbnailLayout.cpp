#include "app/ThumbnailLayout.h"

#include "common/Bitmap.h"
#include "common/Rounding.h"

Rect thumbnailRect(Size imageSize)
{
    if (imageSize.width <= 0 || imageSize.height <= 0) {
        return {};
    }
    const long double box = kThumbnailSize;
    const long double w = imageSize.width;
    const long double h = imageSize.height;
    const long double scale = w > h ? w / box : h / box;
    const long double scaledW = w / scale;
    const long double scaledH = h / scale;
    const long double marginX = (box - scaledW) / 2;
    const long double marginY = (box - scaledH) / 2;
    return {static_cast<int>(roundHalfEven(marginX)), static_cast<int>(roundHalfEven(marginY)),
            static_cast<int>(roundHalfEven(scaledW + marginX)), static_cast<int>(roundHalfEven(scaledH + marginY))};
}

Bitmap thumbnailBitmap(const Bitmap& image)
{
    Bitmap box(kThumbnailSize, kThumbnailSize, PixelFormat::Bpp24);
    box.fillRect({0, 0, kThumbnailSize, kThumbnailSize}, makeColor(0, 0, 0));
    const Rect target = thumbnailRect({image.width(), image.height()});
    if (target.isEmpty()) {
        return box;
    }
    const Rect whole{0, 0, image.width(), image.height()};
    if (image.pixelFormat() == PixelFormat::Bpp24) {
        box.stretchCopy(target, image, whole);
    } else {
        box.stretchCopy(target, image.converted(PixelFormat::Bpp24), whole);
    }
    return box;
}

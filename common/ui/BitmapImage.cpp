#include "common/ui/BitmapImage.h"

#include "common/Bitmap.h"

QImage toQImage(const Bitmap& bitmap)
{
    if (bitmap.isEmpty()) {
        return {};
    }
    if (bitmap.pixelFormat() != PixelFormat::Bpp24) {
        return toQImage(bitmap.converted(PixelFormat::Bpp24));
    }
    const QImage view(bitmap.bits(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
                      QImage::Format_BGR888);
    return view.copy();
}

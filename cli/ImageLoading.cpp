// Reading picture files into a Bitmap through Qt's image readers.
#include "cli/ImageFiles.h"

#include "common/ZentrapError.h"

#include <QImage>
#include <QImageReader>

#include <cstring>

namespace {

// Pictures with more pixels than this are refused before they are decoded.
constexpr qint64 kMaxPixels = qint64(1) << 28;

Bitmap indexedBitmap(const QImage& image, PixelFormat format)
{
    Bitmap bitmap(image.width(), image.height(), format);
    std::vector<RgbQuad> table;
    for (QRgb c : image.colorTable()) {
        table.push_back(
            {static_cast<uint8_t>(qBlue(c)), static_cast<uint8_t>(qGreen(c)), static_cast<uint8_t>(qRed(c)), 0});
    }
    bitmap.setColorTable(std::move(table));
    bool mono = image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            uint32_t index = mono ? static_cast<uint32_t>(image.pixelIndex(x, y)) : image.constScanLine(y)[x];
            bitmap.setPixelValue(x, y, index);
        }
    }
    return bitmap;
}

// A small colour table whose indices all fit in four bits: the file was (or may as well be) 4-bit.
bool fitsFourBits(const QImage& image)
{
    if (image.colorCount() > 16) {
        return false;
    }
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] >= 16) {
                return false;
            }
        }
    }
    return true;
}

Bitmap trueColourBitmap(const QImage& image)
{
    QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    Bitmap bitmap(bgr.width(), bgr.height(), PixelFormat::Bpp24);
    size_t rowBytes = static_cast<size_t>(bgr.width()) * 3;
    for (int y = 0; y < bgr.height(); ++y) {
        std::memcpy(bitmap.row(y), bgr.constScanLine(y), rowBytes);
    }
    return bitmap;
}

} // namespace

Bitmap loadImageFile(const std::string& path)
{
    QImageReader reader(QString::fromStdString(path));
    QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels) {
        throw ZentrapError("Picture too large: " + path);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw ZentrapError("Cannot read " + path + ": " + reader.errorString().toStdString());
    }
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return indexedBitmap(image, PixelFormat::Bpp1);
    case QImage::Format_Indexed8:
        return indexedBitmap(image, fitsFourBits(image) ? PixelFormat::Bpp4 : PixelFormat::Bpp8);
    default:
        return trueColourBitmap(image);
    }
}

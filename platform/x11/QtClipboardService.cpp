#include "platform/x11/QtClipboardService.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QMimeData>

#include <future>
#include <memory>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

QByteArray encodePng(const Bitmap& bitmap)
{
    Bitmap bgr = bitmap.pixelFormat() == PixelFormat::Bpp24 ? bitmap : bitmap.converted(PixelFormat::Bpp24);
    QImage view(bgr.bits(), bgr.width(), bgr.height(), static_cast<qsizetype>(bgr.stride()), QImage::Format_BGR888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(view);
    return bytes;
}

// The encodings of one capture. Formats are listed at once; the bytes are waited for only
// when a program asks for them.
class EncodedImageMimeData : public QMimeData {
public:
    explicit EncodedImageMimeData(const Bitmap& bitmap)
    {
        auto shared = std::make_shared<const Bitmap>(bitmap);
        bmp_ = std::async(std::launch::async, [shared] {
                   std::vector<uint8_t> file = encodeBmpFile(*shared);
                   return QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
               }).share();
        png_ = std::async(std::launch::async, [shared] { return encodePng(*shared); }).share();
    }

    QStringList formats() const override { return {QStringLiteral("image/png"), QStringLiteral("image/bmp")}; }
    bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override
    {
        if (mimeType == QLatin1String("image/png")) {
            return png_.get();
        }
        if (mimeType == QLatin1String("image/bmp")) {
            return bmp_.get();
        }
        return {};
    }

private:
    std::shared_future<QByteArray> bmp_;
    std::shared_future<QByteArray> png_;
};

} // namespace

std::vector<uint8_t> encodeBmpFile(const Bitmap& bitmap)
{
    std::vector<uint8_t> rows = bitmap.bottomUpRows();
    const std::vector<RgbQuad>& table = bitmap.colorTable();
    size_t tableEntries = isIndexed(bitmap.pixelFormat()) ? table.size() : 0;
    uint32_t offset = 14 + 40 + static_cast<uint32_t>(tableEntries * 4);
    std::vector<uint8_t> out;
    out.reserve(offset + rows.size());
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + static_cast<uint32_t>(rows.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(bitmap.width()));
    put32(out, static_cast<uint32_t>(bitmap.height()));
    put16(out, 1);
    put16(out, static_cast<uint32_t>(bitmap.bitsPerPixel()));
    put32(out, 0); // BI_RGB
    put32(out, static_cast<uint32_t>(rows.size()));
    put32(out, 3780); // 96 dots per inch
    put32(out, 3780);
    put32(out, static_cast<uint32_t>(tableEntries));
    put32(out, 0);
    for (size_t i = 0; i < tableEntries; ++i) {
        out.insert(out.end(), {table[i].blue, table[i].green, table[i].red, 0});
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

void QtClipboardService::setBitmap(const Bitmap& bitmap)
{
    QGuiApplication::clipboard()->setMimeData(new EncodedImageMimeData(bitmap));
}

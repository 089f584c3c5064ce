// Fuzzes the page model with what comes from outside: the "Print" settings' texts (zoom, offsets,
// copies) and any printer metrics, through the layout, the unit change, the paper-size text, the
// print job's placement and the drawing of a small preview.
#include "print/PageLayout.h"
#include "print/PreviewPainter.h"
#include "print/PrintPlacement.h"
#include "print/PrintSettings.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;

    int32_t integer()
    {
        int32_t v = 0;
        size_t n = size < 4 ? size : 4;
        if (n == 0) {
            return 0;
        }
        std::memcpy(&v, data, n);
        data += n;
        size -= n;
        return v;
    }
    std::string text()
    {
        size_t n = size == 0 ? 0 : data[0] % 24;
        data += size == 0 ? 0 : 1;
        size -= size == 0 ? 0 : 1;
        n = n < size ? n : size;
        if (n == 0) {
            return {};
        }
        std::string s(reinterpret_cast<const char*>(data), n);
        data += n;
        size -= n;
        return s;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in{data, size};
    PrinterMetrics m{in.integer(), in.integer(), in.integer(), in.integer(),
                     in.integer(), in.integer(), in.integer(), in.integer()};
    // The window replaces a page without resolution or size; the rest is taken as it comes.
    if (m.dpiX <= 0 || m.dpiY <= 0 || m.paperWidth <= 0 || m.paperHeight <= 0) {
        m = PrinterMetrics{};
    }
    int flags = in.integer();
    LayoutSettings s;
    s.inches = flags & 1;
    s.centerAcross = flags & 2;
    s.centerDown = flags & 4;
    s.fit = flags & 8;
    s.zoomText = in.text();
    s.xOffsetText = in.text();
    s.yOffsetText = in.text();
    std::string copies = in.text();
    int imageWidth = 1 + (flags >> 8 & 0x3F);
    int imageHeight = 1 + (flags >> 14 & 0x3F);
    Size box{flags >> 20 & 0x7F, flags >> 24 & 0x7F};
    NumberFormat numbers = (flags & 16) ? NumberFormat(",", ".") : NumberFormat(".", ",");

    PageLayout layout = computePageLayout(m, s, imageWidth, imageHeight, 96, numbers);
    rewriteOffsetsForUnit(s, layout, numbers);
    normalizeOffsetTexts(s, numbers);
    paperSizeText(m, s.inches, numbers);
    printDestination(m, layout, imageWidth, imageHeight, 96);
    copiesFromText(copies, numbers);

    Bitmap image(imageWidth, imageHeight);
    Bitmap buffer;
    paintPreview(buffer, box, SheetGeometry::of(m), layout, image, 96, PreviewOptions{});
    return 0;
}

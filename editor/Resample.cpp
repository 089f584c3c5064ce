#include "editor/Resample.h"

#include "common/ZentrapError.h"
#include "editor/ResampleWeights.h"

#include <cmath>

namespace {

// The progress of one of the four steps: before item m of c, the bar shows m / (c − 1) of the step's
// quarter. A step of one item is complete from its start.
std::function<void(int)> quarterProgress(const StatusProgress& progress, int quarter, int items)
{
    if (!progress.show) {
        return {};
    }
    return [&progress, quarter, items](int m) {
        long double panel = progress.panelWidth;
        auto offset = static_cast<int>(std::trunc(panel / 4.0L * quarter));
        long double share = items > 1 ? static_cast<long double>(m) * panel / 4.0L / (items - 1) : panel / 4.0L;
        progress(offset, static_cast<int>(std::trunc(share)));
    };
}

void checkResampleArguments(const Bitmap& source, const Bitmap& destination, FilterFunction filter, float support)
{
    if (source.width() < 1 || source.height() < 1) {
        throw ZentrapError("Source bitmap too small");
    }
    if (destination.width() < 1 || destination.height() < 1) {
        throw ZentrapError("Destination bitmap too small");
    }
    if (filter == nullptr || !(support > 0.0F && support <= kMaxResampleSupport)) {
        throw ZentrapError("Invalid filter support");
    }
    if (static_cast<int64_t>(destination.width()) * source.height() > kMaxResamplePixels) {
        throw ZentrapError("Image too big to resample");
    }
}

} // namespace

void ResampleBitmap(const Bitmap& source, Bitmap& destination, FilterFunction filter, float support,
                    const StatusProgress& progress, ResampleKernel kernel)
{
    checkResampleArguments(source, destination, filter, support);
    Bitmap converted;
    const Bitmap* input = &source;
    if (source.pixelFormat() != PixelFormat::Bpp24) {
        converted = source.converted(PixelFormat::Bpp24);
        input = &converted;
    }
    destination.setPixelFormat(PixelFormat::Bpp24);
    int sourceWidth = input->width();
    int sourceHeight = input->height();
    int targetWidth = destination.width();
    int targetHeight = destination.height();

    Bitmap intermediate(targetWidth, sourceHeight, PixelFormat::Bpp24);
    {
        SampleWeightTable columns =
            buildSampleWeights(sourceWidth, targetWidth, filter, support, quarterProgress(progress, 0, targetWidth));
        resampleRows(*input, intermediate, columns, kernel, quarterProgress(progress, 1, sourceHeight));
    }
    SampleWeightTable rows =
        buildSampleWeights(sourceHeight, targetHeight, filter, support, quarterProgress(progress, 2, targetHeight));
    resampleColumns(intermediate, destination, rows, kernel, quarterProgress(progress, 3, targetWidth));
}

#include "platform/wayland/OutputPicture.h"

#include <vector>

namespace {

constexpr uint32_t fourcc(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

// wl_shm keeps two formats by small numbers; the others are DRM four-character codes, whose names
// give the channels from the most significant bits of a little-endian word.
constexpr uint32_t kArgb8888 = 0;
constexpr uint32_t kXrgb8888 = 1;

// Where transformed pixel (x, y) of an output lies in the framebuffer of `width` x `height`.
struct BufferPoint {
    int x;
    int y;
};

BufferPoint untransformed(int transform, int x, int y, int width, int height)
{
    switch (transform & 7) {
    case 1:
        return {y, height - 1 - x};
    case 2:
        return {width - 1 - x, height - 1 - y};
    case 3:
        return {width - 1 - y, x};
    case 4:
        return {width - 1 - x, y};
    case 5:
        return {y, x};
    case 6:
        return {x, height - 1 - y};
    case 7:
        return {width - 1 - y, height - 1 - x};
    default:
        return {x, y};
    }
}

// For each logical position from `first` to `last` (exclusive) within an output of `logicalExtent`,
// the transformed physical position under its centre.
std::vector<int> physicalPositions(int first, int last, int logicalExtent, int physicalExtent)
{
    std::vector<int> positions;
    positions.reserve(static_cast<size_t>(last - first));
    for (int p = first; p < last; ++p) {
        const int64_t centre = (2 * int64_t{p} + 1) * physicalExtent / (2 * int64_t{logicalExtent});
        positions.push_back(static_cast<int>(std::min<int64_t>(centre, physicalExtent - 1)));
    }
    return positions;
}

} // namespace

std::optional<ShmPixelLayout> shmPixelLayout(uint32_t format)
{
    switch (format) {
    case kArgb8888:
    case kXrgb8888:
        return ShmPixelLayout{4, 0, 1, 2};
    case fourcc('X', 'B', '2', '4'):
    case fourcc('A', 'B', '2', '4'):
        return ShmPixelLayout{4, 2, 1, 0};
    case fourcc('B', 'X', '2', '4'):
    case fourcc('B', 'A', '2', '4'):
        return ShmPixelLayout{4, 3, 2, 1};
    case fourcc('R', 'X', '2', '4'):
    case fourcc('R', 'A', '2', '4'):
        return ShmPixelLayout{4, 1, 2, 3};
    case fourcc('R', 'G', '2', '4'):
        return ShmPixelLayout{3, 0, 1, 2};
    case fourcc('B', 'G', '2', '4'):
        return ShmPixelLayout{3, 2, 1, 0};
    default:
        return std::nullopt;
    }
}

std::string shmFormatName(uint32_t format)
{
    if (format == kArgb8888) {
        return "AR24";
    }
    if (format == kXrgb8888) {
        return "XR24";
    }
    std::string name;
    for (int shift = 0; shift < 32; shift += 8) {
        const char c = static_cast<char>(format >> shift);
        if (c < ' ' || c > '~') {
            return std::to_string(format);
        }
        name += c;
    }
    return name;
}

void placeOutputPicture(const OutputPicture& picture, const Rect& area, Bitmap& target)
{
    const Rect shown = picture.logical.intersected(area).intersected(
        Rect::fromSize(area.left, area.top, target.width(), target.height()));
    if (shown.isEmpty() || picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0) {
        return;
    }
    const bool quarterTurn = (picture.transform & 1) != 0;
    const int transformedWidth = quarterTurn ? picture.height : picture.width;
    const int transformedHeight = quarterTurn ? picture.width : picture.height;
    const std::vector<int> columns =
        physicalPositions(shown.left - picture.logical.left, shown.right - picture.logical.left,
                          picture.logical.width(), transformedWidth);
    const std::vector<int> rows = physicalPositions(shown.top - picture.logical.top, shown.bottom - picture.logical.top,
                                                    picture.logical.height(), transformedHeight);
    const ShmPixelLayout& layout = picture.layout;
    for (int y = shown.top; y < shown.bottom; ++y) {
        uint8_t* out = target.row(y - area.top) + 3 * (shown.left - area.left);
        const int ty = rows[static_cast<size_t>(y - shown.top)];
        for (int tx : columns) {
            BufferPoint at = untransformed(picture.transform, tx, ty, picture.width, picture.height);
            if (picture.yInverted) {
                at.y = picture.height - 1 - at.y;
            }
            const uint8_t* pixel = picture.pixels + static_cast<ptrdiff_t>(at.y) * picture.stride +
                                   static_cast<ptrdiff_t>(at.x) * layout.bytesPerPixel;
            out[0] = pixel[layout.blue];
            out[1] = pixel[layout.green];
            out[2] = pixel[layout.red];
            out += 3;
        }
    }
}

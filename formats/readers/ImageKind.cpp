#include "formats/readers/ImageKind.h"

#include <cstring>

namespace {

bool startsWith(std::span<const uint8_t> head, const char* magic, size_t size)
{
    return head.size() >= size && std::memcmp(head.data(), magic, size) == 0;
}

bool isPnmMagic(std::span<const uint8_t> head)
{
    if (head.size() < 3 || head[0] != 'P' || head[1] < '1' || head[1] > '6') {
        return false;
    }
    return head[2] == ' ' || head[2] == '\t' || head[2] == '\n' || head[2] == '\r' || head[2] == '#';
}

} // namespace

std::optional<ImageKind> detectImageKind(std::span<const uint8_t> head)
{
    if (startsWith(head, "BM", 2)) {
        return ImageKind::Bmp;
    }
    if (startsWith(head, "\x89PNG\r\n\x1a\n", 8)) {
        return ImageKind::Png;
    }
    if (startsWith(head, "\xff\xd8\xff", 3)) {
        return ImageKind::Jpeg;
    }
    if (startsWith(head, "GIF87a", 6) || startsWith(head, "GIF89a", 6)) {
        return ImageKind::Gif;
    }
    if (startsWith(head, "II*\0", 4) || startsWith(head, "MM\0*", 4) || startsWith(head, "II+\0", 4) ||
        startsWith(head, "MM\0+", 4)) {
        return ImageKind::Tiff;
    }
    if (isPnmMagic(head)) {
        return ImageKind::Pnm;
    }
    return std::nullopt;
}

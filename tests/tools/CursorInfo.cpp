// zentrap-test-cursor: prints the cursor the X server shows now, read straight from XFixes, so
// end-to-end tests can compute where and how a grab must draw it. Output:
//   line 1: WIDTH HEIGHT XHOT YHOT POINTERX POINTERY
//   then HEIGHT lines of WIDTH premultiplied ARGB values in hexadecimal.
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdio>
#include <cstdlib>

int main()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "zentrap-test-cursor: no display\n");
        return 1;
    }
    auto* version = xcb_xfixes_query_version_reply(connection, xcb_xfixes_query_version(connection, 4, 0), nullptr);
    std::free(version);
    auto* image = xcb_xfixes_get_cursor_image_reply(connection, xcb_xfixes_get_cursor_image(connection), nullptr);
    if (!image) {
        std::fprintf(stderr, "zentrap-test-cursor: no cursor image\n");
        xcb_disconnect(connection);
        return 1;
    }
    std::printf("%d %d %d %d %d %d\n", image->width, image->height, image->xhot, image->yhot, image->x, image->y);
    const uint32_t* argb = xcb_xfixes_get_cursor_image_cursor_image(image);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            std::printf(x ? " %08x" : "%08x", argb[y * image->width + x]);
        }
        std::printf("\n");
    }
    std::free(image);
    xcb_disconnect(connection);
    return 0;
}

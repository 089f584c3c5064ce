#include "platform/x11/XcbScreenSource.h"

#include <xcb/randr.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>

#include <sys/ipc.h>
#include <sys/shm.h>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// Errors of requests with replies are taken here, so none pile up on the event queue that
// nothing reads.
struct ErrorSlot {
    ~ErrorSlot() { std::free(error); }
    xcb_generic_error_t* error = nullptr;
};

const xcb_visualtype_t* findVisual(const xcb_screen_t* screen, xcb_visualid_t id)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id) {
                return visuals.data;
            }
        }
    }
    return nullptr;
}

constexpr char kXWaylandReason[] =
    "this is a Wayland session, and its desktop does not show other programs' windows to X11 programs";

} // namespace

XcbScreenSource::XcbScreenSource(const char* displayName)
{
    int screenNumber = 0;
    connection_ = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection_)) {
        return;
    }
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; roots.rem && i < screenNumber; ++i) {
        xcb_screen_next(&roots);
    }
    if (!roots.rem) {
        return;
    }
    screen_ = roots.data;
    detectPixelLayout();
    detectExtensions();
    detectXWayland();
}

XcbScreenSource::~XcbScreenSource()
{
    releaseSegment();
    if (connection_) {
        xcb_disconnect(connection_);
    }
}

void XcbScreenSource::detectPixelLayout()
{
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    layout_.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats)) {
        if (formats.data->depth == screen_->root_depth) {
            layout_.bitsPerPixel = formats.data->bits_per_pixel;
            scanlinePad_ = formats.data->scanline_pad;
        }
    }
    if (const xcb_visualtype_t* visual = findVisual(screen_, screen_->root_visual)) {
        uint8_t visualClass = visual->_class;
        paletteDisplay_ = visualClass == XCB_VISUAL_CLASS_PSEUDO_COLOR || visualClass == XCB_VISUAL_CLASS_GRAY_SCALE;
        layout_.indexed = visualClass != XCB_VISUAL_CLASS_TRUE_COLOR && visualClass != XCB_VISUAL_CLASS_DIRECT_COLOR;
        layout_.redMask = visual->red_mask;
        layout_.greenMask = visual->green_mask;
        layout_.blueMask = visual->blue_mask;
        colormapEntries_ = visual->colormap_entries;
    }
}

void XcbScreenSource::detectExtensions()
{
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection_, &xcb_shm_id);
    if (shm && shm->present) {
        Reply<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(connection_, xcb_shm_query_version(connection_), nullptr));
        shmAvailable_ = version != nullptr;
    }
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection_, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        // The server answers cursor requests only after the client has told its version.
        Reply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
            connection_, xcb_xfixes_query_version(connection_, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        xfixesAvailable_ = version && version->major_version >= 1;
    }
}

void XcbScreenSource::detectXWayland()
{
    // XWayland announces itself by an extension of its own; the screens of older ones are named
    // XWAYLAND0, XWAYLAND1... by RandR.
    constexpr char kName[] = "XWAYLAND";
    Reply<xcb_query_extension_reply_t> extension(
        xcb_query_extension_reply(connection_, xcb_query_extension(connection_, sizeof kName - 1, kName), nullptr));
    xwayland_ = extension && extension->present;
    if (!xwayland_) {
        xwayland_ = hasXWaylandOutputs();
    }
    if (xwayland_) {
        // The compositor keeps the screen to itself: the root window holds no picture of other
        // programs' windows, and reading it fails or gives black.
        unreadable_ = kXWaylandReason;
    }
}

bool XcbScreenSource::hasXWaylandOutputs() const
{
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection_, &xcb_randr_id);
    if (!randr || !randr->present) {
        return false;
    }
    Reply<xcb_randr_get_screen_resources_current_reply_t> resources(xcb_randr_get_screen_resources_current_reply(
        connection_, xcb_randr_get_screen_resources_current(connection_, screen_->root), nullptr));
    if (!resources) {
        return false;
    }
    const xcb_randr_output_t* outputs = xcb_randr_get_screen_resources_current_outputs(resources.get());
    int count = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
    for (int i = 0; i < count; ++i) {
        Reply<xcb_randr_get_output_info_reply_t> info(xcb_randr_get_output_info_reply(
            connection_, xcb_randr_get_output_info(connection_, outputs[i], resources->config_timestamp), nullptr));
        if (!info) {
            continue;
        }
        std::string_view name(reinterpret_cast<const char*>(xcb_randr_get_output_info_name(info.get())),
                              static_cast<size_t>(xcb_randr_get_output_info_name_length(info.get())));
        if (name.starts_with("XWAYLAND")) {
            return true;
        }
    }
    return false;
}

Size XcbScreenSource::primaryScreenSize() const
{
    if (!screen_) {
        return {};
    }
    return {screen_->width_in_pixels, screen_->height_in_pixels};
}

int XcbScreenSource::depth() const
{
    return screen_ ? screen_->root_depth : 0;
}

std::vector<PaletteEntry> XcbScreenSource::readColormap(int entries)
{
    entries = std::clamp(entries, 0, 256);
    // The installed colormap is what the screen shows; the default one when none is listed.
    xcb_colormap_t colormap = screen_->default_colormap;
    Reply<xcb_list_installed_colormaps_reply_t> installed(xcb_list_installed_colormaps_reply(
        connection_, xcb_list_installed_colormaps(connection_, screen_->root), nullptr));
    if (installed && xcb_list_installed_colormaps_cmaps_length(installed.get()) > 0) {
        colormap = xcb_list_installed_colormaps_cmaps(installed.get())[0];
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        pixels[static_cast<size_t>(i)] = static_cast<uint32_t>(i);
    }
    ErrorSlot error;
    Reply<xcb_query_colors_reply_t> colors(xcb_query_colors_reply(
        connection_, xcb_query_colors(connection_, colormap, static_cast<uint32_t>(entries), pixels.data()),
        &error.error));
    std::vector<PaletteEntry> palette;
    if (!colors) {
        return palette;
    }
    const xcb_rgb_t* rgb = xcb_query_colors_colors(colors.get());
    int count = std::min(entries, xcb_query_colors_colors_length(colors.get()));
    palette.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        palette.push_back({static_cast<uint8_t>(rgb[i].red >> 8), static_cast<uint8_t>(rgb[i].green >> 8),
                           static_cast<uint8_t>(rgb[i].blue >> 8), 0});
    }
    return palette;
}

std::optional<std::vector<PaletteEntry>> XcbScreenSource::systemPalette()
{
    if (!screen_ || !paletteDisplay_) {
        return std::nullopt;
    }
    return readColormap(colormapEntries_);
}

size_t XcbScreenSource::rowBytes(int width) const
{
    size_t bits = static_cast<size_t>(width) * static_cast<size_t>(layout_.bitsPerPixel);
    size_t pad = static_cast<size_t>(std::max(scanlinePad_, 8));
    return (bits + pad - 1) / pad * pad / 8;
}

bool XcbScreenSource::ensureSegment(size_t bytes)
{
    if (shmAddress_ && shmSize_ >= bytes) {
        return true;
    }
    releaseSegment();
    int id = ::shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) {
        return false;
    }
    void* address = ::shmat(id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) { // NOLINT(performance-no-int-to-ptr): shmat's failure value
        ::shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    uint32_t segment = xcb_generate_id(connection_);
    xcb_generic_error_t* error =
        xcb_request_check(connection_, xcb_shm_attach_checked(connection_, segment, static_cast<uint32_t>(id), 0));
    // Marked for removal now: the kernel frees it once both sides have detached.
    ::shmctl(id, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        ::shmdt(address);
        return false;
    }
    segment_ = segment;
    shmAddress_ = static_cast<uint8_t*>(address);
    shmSize_ = bytes;
    return true;
}

void XcbScreenSource::releaseSegment()
{
    if (!shmAddress_) {
        return;
    }
    xcb_shm_detach(connection_, segment_);
    xcb_flush(connection_);
    ::shmdt(shmAddress_);
    shmAddress_ = nullptr;
    shmSize_ = 0;
}

bool XcbScreenSource::grabInto(int left, int top, int width, int height, int targetX, int targetY, Bitmap& target)
{
    std::vector<PaletteEntry> colormap;
    if (layout_.indexed) {
        colormap = readColormap(colormapEntries_);
    }
    ScreenRowConverter converter(layout_, colormap);
    if (!converter.isSupported()) {
        return false;
    }
    size_t stride = rowBytes(width);
    size_t bytes = stride * static_cast<size_t>(height);
    auto x = static_cast<int16_t>(left);
    auto y = static_cast<int16_t>(top);
    auto w = static_cast<uint16_t>(width);
    auto h = static_cast<uint16_t>(height);

    const uint8_t* data = nullptr;
    Reply<xcb_get_image_reply_t> plain;
    if (shmAvailable_ && !ensureSegment(bytes)) {
        shmAvailable_ = false; // no shared memory with this server (or not this much): ask plainly
    }
    if (shmAvailable_) {
        ErrorSlot error;
        Reply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
            connection_,
            xcb_shm_get_image(connection_, screen_->root, x, y, w, h, ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment_, 0),
            &error.error));
        if (reply) {
            data = shmAddress_;
        } else {
            // A server that refuses (e.g. across machines) is asked the plain way from now on.
            releaseSegment();
            shmAvailable_ = false;
        }
    }
    if (!data) {
        ErrorSlot error;
        plain.reset(xcb_get_image_reply(
            connection_, xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, screen_->root, x, y, w, h, ~0u),
            &error.error));
        if (!plain || static_cast<size_t>(xcb_get_image_data_length(plain.get())) < bytes) {
            return false;
        }
        data = xcb_get_image_data(plain.get());
    }
    for (int row = 0; row < height; ++row) {
        converter.convert(data + stride * static_cast<size_t>(row), target.row(targetY + row) + 3 * targetX, width);
    }
    return true;
}

bool XcbScreenSource::copyPixels(int left, int top, int width, int height, Bitmap& target)
{
    if (!screen_ || target.pixelFormat() != PixelFormat::Bpp24 || xwayland_) {
        return false;
    }
    // X refuses rectangles that leave the root window: copy only the part on the screen.
    int64_t x0 = std::max<int64_t>(left, 0);
    int64_t y0 = std::max<int64_t>(top, 0);
    int64_t x1 = std::min<int64_t>({int64_t(left) + width, screen_->width_in_pixels, int64_t(left) + target.width()});
    int64_t y1 = std::min<int64_t>({int64_t(top) + height, screen_->height_in_pixels, int64_t(top) + target.height()});
    if (x1 <= x0 || y1 <= y0) {
        return true; // nothing of it on the screen: the off-screen rule alone applies
    }
    if (!grabInto(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0),
                  static_cast<int>(x0 - left), static_cast<int>(y0 - top), target)) {
        unreadable_ = "the X server refused to give the screen's pixels";
        return false;
    }
    unreadable_.clear();
    return true;
}

std::optional<Point> XcbScreenSource::cursorPosition()
{
    if (!screen_) {
        return std::nullopt;
    }
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, screen_->root), nullptr));
    if (!pointer || !pointer->same_screen) {
        return std::nullopt;
    }
    return Point{pointer->root_x, pointer->root_y};
}

std::optional<CursorImage> XcbScreenSource::currentCursor()
{
    if (!screen_ || !xfixesAvailable_) {
        return std::nullopt;
    }
    ErrorSlot error;
    Reply<xcb_xfixes_get_cursor_image_reply_t> reply(
        xcb_xfixes_get_cursor_image_reply(connection_, xcb_xfixes_get_cursor_image(connection_), &error.error));
    if (!reply) {
        return std::nullopt;
    }
    CursorImage cursor;
    cursor.width = reply->width;
    cursor.height = reply->height;
    cursor.xHotspot = reply->xhot;
    cursor.yHotspot = reply->yhot;
    size_t count = static_cast<size_t>(cursor.width) * static_cast<size_t>(cursor.height);
    if (static_cast<size_t>(xcb_xfixes_get_cursor_image_cursor_image_length(reply.get())) < count) {
        return std::nullopt;
    }
    const uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
    cursor.argb.assign(pixels, pixels + count);
    return cursor;
}

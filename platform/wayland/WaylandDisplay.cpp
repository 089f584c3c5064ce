#include "platform/wayland/WaylandDisplay.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <poll.h>

namespace {

// The newest versions whose events this client handles.
constexpr uint32_t kOutputVersion = 4;
constexpr uint32_t kXdgOutputVersion = 3;
constexpr uint32_t kScreencopyVersion = 3;

template <typename T>
T* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t newest)
{
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, newest)));
}

void registryGlobal(void* data, wl_registry* /*registry*/, uint32_t name, const char* interface, uint32_t version)
{
    static_cast<WaylandDisplay*>(data)->addGlobal(name, interface, version);
}

void registryGlobalRemove(void* data, wl_registry* /*registry*/, uint32_t name)
{
    static_cast<WaylandDisplay*>(data)->removeGlobal(name);
}

const wl_registry_listener kRegistryListener = {registryGlobal, registryGlobalRemove};

void outputGeometry(void* data, wl_output* /*output*/, int32_t x, int32_t y, int32_t /*mmWidth*/, int32_t /*mmHeight*/,
                    int32_t /*subpixel*/, const char* /*make*/, const char* /*model*/, int32_t transform)
{
    auto* output = static_cast<WaylandOutput*>(data);
    output->position = {x, y};
    output->transform = transform;
}

void outputMode(void* data, wl_output* /*output*/, uint32_t flags, int32_t width, int32_t height, int32_t /*refresh*/)
{
    if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
        static_cast<WaylandOutput*>(data)->mode = {width, height};
    }
}

void outputDone(void* /*data*/, wl_output* /*output*/)
{
}

void outputScale(void* data, wl_output* /*output*/, int32_t factor)
{
    static_cast<WaylandOutput*>(data)->scale = std::max(factor, 1);
}

void outputName(void* data, wl_output* /*output*/, const char* name)
{
    static_cast<WaylandOutput*>(data)->name = name;
}

void outputDescription(void* /*data*/, wl_output* /*output*/, const char* /*description*/)
{
}

const wl_output_listener kOutputListener = {outputGeometry, outputMode, outputDone,
                                            outputScale,    outputName, outputDescription};

void xdgLogicalPosition(void* data, zxdg_output_v1* /*output*/, int32_t x, int32_t y)
{
    static_cast<WaylandOutput*>(data)->logicalPosition = Point{x, y};
}

void xdgLogicalSize(void* data, zxdg_output_v1* /*output*/, int32_t width, int32_t height)
{
    static_cast<WaylandOutput*>(data)->logicalSize = Size{width, height};
}

void xdgDone(void* /*data*/, zxdg_output_v1* /*output*/)
{
}

void xdgName(void* data, zxdg_output_v1* /*output*/, const char* name)
{
    static_cast<WaylandOutput*>(data)->name = name;
}

void xdgDescription(void* /*data*/, zxdg_output_v1* /*output*/, const char* /*description*/)
{
}

const zxdg_output_v1_listener kXdgOutputListener = {xdgLogicalPosition, xdgLogicalSize, xdgDone, xdgName,
                                                    xdgDescription};

void callbackDone(void* data, wl_callback* /*callback*/, uint32_t /*serial*/)
{
    *static_cast<bool*>(data) = true;
}

const wl_callback_listener kCallbackListener = {callbackDone};

int millisecondsUntil(WaylandDeadline deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<int64_t>(left.count(), 0));
}

} // namespace

Rect WaylandOutput::logical() const
{
    const bool quarterTurn = (transform & 1) != 0;
    const Size turned = quarterTurn ? Size{mode.height, mode.width} : mode;
    const Size size = logicalSize.value_or(Size{turned.width / scale, turned.height / scale});
    const Point at = logicalPosition.value_or(position);
    return Rect::fromSize(at.x, at.y, size.width, size.height);
}

std::unique_ptr<WaylandDisplay> WaylandDisplay::connect(WaylandDeadline deadline, std::string& reason)
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    // Only a session that names its compositor is asked: libwayland would otherwise guess one.
    if (name == nullptr || *name == '\0') {
        reason = "no Wayland compositor is named (WAYLAND_DISPLAY)";
        return nullptr;
    }
    std::unique_ptr<WaylandDisplay> display(new WaylandDisplay);
    display->display_ = wl_display_connect(nullptr);
    if (display->display_ == nullptr) {
        reason = std::string("cannot connect to the Wayland compositor ") + name + " (" + std::strerror(errno) + ")";
        return nullptr;
    }
    display->registry_ = wl_display_get_registry(display->display_);
    wl_registry_add_listener(display->registry_, &kRegistryListener, display.get());
    // The first answer lists the globals; the second the outputs' descriptions asked for on the way.
    if (!display->settle(deadline) || !display->settle(deadline)) {
        reason = "the Wayland compositor " + std::string(name) + " did not answer: " + display->failure();
        return nullptr;
    }
    return display;
}

WaylandDisplay::~WaylandDisplay()
{
    for (const std::unique_ptr<WaylandOutput>& output : outputs_) {
        if (output->xdgOutput != nullptr) {
            zxdg_output_v1_destroy(output->xdgOutput);
        }
        wl_output_destroy(output->output);
    }
    if (screencopy_ != nullptr) {
        zwlr_screencopy_manager_v1_destroy(screencopy_);
    }
    if (xdgOutputs_ != nullptr) {
        zxdg_output_manager_v1_destroy(xdgOutputs_);
    }
    if (shm_ != nullptr) {
        wl_shm_destroy(shm_);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
    }
}

void WaylandDisplay::addGlobal(uint32_t name, const char* interface, uint32_t version)
{
    const std::string_view kind(interface);
    if (kind == wl_shm_interface.name && shm_ == nullptr) {
        shm_ = bind<wl_shm>(registry_, name, &wl_shm_interface, version, 1);
    } else if (kind == zwlr_screencopy_manager_v1_interface.name && screencopy_ == nullptr) {
        screencopy_ = bind<zwlr_screencopy_manager_v1>(registry_, name, &zwlr_screencopy_manager_v1_interface, version,
                                                       kScreencopyVersion);
        screencopyVersion_ = std::min(version, kScreencopyVersion);
    } else if (kind == zxdg_output_manager_v1_interface.name && xdgOutputs_ == nullptr) {
        xdgOutputs_ = bind<zxdg_output_manager_v1>(registry_, name, &zxdg_output_manager_v1_interface, version,
                                                   kXdgOutputVersion);
        for (const std::unique_ptr<WaylandOutput>& output : outputs_) {
            watchOutput(*output);
        }
    } else if (kind == wl_output_interface.name) {
        auto output = std::make_unique<WaylandOutput>();
        output->globalName = name;
        output->output = bind<wl_output>(registry_, name, &wl_output_interface, version, kOutputVersion);
        wl_output_add_listener(output->output, &kOutputListener, output.get());
        watchOutput(*output);
        outputs_.push_back(std::move(output));
    }
}

void WaylandDisplay::watchOutput(WaylandOutput& output)
{
    if (xdgOutputs_ == nullptr || output.xdgOutput != nullptr) {
        return;
    }
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(xdgOutputs_, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &kXdgOutputListener, &output);
}

void WaylandDisplay::removeGlobal(uint32_t name)
{
    const auto gone = std::find_if(outputs_.begin(), outputs_.end(),
                                   [name](const std::unique_ptr<WaylandOutput>& o) { return o->globalName == name; });
    if (gone == outputs_.end()) {
        return;
    }
    if ((*gone)->xdgOutput != nullptr) {
        zxdg_output_v1_destroy((*gone)->xdgOutput);
    }
    wl_output_destroy((*gone)->output);
    outputs_.erase(gone);
}

std::vector<const WaylandOutput*> WaylandDisplay::outputs() const
{
    std::vector<const WaylandOutput*> list;
    for (const std::unique_ptr<WaylandOutput>& output : outputs_) {
        if (output->mode.width > 0 && output->mode.height > 0) {
            list.push_back(output.get());
        }
    }
    return list;
}

bool WaylandDisplay::dispatchUntil(const std::function<bool()>& done, WaylandDeadline deadline)
{
    while (!done()) {
        if (wl_display_dispatch_pending(display_) < 0) {
            return false;
        }
        if (done()) {
            return true;
        }
        if (wl_display_prepare_read(display_) != 0) {
            continue;
        }
        // Requests wait in libwayland's buffer until flushed; a full socket is retried below.
        if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display_);
            return false;
        }
        pollfd watched{wl_display_get_fd(display_), POLLIN, 0};
        const int ready = poll(&watched, 1, std::min(millisecondsUntil(deadline), 100));
        if (ready <= 0) {
            wl_display_cancel_read(display_);
            if (ready < 0 && errno != EINTR) {
                return false;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            continue;
        }
        if (wl_display_read_events(display_) < 0) {
            return false;
        }
    }
    return true;
}

bool WaylandDisplay::settle(WaylandDeadline deadline)
{
    bool done = false;
    wl_callback* callback = wl_display_sync(display_);
    wl_callback_add_listener(callback, &kCallbackListener, &done);
    const bool answered = dispatchUntil([&done] { return done; }, deadline);
    wl_callback_destroy(callback);
    return answered;
}

std::string WaylandDisplay::failure() const
{
    const int error = wl_display_get_error(display_);
    if (error == 0) {
        return "no answer in time";
    }
    if (error == EPROTO) {
        const wl_interface* interface = nullptr;
        const uint32_t code = wl_display_get_protocol_error(display_, &interface, nullptr);
        return std::string("protocol error ") + std::to_string(code) + " on " +
               (interface != nullptr ? interface->name : "an unknown object");
    }
    return std::strerror(error);
}

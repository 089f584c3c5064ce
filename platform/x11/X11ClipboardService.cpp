#include "platform/x11/X11ClipboardService.h"

#include "platform/x11/ClipboardKeeperLaunch.h"
#include "platform/x11/ImageSelectionServer.h"

#include <cstdint>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

#include <sys/eventfd.h>
#include <unistd.h>

namespace {

using Format = ImageSelectionServer::Format;

// How long the clipboard manager has to take the capture at exit, and the keeper to start.
constexpr std::chrono::milliseconds kHandoverLimit{2000};

// Runs `encode` on a thread of its own and gives its bytes (none when it failed) to `done`.
void encodeDetached(std::shared_ptr<const Bitmap> image, ClipboardEncoder encode,
                    const std::shared_ptr<RunningEncodings>& running, std::function<void(SelectionBytes)> done)
{
    running->started();
    std::thread([image = std::move(image), encode = std::move(encode), done = std::move(done), running] {
        SelectionBytes bytes;
        try {
            VectorSink sink;
            encode(*image, sink);
            bytes = SelectionBytes::of(std::move(sink.bytes));
        } catch (const std::exception&) {
            bytes = {};
        }
        done(std::move(bytes));
        running->ended();
    }).detach();
}

} // namespace

void RunningEncodings::started()
{
    const std::lock_guard lock(mutex_);
    ++running_;
}

void RunningEncodings::ended()
{
    const std::lock_guard lock(mutex_);
    if (--running_ == 0) {
        allEnded_.notify_all();
    }
}

void RunningEncodings::waitUntilNoneRun()
{
    std::unique_lock lock(mutex_);
    allEnded_.wait(lock, [this] { return running_ == 0; });
}

// The selection and the thread that serves it. Everything the selection does runs on that thread
// (tasks are posted to it) until the thread has ended.
struct X11ClipboardService::Server {
    explicit Server(xcb_connection_t* c) : connection(c, xcb_disconnect), selection(c) {}
    ~Server()
    {
        stop();
        ::close(wake);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    void post(std::function<void()> task)
    {
        {
            const std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
        }
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake, &one, sizeof one);
    }

    void runTasks()
    {
        std::vector<std::function<void()>> now;
        {
            const std::lock_guard lock(mutex);
            now.swap(tasks);
        }
        for (auto& task : now) {
            task();
        }
    }

    void run()
    {
        while (!stopping && selection.waitAndDispatch(-1, wake)) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wake, &count, sizeof count);
            runTasks();
        }
    }

    void stop()
    {
        if (thread.joinable()) {
            post([this] { stopping = true; });
            thread.join();
        }
    }

    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection;
    ImageSelectionServer selection;
    int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::mutex mutex;
    std::vector<std::function<void()>> tasks;
    std::thread thread;
    bool stopping = false;
    // The capture on the clipboard now, and its number, so that a late encoding of an earlier
    // capture is dropped.
    std::shared_ptr<const Bitmap> image;
    uint64_t generation = 0;
};

X11ClipboardService::X11ClipboardService(ClipboardEncoders encoders) : encoders_(std::move(encoders))
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    server_ = std::make_unique<Server>(connection);
    Server& server = *server_;
    server.selection.onBmpWanted = [this, &server] {
        const uint64_t generation = server.generation;
        encodeDetached(server.image, encoders_.bmp, running_, [&server, generation](SelectionBytes bytes) {
            server.post([&server, generation, bytes = std::move(bytes)]() mutable {
                if (generation == server.generation) {
                    server.selection.setBytes(Format::Bmp, std::move(bytes));
                }
            });
        });
    };
    server.selection.onLost = [&server] { server.image.reset(); };
    server.thread = std::thread([&server] { server.run(); });
}

X11ClipboardService::~X11ClipboardService()
{
    // No new encoding can start once the thread has ended; the last ones may still post results.
    if (server_) {
        server_->stop();
    }
    running_->waitUntilNoneRun();
}

void X11ClipboardService::setBitmap(const Bitmap& bitmap)
{
    if (!server_) {
        return;
    }
    auto image = std::make_shared<const Bitmap>(bitmap);
    Server& server = *server_;
    // The clipboard is taken before the PNG exists: a paste that comes first waits for it.
    server.post([&server, image, this] {
        const uint64_t generation = ++server.generation;
        server.image = image;
        if (!server.selection.own()) {
            server.image.reset();
            return;
        }
        encodeDetached(image, encoders_.png, running_, [&server, generation](SelectionBytes bytes) {
            server.post([&server, generation, bytes = std::move(bytes)]() mutable {
                if (generation == server.generation) {
                    server.selection.setBytes(Format::Png, std::move(bytes));
                }
            });
        });
    });
}

std::string X11ClipboardService::keepAfterExit(const std::string& keeperProgram)
{
    if (!server_) {
        return {};
    }
    Server& server = *server_;
    server.stop();
    // From here on this thread has the selection to itself; the encodings' results are waiting as tasks.
    running_->waitUntilNoneRun();
    server.runTasks();
    ImageSelectionServer& selection = server.selection;
    selection.dispatchPending();
    if (!selection.owns() || !server.image) {
        return {};
    }
    if (!selection.bytes(Format::Png).ready()) {
        return "the capture's PNG could not be made";
    }
    if (!selection.bytes(Format::Bmp).ready()) {
        try {
            VectorSink bmp;
            encoders_.bmp(*server.image, bmp);
            selection.setBytes(Format::Bmp, SelectionBytes::of(std::move(bmp.bytes)));
        } catch (const std::exception& error) {
            return error.what();
        }
    }
    switch (selection.handOverToManager(kHandoverLimit)) {
    case ImageSelectionServer::Handover::Saved:
        return {};
    case ImageSelectionServer::Handover::NoAnswer:
        return "the clipboard manager did not take the capture in time";
    case ImageSelectionServer::Handover::NoManager:
        break;
    }
    server.image.reset();
    const std::string failure = startClipboardKeeper(keeperProgram, selection.bytes(Format::Png).bytes, kHandoverLimit);
    return failure.empty() ? std::string() : "the clipboard keeper did not start: " + failure;
}

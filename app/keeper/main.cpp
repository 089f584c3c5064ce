// The clipboard keeper: serves Zentrap's last capture on the clipboard after the program has ended,
// until another client takes the clipboard (Zentrap's next capture among them) or the display
// closes. A new start of Zentrap leaves it serving, so the capture stays pasteable until something
// replaces it. It holds the PNG it was given and makes the BMP only while a program asks for it;
// it opens no visible window and writes no file.
#include "common/ZentrapError.h"
#include "formats/BmpWriter.h"
#include "formats/readers/PngReader.h"
#include "platform/x11/ClipboardKeeperLaunch.h"
#include "platform/x11/ImageSelectionServer.h"

#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The PNG the program left in anonymous memory, mapped rather than copied.
SelectionBytes mapPicture(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_size <= 0) {
        return {};
    }
    const auto size = static_cast<size_t>(status.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED) {
        return {};
    }
    std::shared_ptr<const void> owner(mapped, [size](const void* p) { ::munmap(const_cast<void*>(p), size); });
    return {owner, std::span<const uint8_t>(static_cast<const uint8_t*>(mapped), size)};
}

void report(const std::string& text)
{
    [[maybe_unused]] const ssize_t n = ::write(kKeeperReportDescriptor, text.data(), text.size());
    ::close(kKeeperReportDescriptor);
}

SelectionBytes bmpOf(const SelectionBytes& png)
{
    VectorSink bmp;
    writeBmpFile(readPng(png.bytes, {kMaxImageSide, kMaxImagePixels, 0}), bmp);
    return SelectionBytes::of(std::move(bmp.bytes));
}

} // namespace

int main()
{
    const SelectionBytes png = mapPicture(kKeeperPictureDescriptor);
    ::close(kKeeperPictureDescriptor);
    if (!png.ready()) {
        report("no picture was given");
        return 1;
    }
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(xcb_connect(nullptr, nullptr),
                                                                                    xcb_disconnect);
    if (xcb_connection_has_error(connection.get()) != 0) {
        report("cannot open the X display");
        return 1;
    }
    ImageSelectionServer server(connection.get());
    bool serving = true;
    server.onLost = [&serving] { serving = false; };
    server.onBmpWanted = [&] {
        try {
            server.answerWaiting(ImageSelectionServer::Format::Bmp, bmpOf(png));
        } catch (const std::exception&) {
            // Refused, rather than answered with no bytes.
            server.answerWaiting(ImageSelectionServer::Format::Bmp, SelectionBytes{});
        }
    };
    // Holding the mark first ends an earlier keeper, so that one keeper at most runs.
    if (!server.holdKeeperMark() || !server.own()) {
        report("the X server did not give the clipboard");
        return 1;
    }
    server.setBytes(ImageSelectionServer::Format::Png, png);
    report("ok");
    while (serving && server.waitAndDispatch(-1)) {
    }
    return 0;
}

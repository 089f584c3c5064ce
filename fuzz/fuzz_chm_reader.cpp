// Fuzzes the help file reader: arbitrary bytes as ztp.chm (written to a file, since chmlib opens files
// by name), then every object read, the navigation data parsed and each page checked, as the help window would.
#include "help/ChmArchive.h"
#include "help/ChmContents.h"
#include "help/HelpPageCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// One scratch file per process, removed at exit.
const std::string& scratchFile()
{
    static const std::string path = [] {
        char name[] = "/tmp/fuzz_chm_reader.XXXXXX";
        int fd = ::mkstemp(name);
        if (fd < 0)
            std::abort();
        ::close(fd);
        std::string made = name;
        static const std::string removeAtExit = made;
        std::atexit([] { std::remove(removeAtExit.c_str()); });
        return made;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = scratchFile();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, out);
    std::fclose(out);

    ChmArchive archive(path);
    if (!archive.isOpen())
        return 0;
    for (const auto& object : archive.objectPaths()) {
        auto bytes = archive.read(object);
        if (!bytes)
            continue;
        if (object == "/#SYSTEM")
            (void)ParseChmSystem(*bytes);
        std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
        (void)ParseChmSitemap(text);
        (void)isIntactHelpPage(text);
    }
    return 0;
}

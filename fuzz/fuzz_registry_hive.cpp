// Hive files from outside: parsing never crashes, and what is written reads back the same.
#include "platform/RegFileFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RegContents contents = parseRegFile(bytes);
    std::string text = formatRegFile(contents, "HKEY_CURRENT_USER");
    RegContents again = parseRegFile(text);
    if (formatRegFile(again, "HKEY_CURRENT_USER") != text) {
        std::abort(); // a value that does not survive a save and a load
    }
    for (const RegContents::Key& key : contents.keys()) {
        for (const auto& [name, value] : key.values) {
            if (again.value(key.path, name) != value) {
                std::abort();
            }
        }
    }
    return 0;
}

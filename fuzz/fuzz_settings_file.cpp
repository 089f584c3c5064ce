// Settings files from outside: reading never crashes, integers are read safely, and writing one
// value reads back and keeps the other lines.
#include "common/SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

size_t lineCount(const std::string& text)
{
    size_t n = 0;
    for (char c : text) {
        n += c == '\n';
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileText profile(bytes);
    for (const char* key : {"Left", "Top", "Width", "Height", "Color", "Zoom"}) {
        if (auto value = profile.value("Edit", key)) {
            (void)parseProfileInteger(*value);
        }
    }
    (void)parseProfileInteger(bytes);

    size_t before = lineCount(profile.text());
    profile.setValue("Save", "Left", "123");
    profile.setValue("Print", "Note", bytes.substr(0, 64));
    if (profile.value("save", "LEFT") != "123") {
        std::abort();
    }
    std::string text = profile.text();
    if (lineCount(text) < before || lineCount(text) > before + 6) {
        std::abort(); // a write lost lines or wrote more than its own
    }
    if (ProfileText(text).text() != text) {
        std::abort();
    }
    return 0;
}

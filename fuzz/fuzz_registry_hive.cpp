// Hive files from outside: parsing never crashes, what is written reads back the same, and a save
// into the file as it is changes exactly Zentrap's values.
#include "platform/RegFileFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void checkFormatRoundTrip(const RegContents& contents)
{
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
}

// Zentrap's values, one value of the file's first key and a new key, saved into the file.
void checkSaveInPlace(std::string_view bytes, const RegContents& before)
{
    std::vector<RegChange> changes = {
        {"SOFTWARE\\Morvane\\Zentrap", std::nullopt, RegValue()},
        {"SOFTWARE\\Morvane\\Zentrap", std::string("Left"), RegValue(uint32_t(12))},
        {"SOFTWARE\\Morvane\\Zentrap", std::string("Skin"), RegValue(std::string("a \"b\"\n"))},
        {"Zentrap New\\Key", std::nullopt, RegValue()},
    };
    if (!before.keys().empty() && !before.keys().front().values.empty()) {
        const RegContents::Key& first = before.keys().front();
        changes.push_back({first.path, first.values.front().first, RegValue(std::string("changed"))});
    }
    RegFileEdit edit = applyRegChanges(bytes, changes, "HKEY_CURRENT_USER");
    RegContents after = parseRegFile(edit.text);
    RegContents expected = before;
    for (const RegChange& change : changes) {
        applyRegChange(expected, change);
    }
    for (const RegContents* contents : {&expected, &after, &edit.contents}) {
        for (const RegContents::Key& key : contents->keys()) {
            for (const auto& [name, value] : key.values) {
                if (expected.value(key.path, name) != value || after.value(key.path, name) != value ||
                    edit.contents.value(key.path, name) != value) {
                    std::abort(); // a value lost, changed or added that should not be
                }
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RegContents contents = parseRegFile(bytes);
    checkFormatRoundTrip(contents);
    checkSaveInPlace(bytes, contents);
    return 0;
}

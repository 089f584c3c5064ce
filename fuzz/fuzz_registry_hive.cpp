// Hive files from outside: parsing never crashes, what is written reads back the same, and a save
// into the file as it is changes exactly Zentrap's values.
#include "platform/RegFileEdit.h"

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
    for (size_t key = 0; key < contents.keyCount(); ++key) {
        contents.forEachValue(key, [&](std::string_view name, const RegValue& value) {
            if (again.value(contents.keyPath(key), name) != value) {
                std::abort();
            }
        });
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
    if (before.keyCount() > 0) {
        std::optional<std::string> firstName;
        before.forEachValue(
            0, [&](std::string_view name, const RegValue&) { firstName = firstName.value_or(std::string(name)); });
        if (firstName) {
            changes.push_back({std::string(before.keyPath(0)), *firstName, RegValue(std::string("changed"))});
        }
    }
    RegContents after = parseRegFile(editRegFile(bytes, changes, "HKEY_CURRENT_USER"));
    RegContents expected = parseRegFile(std::string(bytes));
    for (const RegChange& change : changes) {
        applyRegChange(expected, change);
    }
    for (const RegContents* contents : {&expected, &after}) {
        for (size_t key = 0; key < contents->keyCount(); ++key) {
            const std::string_view path = contents->keyPath(key);
            contents->forEachValue(key, [&](std::string_view name, const RegValue& value) {
                if (expected.value(path, name) != value || after.value(path, name) != value) {
                    std::abort(); // a value lost, changed or added that should not be
                }
            });
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RegContents contents = parseRegFile(std::string(bytes));
    checkFormatRoundTrip(contents);
    checkSaveInPlace(bytes, contents);
    return 0;
}

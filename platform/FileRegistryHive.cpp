#include "platform/FileRegistryHive.h"

#include "common/AtomicFile.h"
#include "common/SettingsFileText.h"

#include <filesystem>

FileRegistryHive::FileRegistryHive(std::string rootName, Access access)
    : rootName_(std::move(rootName)), access_(access)
{
}

FileRegistryHive::FileRegistryHive(std::string path, std::string rootName, Access access)
    : path_(std::move(path)), rootName_(std::move(rootName)), access_(access)
{
    if (auto bytes = readSettingsFileText(*path_)) {
        contents_ = parseRegFile(*bytes);
    }
}

bool FileRegistryHive::keyExists(std::string_view key) const
{
    return contents_.keyExists(key);
}

bool FileRegistryHive::createKey(std::string_view key)
{
    if (isReadOnly()) {
        return false;
    }
    if (!contents_.findKey(key)) {
        RegChange change{std::string(key), std::nullopt, RegValue()};
        applyRegChange(contents_, change);
        pending_.push_back(std::move(change));
    }
    return true;
}

std::optional<RegValue> FileRegistryHive::value(std::string_view key, std::string_view name) const
{
    return contents_.value(key, name);
}

bool FileRegistryHive::setValue(std::string_view key, std::string_view name, const RegValue& value)
{
    if (isReadOnly() || !contents_.findKey(key)) {
        return false;
    }
    RegChange change{std::string(key), std::string(name), value};
    applyRegChange(contents_, change);
    pending_.push_back(std::move(change));
    return true;
}

bool FileRegistryHive::flush()
{
    if (pending_.empty() || isReadOnly()) {
        return true;
    }
    if (!path_) {
        pending_.clear();
        return true;
    }
    auto bytes = readSettingsFileText(*path_);
    if (!bytes) {
        return false;
    }
    RegFileEdit edit = applyRegChanges(*bytes, pending_, rootName_);
    const std::string& text = edit.text;
    try {
        writeSettingsFileText(*path_, text);
    } catch (const std::exception& e) {
        if (notice_ != nullptr) {
            notice_->failed(*path_, e.what());
        }
        return false; // the changes stay pending; a later flush may succeed
    }
    contents_ = std::move(edit.contents);
    pending_.clear();
    return true;
}

void FileRegistryHive::loadText(std::string_view text)
{
    contents_ = parseRegFile(text);
    pending_.clear();
}

std::string FileRegistryHive::text() const
{
    return formatRegFile(contents_, rootName_);
}

#include "platform/FileRegistryHive.h"

#include "common/AtomicFile.h"
#include "common/SettingsFileText.h"
#include "platform/RegFileEdit.h"

#include <filesystem>

FileRegistryHive::FileRegistryHive(std::string rootName, Access access)
    : rootName_(std::move(rootName)), access_(access)
{
}

FileRegistryHive::FileRegistryHive(std::string path, std::string rootName, Access access)
    : path_(std::move(path)), rootName_(std::move(rootName)), access_(access)
{
    if (auto bytes = readSettingsFileText(*path_)) {
        contents_ = parseRegFile(std::move(*bytes));
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
    if (!contents_.hasKey(key)) {
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
    if (isReadOnly() || !contents_.hasKey(key)) {
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
    // One copy of the text at a time beside the new one: the contents' indexes go first, and the
    // file is compared with the text they were read from rather than read beside them.
    std::string base = contents_.takeText();
    auto onDisk = readSettingsFileText(*path_);
    if (!onDisk) {
        restore(std::move(base));
        return false;
    }
    if (*onDisk != base) {
        base = std::move(*onDisk); // another program wrote meanwhile
    }
    onDisk.reset();
    std::string edited = editRegFile(base, pending_, rootName_);
    std::string().swap(base); // freed: assigning an empty string would keep its buffer
    // From here the contents are the file's values with the changes made, written or not.
    contents_ = parseRegFile(std::move(edited));
    try {
        writeSettingsFileText(*path_, contents_.text());
    } catch (const std::exception& e) {
        if (notice_ != nullptr) {
            notice_->failed(*path_, e.what());
        }
        return false; // the changes stay pending; a later flush may succeed
    }
    pending_.clear();
    return true;
}

void FileRegistryHive::restore(std::string text)
{
    contents_ = parseRegFile(std::move(text));
    for (const RegChange& change : pending_) {
        applyRegChange(contents_, change);
    }
}

void FileRegistryHive::loadText(std::string_view text)
{
    contents_ = parseRegFile(std::string(text));
    pending_.clear();
}

std::string FileRegistryHive::text() const
{
    return formatRegFile(contents_, rootName_);
}

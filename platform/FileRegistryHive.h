// A registry hive kept in a text file in the registry-export format, or only in memory (tests).
#pragma once

#include "common/RegistryHive.h"
#include "common/SettingsWriteNotice.h"
#include "platform/RegFileFormat.h"

#include <optional>
#include <string>
#include <vector>

class FileRegistryHive : public RegistryHive {
public:
    enum class Access { ReadWrite, ReadOnly };

    // An empty hive in memory: flush() keeps nothing but succeeds.
    explicit FileRegistryHive(std::string rootName = "HKEY_CURRENT_USER", Access access = Access::ReadWrite);
    // Reads `path` now; a missing or unreadable file is an empty hive. A read-only hive never
    // writes its file.
    FileRegistryHive(std::string path, std::string rootName, Access access);

    bool keyExists(std::string_view key) const override;
    bool createKey(std::string_view key) override;
    std::optional<RegValue> value(std::string_view key, std::string_view name) const override;
    bool setValue(std::string_view key, std::string_view name, const RegValue& value) override;
    // Makes the changes since the last flush to the file as it is now (so values another program
    // wrote meanwhile stay, and so do the lines Zentrap does not own: comments, key deletions,
    // lines it cannot read) and replaces it atomically. The file is left alone when it exists but
    // cannot be read, so a passing fault never wipes it.
    bool flush() override;

    // Replaces the contents by what `text` holds (tests and in-memory hives).
    void loadText(std::string_view text);
    // The text the hive's file holds after a flush.
    std::string text() const;
    const std::optional<std::string>& path() const { return path_; }
    // Where a failed write of the file is told; may be null.
    void setWriteNotice(SettingsWriteNotice* notice) { notice_ = notice; }
    bool isReadOnly() const { return access_ == Access::ReadOnly; }

private:
    // The contents again from the text they were read from, with the pending changes made.
    void restore(std::string text);

    std::optional<std::string> path_;
    std::string rootName_;
    Access access_;
    RegContents contents_;
    std::vector<RegChange> pending_; // accepted changes, made to the file as it is at flush
    SettingsWriteNotice* notice_ = nullptr;
};

// The text settings file of named sections and key=value lines, read and written with the
// semantics of Windows profile files, and where that file lives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class SettingsWriteNotice;

// The lines of one profile file. Sections and keys match without regard to (ASCII) case and
// surrounding blanks; a value is the text after the first '=', trimmed, with one pair of
// enclosing quotes removed. Lookups use the first matching section and key. Writing one value
// keeps every other line as it was.
class ProfileText {
public:
    ProfileText() = default;
    explicit ProfileText(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the key's line, or adds it at the end of its section, or adds the section.
    // Line breaks in the value become blanks so that a value never makes lines of its own.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct Found {
        std::optional<size_t> sectionLine; // in lines_
        std::optional<size_t> keyLine;     // in lines_
        size_t insertAt = 0;               // in lines_: after the section's last non-blank line
    };
    Found find(std::string_view section, std::string_view key) const;
    std::string_view line(size_t index) const;
    size_t lineEndOffset(size_t index) const;
    // Puts `with` in place of text_[offset, offset + length) and moves the later lines' offsets.
    void splice(size_t offset, size_t length, std::string_view with);
    std::string lineEnd() const;

    // The file's text kept once, every line ending in '\n', and where its lines that are not
    // blank start: memory stays proportional to the file however many lines it has.
    std::string text_;
    std::vector<size_t> lines_;
};

// Reads a profile integer the way the settings were written: decimal with an optional sign, or
// hexadecimal with "0x" or "$"; anything else, or a number outside 32 bits, is not a number.
std::optional<int32_t> parseProfileInteger(std::string_view text);

// One section of a profile text, read as a settings store: booleans are numbers, any non-zero
// number is true.
class ProfileSection {
public:
    ProfileSection(const ProfileText& text, std::string_view section) : text_(text), section_(section) {}
    int32_t readInteger(std::string_view key, int32_t defaultValue) const;
    bool readBoolean(std::string_view key, bool defaultValue) const;
    std::string readString(std::string_view key, const std::string& defaultValue) const;

private:
    const ProfileText& text_;
    std::string_view section_;
};

// Values gathered for one section, to be written in one replacement of the file; booleans are
// written as 1 and 0.
struct ProfileValues {
    void writeInteger(std::string_view key, int32_t value) { values.emplace_back(key, std::to_string(value)); }
    void writeBoolean(std::string_view key, bool value) { values.emplace_back(key, value ? "1" : "0"); }
    void writeString(std::string_view key, std::string_view value) { values.emplace_back(key, value); }
    std::vector<std::pair<std::string, std::string>> values;
};

// A settings file on disk. Every read looks at the file as it is; every write re-reads it,
// changes the one value and replaces the file atomically.
class SettingsFile {
public:
    explicit SettingsFile(std::string path);

    // The file's text as it is now, read once (empty when it is missing or cannot be read), for
    // a window that reads several values.
    ProfileText read() const;

    std::string readString(std::string_view section, std::string_view key, const std::string& defaultValue) const;
    int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // False when the file could not be written (or exists but could not be read); it is then
    // left as it was.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInteger(std::string_view section, std::string_view key, int32_t value);
    // Several values of one section in one replacement of the file, in the order given, with
    // the same result as writing them one by one.
    bool writeStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values);

    const std::string& path() const { return path_; }
    // Where a failed write is told; may be null.
    void setWriteNotice(SettingsWriteNotice* notice) { notice_ = notice; }

private:
    std::string path_;
    SettingsWriteNotice* notice_ = nullptr;
};

// <user config folder>/zentrap.ini, or the program file's path with the extension ".ini" when
// that file already exists (a portable install).
std::string settingsFilePathFor(const std::string& programFile);
// The same for the running program.
std::string settingsFilePath();

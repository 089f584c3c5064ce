#include "common/SettingsFile.h"

#include "common/AtomicFile.h"
#include "common/HivePaths.h"
#include "common/SettingsFileText.h"
#include "common/SettingsWriteNotice.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include <unistd.h>

namespace {

std::string_view trimmed(std::string_view s)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

// The section a line opens, if it is a section line.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimmed(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() == ';') {
        return std::nullopt;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<uint64_t> parseDigits(std::string_view digits, int base)
{
    uint64_t value = 0;
    if (digits.empty()) {
        return std::nullopt;
    }
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

ProfileText::ProfileText(std::string_view text) : text_(text)
{
    // Carriage returns stay in the lines (every reading trims them), so the file's own line
    // ends come back unchanged.
    if (!text_.empty() && text_.back() != '\n') {
        text_ += '\n';
    }
    for (size_t pos = 0; pos < text_.size();) {
        size_t end = text_.find('\n', pos);
        if (!trimmed(std::string_view(text_).substr(pos, end - pos)).empty()) {
            lines_.push_back(pos);
        }
        pos = end + 1;
    }
    lines_.shrink_to_fit();
}

std::string_view ProfileText::line(size_t index) const
{
    return std::string_view(text_).substr(lines_[index], lineEndOffset(index) - 1 - lines_[index]);
}

size_t ProfileText::lineEndOffset(size_t index) const
{
    return text_.find('\n', lines_[index]) + 1;
}

ProfileText::Found ProfileText::find(std::string_view section, std::string_view key) const
{
    Found found;
    section = trimmed(section);
    key = trimmed(key);
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view text = line(i);
        if (auto name = sectionName(text)) {
            if (found.sectionLine) {
                break; // the section ended
            }
            if (equalsIgnoringCase(*name, section)) {
                found.sectionLine = i;
                found.insertAt = i + 1;
            }
            continue;
        }
        if (!found.sectionLine) {
            continue;
        }
        found.insertAt = i + 1;
        if (auto kv = keyLine(text); kv && equalsIgnoringCase(kv->key, key)) {
            found.keyLine = i;
            break;
        }
    }
    return found;
}

std::optional<std::string> ProfileText::value(std::string_view section, std::string_view key) const
{
    Found found = find(section, key);
    if (!found.keyLine) {
        return std::nullopt;
    }
    return std::string(unquoted(keyLine(line(*found.keyLine))->value));
}

void ProfileText::splice(size_t offset, size_t length, std::string_view with)
{
    text_.replace(offset, length, with);
    auto later = std::lower_bound(lines_.begin(), lines_.end(), offset + length);
    for (auto it = later; it != lines_.end(); ++it) {
        *it = *it - length + with.size();
    }
}

void ProfileText::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string end = lineEnd() + '\n';
    std::string line(trimmed(key));
    line += '=';
    for (char c : value) {
        line += (c == '\n' || c == '\r') ? ' ' : c;
    }
    line += end;
    Found found = find(section, key);
    if (found.keyLine) {
        size_t start = lines_[*found.keyLine];
        splice(start, lineEndOffset(*found.keyLine) - start, line);
    } else if (found.sectionLine) {
        // After the section's last non-blank line, before the blank lines that follow it.
        size_t at = lineEndOffset(found.insertAt - 1);
        splice(at, 0, line);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(found.insertAt), at);
    } else {
        bool lastLineBlank = lines_.empty() || lineEndOffset(lines_.size() - 1) != text_.size();
        if (!text_.empty() && !lastLineBlank) {
            text_ += end;
        }
        std::string header = "[";
        header.append(trimmed(section)).append("]").append(end);
        lines_.push_back(text_.size());
        text_ += header;
        lines_.push_back(text_.size());
        text_ += line;
    }
}

std::string ProfileText::lineEnd() const
{
    // New lines follow the file's first line: "\r\n" files stay "\r\n" files.
    size_t firstEnd = text_.find('\n');
    return firstEnd != std::string::npos && firstEnd > 0 && text_[firstEnd - 1] == '\r' ? "\r" : "";
}

std::string ProfileText::text() const
{
    return text_;
}

std::optional<int32_t> parseProfileInteger(std::string_view text)
{
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::optional<uint64_t> magnitude;
    uint64_t limit;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        magnitude = text.size() <= 10 ? parseDigits(text.substr(2), 16) : std::nullopt;
        limit = 0xFFFFFFFFu; // eight hex digits are a bit pattern
    } else if (!text.empty() && text.front() == '$') {
        magnitude = text.size() <= 9 ? parseDigits(text.substr(1), 16) : std::nullopt;
        limit = 0xFFFFFFFFu;
    } else {
        magnitude = text.size() <= 19 ? parseDigits(text, 10) : std::nullopt;
        limit = negative ? uint64_t(1) << 31 : (uint64_t(1) << 31) - 1;
    }
    if (!magnitude || *magnitude > limit) {
        return std::nullopt;
    }
    auto bits = static_cast<uint32_t>(*magnitude);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

int32_t ProfileSection::readInteger(std::string_view key, int32_t defaultValue) const
{
    auto value = text_.value(section_, key);
    return value ? parseProfileInteger(*value).value_or(defaultValue) : defaultValue;
}

bool ProfileSection::readBoolean(std::string_view key, bool defaultValue) const
{
    return readInteger(key, defaultValue ? 1 : 0) != 0;
}

std::string ProfileSection::readString(std::string_view key, const std::string& defaultValue) const
{
    return text_.value(section_, key).value_or(defaultValue);
}

SettingsFile::SettingsFile(std::string path) : path_(std::move(path))
{
}

ProfileText SettingsFile::read() const
{
    auto text = readSettingsFileText(path_);
    return text ? ProfileText(*text) : ProfileText();
}

std::string SettingsFile::readString(std::string_view section, std::string_view key,
                                     const std::string& defaultValue) const
{
    return ProfileSection(read(), section).readString(key, defaultValue);
}

int32_t SettingsFile::readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    return ProfileSection(read(), section).readInteger(key, defaultValue);
}

bool SettingsFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    return writeStrings(section, {{std::string(key), std::string(value)}});
}

bool SettingsFile::writeStrings(std::string_view section,
                                const std::vector<std::pair<std::string, std::string>>& values)
{
    auto text = readSettingsFileText(path_);
    if (!text) {
        return false;
    }
    ProfileText profile(*text);
    for (const auto& [key, value] : values) {
        profile.setValue(section, key, value);
    }
    try {
        writeSettingsFileText(path_, profile.text());
    } catch (const std::exception& e) {
        if (notice_ != nullptr) {
            notice_->failed(path_, e.what());
        }
        return false;
    }
    return true;
}

bool SettingsFile::writeInteger(std::string_view section, std::string_view key, int32_t value)
{
    return writeString(section, key, std::to_string(value));
}

std::string settingsFilePathFor(const std::string& programFile)
{
    std::filesystem::path program(programFile);
    // A file already beside the program makes a portable install; otherwise two runs of one
    // build never share a file that lies in the build folder.
    if (!program.filename().empty()) {
        std::error_code error;
        std::filesystem::path beside = program.replace_extension(".ini");
        if (std::filesystem::exists(beside, error)) {
            return beside.string();
        }
    }
    return userConfigFolder() + "/zentrap.ini";
}

std::string settingsFilePath()
{
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return settingsFilePathFor(error ? std::string() : program.string());
}

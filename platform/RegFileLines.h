// The lines of a hive file's text (the registry-export format): its encodings, the items its
// lines hold read one by one without keeping anything per line, and the writing of value lines.
#pragma once

#include "common/RegistryHive.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

constexpr std::string_view kRegFileHeader = "REGEDIT4";

// Spaces, tabs and a carriage return at the end taken off.
std::string_view trimmed(std::string_view s);
// Trailing backslashes name the same key.
std::string_view normalisedKeyPath(std::string_view path);

// Where the text of a hive file's bytes starts: after a UTF-8 byte-order mark; a UTF-16 file's
// bytes are first made UTF-8 (the only case that copies them).
size_t textStart(std::string& bytes);

// The text of a hive file's bytes, viewed where it can be and converted where it must.
class DecodedText {
public:
    explicit DecodedText(std::string_view bytes);
    std::string_view view() const { return view_; }

private:
    std::string converted_;
    std::string_view view_;
};

// The text between a name's or string's quotes with its escapes resolved.
std::string unescaped(std::string_view quoted);
// The value that data as written after '=' holds; nothing for a deletion ("-") and for data that
// cannot be read.
std::optional<RegValue> parseData(std::string_view data);
// Appends the line "name"=data (@=data for the unnamed value) and a line break.
void appendValue(std::string& out, std::string_view name, const RegValue& value);

// One item of a hive file's text that is neither blank nor a comment: a section header, a value
// line with its continuation lines, or a line that means nothing to the reader.
struct RegItem {
    enum class Kind { Section, Value, Other };
    Kind kind = Kind::Other;
    size_t begin = 0; // where its first line starts
    size_t end = 0;   // where its last line ends, before the line break
    // Section: the key without the root, when the header names one (not a deletion, not rootless).
    std::optional<std::string_view> key;
    // Value: the name as written between its quotes (empty for '@'), and what follows '='.
    std::string_view quotedName;
    std::string_view data; // within the text, or the reader's joining of continued lines
};

// Walks the items of a hive file's text in order, keeping nothing per line.
class RegItemReader {
public:
    RegItemReader(std::string_view text, size_t start) : text_(text), pos_(start) {}
    std::optional<RegItem> next();

private:
    std::optional<std::string_view> nextLine();
    void readValue(std::string_view line, RegItem& item);

    std::string_view text_;
    size_t pos_;
    size_t lineBegin_ = 0;
    size_t lineEnd_ = 0;
    std::string joined_;
};

// How many sections and value lines the text holds at most, so that tables of them are made once
// at their size: growing them would hold the old and the new table at once.
struct RegItemCounts {
    size_t sections = 0;
    size_t values = 0;
};
RegItemCounts countRegItems(std::string_view text);

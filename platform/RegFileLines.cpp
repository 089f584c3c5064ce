#include "platform/RegFileLines.h"

#include "platform/RegFileFormat.h"

#include <cstdint>
#include <cstdio>

// GCC 12 reports the inactive string of a RegValue that holds a number as read uninitialised once
// parsing and storing are inlined together: a false positive of its std::variant analysis.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {

char foldChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && equalsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

void appendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Registry exports of newer systems are UTF-16LE; an odd trailing byte is dropped and unpaired
// surrogates become U+FFFD.
std::string utf16LeToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unitAt = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) |
               (static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 1])) << 8);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (unit >= 0xD800 && unit < 0xE000) ? 0xFFFD : unit);
    }
    return out;
}

bool isUtf16Le(std::string_view bytes)
{
    return bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE;
}

size_t utf8MarkLength(std::string_view bytes)
{
    return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// Where the quoted text at the start of `s` (which begins with '"') closes.
std::optional<size_t> closingQuote(std::string_view s)
{
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            return i;
        }
        if (s[i] == '\\' && i + 1 < s.size()) {
            ++i;
        }
    }
    return std::nullopt;
}

// Reads a quoted text at the start of `s` (which begins with '"'); on success `s` is left just
// past the closing quote.
std::optional<std::string> readQuoted(std::string_view& s)
{
    auto close = closingQuote(s);
    if (!close) {
        return std::nullopt;
    }
    std::string out = unescaped(s.substr(1, *close - 1));
    s.remove_prefix(*close + 1);
    return out;
}

std::optional<uint32_t> parseDword(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (foldChar(c) >= 'a' && foldChar(c) <= 'f') {
            digit = foldChar(c) - 'a' + 10;
        } else {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return value;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (foldChar(c) >= 'a' && foldChar(c) <= 'f');
}

// "hex:" or "hex(n):" (binary, expandable strings, ...): data Zentrap keeps without reading.
bool startsOtherKind(std::string_view data)
{
    if (!startsWithIgnoringCase(data, "hex")) {
        return false;
    }
    data.remove_prefix(3);
    if (!data.empty() && data.front() == '(') {
        size_t close = data.find(')');
        if (close == std::string_view::npos || close == 1 || close > 9) {
            return false;
        }
        for (char c : data.substr(1, close - 1)) {
            if (!isHexDigit(c)) {
                return false;
            }
        }
        data.remove_prefix(close + 1);
    }
    return !data.empty() && data.front() == ':';
}

// The whole data of such a value: its kind, then bytes as two hex digits separated by commas.
bool isOtherKindData(std::string_view data)
{
    if (!startsOtherKind(data)) {
        return false;
    }
    std::string_view bytes = data.substr(data.find(':') + 1);
    while (!bytes.empty()) {
        if (bytes.size() < 2 || !isHexDigit(bytes[0]) || !isHexDigit(bytes[1])) {
            return false;
        }
        bytes.remove_prefix(2);
        if (!bytes.empty()) {
            if (bytes.front() != ',' || bytes.size() == 1) {
                return false;
            }
            bytes.remove_prefix(1);
        }
    }
    return true;
}

void appendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n': // a line break would end the value's line
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    out += '"';
}

// The key a section header names: the part after the root's backslash.
std::optional<std::string_view> sectionKey(std::string_view line)
{
    size_t close = line.rfind(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view path = line.substr(1, close - 1);
    if (path.empty() || path.front() == '-' || !startsWithIgnoringCase(path, "HKEY_")) {
        return std::nullopt; // key deletions and sections without a root are not ours to read
    }
    size_t slash = path.find('\\');
    return slash == std::string_view::npos ? std::string_view() : normalisedKeyPath(path.substr(slash + 1));
}

} // namespace

std::string foldCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = foldChar(c);
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldChar(a[i]) != foldChar(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view normalisedKeyPath(std::string_view path)
{
    while (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return path;
}

size_t textStart(std::string& bytes)
{
    if (isUtf16Le(bytes)) {
        bytes = utf16LeToUtf8(std::string_view(bytes).substr(2));
        return 0;
    }
    return utf8MarkLength(bytes);
}

DecodedText::DecodedText(std::string_view bytes)
{
    if (isUtf16Le(bytes)) {
        converted_ = utf16LeToUtf8(bytes.substr(2));
        view_ = converted_;
    } else {
        view_ = bytes.substr(utf8MarkLength(bytes));
    }
}

std::string unescaped(std::string_view quoted)
{
    std::string out;
    out.reserve(quoted.size());
    for (size_t i = 0; i < quoted.size(); ++i) {
        char c = quoted[i];
        if (c == '\\' && i + 1 < quoted.size()) {
            char next = quoted[++i];
            switch (next) {
            case '\\':
            case '"':
                out += next;
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default: // not an escape we know: keep it as written
                out += '\\';
                out += next;
                break;
            }
            continue;
        }
        out += c;
    }
    return out;
}

std::optional<RegValue> parseData(std::string_view data)
{
    if (startsWithIgnoringCase(data, "dword:")) {
        if (auto number = parseDword(trimmed(data.substr(6)))) {
            return RegValue(*number);
        }
        return std::nullopt;
    }
    if (!data.empty() && data.front() == '"') {
        std::string_view rest = data;
        auto text = readQuoted(rest);
        if (!text || !trimmed(rest).empty()) {
            return std::nullopt;
        }
        return RegValue(std::move(*text));
    }
    if (isOtherKindData(data)) {
        return RegValue(RegOtherValue{std::string(data)});
    }
    return std::nullopt; // "-" (a deletion) and anything unknown
}

void appendValue(std::string& out, std::string_view name, const RegValue& value)
{
    if (name.empty()) {
        out += '@';
    } else {
        appendQuoted(out, name);
    }
    out += '=';
    if (const auto* number = std::get_if<uint32_t>(&value)) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", *number);
        out += digits;
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        appendQuoted(out, *text);
    } else {
        out += std::get<RegOtherValue>(value).data;
    }
    out += '\n';
}

std::optional<RegItem> RegItemReader::next()
{
    while (auto line = nextLine()) {
        std::string_view l = trimmed(*line);
        if (l.empty() || l.front() == ';') {
            continue;
        }
        RegItem item;
        item.begin = lineBegin_;
        if (l.front() == '[') {
            item.kind = RegItem::Kind::Section;
            item.key = sectionKey(l);
        } else if (l.front() == '"' || l.front() == '@') {
            readValue(l, item);
        }
        item.end = lineEnd_;
        return item;
    }
    return std::nullopt;
}

std::optional<std::string_view> RegItemReader::nextLine()
{
    if (pos_ >= text_.size()) {
        return std::nullopt;
    }
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) {
        end = text_.size();
    }
    lineBegin_ = pos_;
    lineEnd_ = end;
    pos_ = end + 1;
    return text_.substr(lineBegin_, end - lineBegin_);
}

// A line that does not go on as "name"=data stays an Other item.
void RegItemReader::readValue(std::string_view line, RegItem& item)
{
    std::string_view rest = line;
    std::string_view quotedName;
    if (rest.front() == '@') {
        rest.remove_prefix(1);
    } else {
        auto close = closingQuote(rest);
        if (!close) {
            return;
        }
        quotedName = rest.substr(1, *close - 1);
        rest.remove_prefix(*close + 1);
    }
    rest = trimmed(rest);
    if (rest.empty() || rest.front() != '=') {
        return;
    }
    item.kind = RegItem::Kind::Value;
    item.quotedName = quotedName;
    item.data = trimmed(rest.substr(1));
    // Binary data may run over several lines, each but the last ending in a backslash; a blank
    // line ends it in any case.
    if (startsOtherKind(item.data) && !item.data.empty() && item.data.back() == '\\') {
        joined_.assign(item.data);
        while (!joined_.empty() && joined_.back() == '\\') {
            joined_.pop_back();
            auto next = nextLine();
            if (!next || trimmed(*next).empty()) {
                break;
            }
            joined_ += trimmed(*next);
        }
        item.data = joined_;
    }
}

RegItemCounts countRegItems(std::string_view text)
{
    RegItemCounts counts;
    for (size_t pos = 0; pos < text.size();) {
        size_t first = text.find_first_not_of(" \t", pos);
        if (first == std::string_view::npos) {
            break;
        }
        counts.sections += text[first] == '[';
        counts.values += text[first] == '"' || text[first] == '@';
        size_t end = text.find('\n', first);
        pos = end == std::string_view::npos ? text.size() : end + 1;
    }
    return counts;
}

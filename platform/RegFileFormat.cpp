#include "platform/RegFileFormat.h"

#include <cstdio>

namespace {

constexpr std::string_view kHeader = "REGEDIT4";

char foldChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
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

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && equalsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

// Trailing backslashes name the same key.
std::string_view normalisedKeyPath(std::string_view path)
{
    while (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return path;
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

std::string decodedText(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        return utf16LeToUtf8(bytes.substr(2));
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    return std::string(bytes);
}

// Reads a quoted text at the start of `s` (which begins with '"'); on success `s` is left just
// past the closing quote.
std::optional<std::string> readQuoted(std::string_view& s)
{
    std::string out;
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < s.size()) {
            char next = s[++i];
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
    return std::nullopt;
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

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    RegContents run()
    {
        while (auto line = nextLine()) {
            std::string_view l = trimmed(*line);
            if (l.empty() || l.front() == ';') {
                continue;
            }
            if (l.front() == '[') {
                startSection(l);
            } else if (l.front() == '"' || l.front() == '@') {
                readValueLine(l);
            }
            // The header line and anything unknown are skipped.
        }
        return std::move(contents_);
    }

private:
    std::optional<std::string_view> nextLine()
    {
        if (pos_ >= text_.size()) {
            return std::nullopt;
        }
        size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) {
            end = text_.size();
        }
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return line;
    }

    void startSection(std::string_view line)
    {
        currentKey_.reset();
        size_t close = line.rfind(']');
        if (close == std::string_view::npos) {
            return;
        }
        std::string_view path = line.substr(1, close - 1);
        if (path.empty() || path.front() == '-' || !startsWithIgnoringCase(path, "HKEY_")) {
            return; // key deletions and sections without a root are not ours to read
        }
        size_t slash = path.find('\\');
        std::string key(slash == std::string_view::npos ? std::string_view()
                                                        : normalisedKeyPath(path.substr(slash + 1)));
        contents_.createKey(key);
        currentKey_ = std::move(key);
    }

    void readValueLine(std::string_view line)
    {
        std::string name;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            auto quoted = readQuoted(rest);
            if (!quoted) {
                return;
            }
            name = std::move(*quoted);
        }
        rest = trimmed(rest);
        if (rest.empty() || rest.front() != '=') {
            return;
        }
        std::string data(trimmed(rest.substr(1)));
        // Binary data may run over several lines, each but the last ending in a backslash.
        if (startsOtherKind(data)) {
            while (!data.empty() && data.back() == '\\') {
                data.pop_back();
                auto next = nextLine();
                if (!next) {
                    break;
                }
                data += trimmed(*next);
            }
        }
        if (!currentKey_) {
            return;
        }
        if (auto value = parseData(data)) {
            contents_.setValue(*currentKey_, name, *value);
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
    RegContents contents_;
    std::optional<std::string> currentKey_;
};

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

void appendValue(std::string& out, const std::string& name, const RegValue& value)
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

bool RegContents::keyExists(std::string_view path) const
{
    path = normalisedKeyPath(path);
    if (findKey(path)) {
        return true;
    }
    for (const Key& key : keys_) {
        if (path.empty() || (key.path.size() > path.size() && key.path[path.size()] == '\\' &&
                             equalsIgnoringCase(std::string_view(key.path).substr(0, path.size()), path))) {
            return true;
        }
    }
    return false;
}

const RegContents::Key* RegContents::findKey(std::string_view path) const
{
    auto it = indexByFoldedPath_.find(foldCase(normalisedKeyPath(path)));
    return it == indexByFoldedPath_.end() ? nullptr : &keys_[it->second];
}

RegContents::Key* RegContents::findKeyMutable(std::string_view path)
{
    return const_cast<Key*>(std::as_const(*this).findKey(path));
}

RegContents::Key& RegContents::createKey(std::string_view path)
{
    path = normalisedKeyPath(path);
    if (Key* existing = findKeyMutable(path)) {
        return *existing;
    }
    indexByFoldedPath_.emplace(foldCase(path), keys_.size());
    keys_.push_back(Key{std::string(path), {}});
    return keys_.back();
}

std::optional<RegValue> RegContents::value(std::string_view path, std::string_view name) const
{
    if (const Key* key = findKey(path)) {
        for (const auto& [valueName, value] : key->values) {
            if (equalsIgnoringCase(valueName, name)) {
                return value;
            }
        }
    }
    return std::nullopt;
}

bool RegContents::setValue(std::string_view path, std::string_view name, const RegValue& value)
{
    Key* key = findKeyMutable(path);
    if (!key) {
        return false;
    }
    for (auto& [valueName, stored] : key->values) {
        if (equalsIgnoringCase(valueName, name)) {
            stored = value;
            return true;
        }
    }
    key->values.emplace_back(std::string(name), value);
    return true;
}

RegContents parseRegFile(std::string_view bytes)
{
    std::string text = decodedText(bytes);
    return Parser(text).run();
}

std::string formatRegFile(const RegContents& contents, std::string_view rootName)
{
    std::string out(kHeader);
    out += "\n\n";
    for (const RegContents::Key& key : contents.keys()) {
        out += '[';
        out += rootName;
        if (!key.path.empty()) {
            out += '\\';
            out += key.path;
        }
        out += "]\n";
        for (const auto& [name, value] : key.values) {
            appendValue(out, name, value);
        }
        out += '\n';
    }
    return out;
}

#include "platform/RegFileFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

// GCC 12 reports the inactive string of a RegValue that holds a number as read uninitialised once
// parsing and storing are inlined together: a false positive of its std::variant analysis.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

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

bool isUtf16Le(std::string_view bytes)
{
    return bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE;
}

size_t utf8MarkLength(std::string_view bytes)
{
    return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// Where the text of a hive file's bytes starts: after a UTF-8 byte-order mark; a UTF-16 file's
// bytes are first made UTF-8 (the only case that copies them).
size_t textStart(std::string& bytes)
{
    if (isUtf16Le(bytes)) {
        bytes = utf16LeToUtf8(std::string_view(bytes).substr(2));
        return 0;
    }
    return utf8MarkLength(bytes);
}

// The text of a hive file's bytes, viewed where it can be and converted where it must.
class DecodedText {
public:
    explicit DecodedText(std::string_view bytes)
    {
        if (isUtf16Le(bytes)) {
            converted_ = utf16LeToUtf8(bytes.substr(2));
            view_ = converted_;
        } else {
            view_ = bytes.substr(utf8MarkLength(bytes));
        }
    }
    std::string_view view() const { return view_; }

private:
    std::string converted_;
    std::string_view view_;
};

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

// The text between the quotes with its escapes resolved.
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

    std::optional<RegItem> next()
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
        lineBegin_ = pos_;
        lineEnd_ = end;
        pos_ = end + 1;
        return text_.substr(lineBegin_, end - lineBegin_);
    }

    static std::optional<std::string_view> sectionKey(std::string_view line)
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

    // A line that does not go on as "name"=data stays an Other item.
    void readValue(std::string_view line, RegItem& item)
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

    std::string_view text_;
    size_t pos_;
    size_t lineBegin_ = 0;
    size_t lineEnd_ = 0;
    std::string joined_;
};

// How many sections and value lines the text holds at most, so that the contents' tables are made
// once at their size: growing them would hold the old and the new table at once.
struct ItemCounts {
    size_t sections = 0;
    size_t values = 0;
};

ItemCounts countItems(std::string_view text)
{
    ItemCounts counts;
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

std::string_view RegContents::view(Span span) const
{
    if (span.offset & kAdded) {
        return std::string_view(added_).substr(span.offset & ~kAdded, span.length);
    }
    return std::string_view(text_).substr(span.offset, span.length);
}

RegContents::Span RegContents::spanOf(std::string_view part)
{
    const auto base = reinterpret_cast<uintptr_t>(text_.data());
    const auto at = reinterpret_cast<uintptr_t>(part.data());
    if (at >= base && at + part.size() <= base + text_.size()) {
        return Span{static_cast<uint32_t>(at - base), static_cast<uint32_t>(part.size())};
    }
    if (added_.size() + part.size() >= kAdded) {
        throw std::length_error("registry contents too large");
    }
    Span span{static_cast<uint32_t>(added_.size()) | kAdded, static_cast<uint32_t>(part.size())};
    added_ += part;
    return span;
}

RegValue RegContents::dataValue(std::string_view data)
{
    if (auto value = parseData(data)) {
        return std::move(*value);
    }
    return RegOtherValue{std::string(data)}; // set as such through setValue
}

bool RegContents::keyExists(std::string_view path) const
{
    path = normalisedKeyPath(path);
    if (findKey(path)) {
        return true;
    }
    for (const Key& key : keys_) {
        std::string_view keyPath = view(key.path);
        if (path.empty() || (keyPath.size() > path.size() && keyPath[path.size()] == '\\' &&
                             equalsIgnoringCase(keyPath.substr(0, path.size()), path))) {
            return true;
        }
    }
    return false;
}

std::optional<uint32_t> RegContents::findKey(std::string_view path) const
{
    path = normalisedKeyPath(path);
    return keyIndex_.find(FoldedNameTable::hashOf(path),
                          [&](uint32_t key) { return equalsIgnoringCase(view(keys_[key].path), path); });
}

uint32_t RegContents::keyFor(Span path)
{
    if (auto existing = findKey(view(path))) {
        return *existing;
    }
    const auto key = static_cast<uint32_t>(keys_.size());
    keyIndex_.insert(FoldedNameTable::hashOf(view(path)), key,
                     [&](uint32_t k) { return FoldedNameTable::hashOf(view(keys_[k].path)); });
    keys_.push_back(Key{path});
    return key;
}

void RegContents::createKey(std::string_view path)
{
    path = normalisedKeyPath(path);
    if (!findKey(path)) {
        keyFor(spanOf(path));
    }
}

std::optional<uint32_t> RegContents::findValue(uint32_t key, std::string_view name) const
{
    auto sameName = [&](uint32_t v) { return equalsIgnoringCase(view(values_[v].name), name); };
    if (auto index = valueIndexes_.find(key); index != valueIndexes_.end()) {
        return index->second.find(FoldedNameTable::hashOf(name), sameName);
    }
    for (uint32_t v = keys_[key].firstValue; v != kNone; v = values_[v].next) {
        if (sameName(v)) {
            return v;
        }
    }
    return std::nullopt;
}

void RegContents::store(uint32_t key, Span name, Span data)
{
    if (auto found = findValue(key, view(name))) {
        values_[*found].data = data;
        return;
    }
    if (values_.size() >= kNone) {
        throw std::length_error("registry contents too large");
    }
    const auto added = static_cast<uint32_t>(values_.size());
    values_.push_back(Value{name, data});
    Key& owner = keys_[key];
    if (owner.lastValue == kNone) {
        owner.firstValue = added;
    } else {
        values_[owner.lastValue].next = added;
    }
    owner.lastValue = added;

    auto hashOfValue = [&](uint32_t v) { return FoldedNameTable::hashOf(view(values_[v].name)); };
    if (auto index = valueIndexes_.find(key); index != valueIndexes_.end()) {
        index->second.insert(hashOfValue(added), added, hashOfValue);
        return;
    }
    size_t count = 0;
    for (uint32_t v = owner.firstValue; v != kNone; v = values_[v].next) {
        ++count;
    }
    if (count == kIndexedValues) {
        FoldedNameTable& index = valueIndexes_[key];
        for (uint32_t v = owner.firstValue; v != kNone; v = values_[v].next) {
            index.insert(hashOfValue(v), v, hashOfValue);
        }
    }
}

std::optional<RegValue> RegContents::value(std::string_view path, std::string_view name) const
{
    auto key = findKey(path);
    if (!key) {
        return std::nullopt;
    }
    auto found = findValue(*key, name);
    return found ? std::optional<RegValue>(dataValue(view(values_[*found].data))) : std::nullopt;
}

bool RegContents::setValue(std::string_view path, std::string_view name, const RegValue& value)
{
    auto key = findKey(path);
    if (!key) {
        return false;
    }
    std::string line;
    appendValue(line, "", value); // "@=data\n"
    Span data = spanOf(std::string_view(line).substr(2, line.size() - 3));
    if (auto found = findValue(*key, name)) {
        values_[*found].data = data;
    } else {
        store(*key, spanOf(name), data);
    }
    return true;
}

std::string RegContents::takeText()
{
    std::string text = std::move(text_);
    *this = RegContents();
    return text;
}

void RegContents::read(size_t start)
{
    std::string_view text = text_;
    ItemCounts counts = countItems(text.substr(start));
    keys_.reserve(counts.sections);
    keyIndex_.reserve(counts.sections);
    values_.reserve(counts.values);
    RegItemReader reader(text, start);
    std::optional<uint32_t> key;
    while (auto item = reader.next()) {
        if (item->kind == RegItem::Kind::Section) {
            key = item->key ? std::optional<uint32_t>(keyFor(spanOf(*item->key))) : std::nullopt;
        } else if (item->kind == RegItem::Kind::Value && key && parseData(item->data)) {
            // Most names have no escapes and stay where the file has them.
            Span name = item->quotedName.find('\\') == std::string_view::npos ? spanOf(item->quotedName)
                                                                              : spanOf(unescaped(item->quotedName));
            store(*key, name, spanOf(item->data));
        }
    }
}

RegContents parseRegFile(std::string bytes)
{
    RegContents contents;
    size_t start = textStart(bytes);
    if (bytes.size() >= RegContents::kAdded) {
        return contents; // beyond what the tables can number; hive files are far smaller
    }
    contents.text_ = std::move(bytes);
    contents.read(start);
    return contents;
}

std::string formatRegFile(const RegContents& contents, std::string_view rootName)
{
    std::string out(kHeader);
    out += "\n\n";
    for (size_t key = 0; key < contents.keyCount(); ++key) {
        std::string_view path = contents.keyPath(key);
        out += '[';
        out += rootName;
        if (!path.empty()) {
            out += '\\';
            out += path;
        }
        out += "]\n";
        contents.forEachValue(key,
                              [&](std::string_view name, const RegValue& value) { appendValue(out, name, value); });
        out += '\n';
    }
    return out;
}

void applyRegChange(RegContents& contents, const RegChange& change)
{
    contents.createKey(change.key);
    if (change.name) {
        contents.setValue(change.key, *change.name, change.value);
    }
}

namespace {

// The changes to one key, the last change of each value winning, in the order first made, and
// where the key and the changed values stand in the file.
struct KeyChanges {
    std::string path;
    std::vector<std::pair<std::string, RegValue>> values;
    FoldedNameTable valueIndex;
    std::optional<size_t> lastSectionEnd; // where the last line of its last section ends
    struct Place {
        size_t begin;
        size_t end;
        std::string fileName; // the name as the file spells it
    };
    std::vector<std::optional<Place>> existing; // per value: its line that is read last
};

class ChangeSet {
public:
    explicit ChangeSet(const std::vector<RegChange>& changes)
    {
        for (const RegChange& change : changes) {
            KeyChanges& key = keyFor(change.key);
            if (!change.name) {
                continue;
            }
            const std::string& name = *change.name;
            uint64_t hash = FoldedNameTable::hashOf(name);
            if (auto found = findValue(key, hash, name)) {
                key.values[*found].second = change.value;
            } else {
                key.valueIndex.insert(hash, static_cast<uint32_t>(key.values.size()),
                                      [&](uint32_t v) { return FoldedNameTable::hashOf(key.values[v].first); });
                key.values.emplace_back(name, change.value);
            }
        }
        for (KeyChanges& key : keys_) {
            key.existing.resize(key.values.size());
        }
    }

    // Finds where the changed keys and values already stand in the file.
    void locate(std::string_view text)
    {
        RegItemReader reader(text, 0);
        KeyChanges* key = nullptr;
        while (auto item = reader.next()) {
            if (item->kind == RegItem::Kind::Section) {
                key = nullptr;
                if (item->key) {
                    auto it = indexByFoldedPath_.find(foldCase(*item->key));
                    key = it == indexByFoldedPath_.end() ? nullptr : &keys_[it->second];
                }
            } else if (item->kind == RegItem::Kind::Value && key) {
                std::string name = unescaped(item->quotedName);
                if (auto found = findValue(*key, FoldedNameTable::hashOf(name), name)) {
                    key->existing[*found] = KeyChanges::Place{item->begin, item->end, std::move(name)};
                }
            }
            if (key) {
                key->lastSectionEnd = item->end; // later sections win
            }
        }
    }

    std::vector<KeyChanges>& keys() { return keys_; }

private:
    static std::optional<uint32_t> findValue(const KeyChanges& key, uint64_t hash, std::string_view name)
    {
        return key.valueIndex.find(hash, [&](uint32_t v) { return equalsIgnoringCase(key.values[v].first, name); });
    }

    KeyChanges& keyFor(std::string_view path)
    {
        path = normalisedKeyPath(path);
        auto [it, added] = indexByFoldedPath_.try_emplace(foldCase(path), keys_.size());
        if (added) {
            keys_.push_back(KeyChanges{std::string(path), {}, {}, {}, {}});
        }
        return keys_[it->second];
    }

    std::vector<KeyChanges> keys_;
    std::unordered_map<std::string, size_t> indexByFoldedPath_;
};

std::string valueLine(std::string_view name, const RegValue& value, std::string_view lineEnd)
{
    std::string line;
    appendValue(line, name, value);
    line.pop_back();
    line += lineEnd;
    return line;
}

bool endsWithBlankLine(std::string_view text)
{
    if (text.empty() || text.back() != '\n') {
        return text.empty();
    }
    text.remove_suffix(1);
    size_t start = text.rfind('\n');
    return trimmed(start == std::string_view::npos ? text : text.substr(start + 1)).empty();
}

// The line that ends at `end`.
std::string_view lineEndingAt(std::string_view text, size_t end)
{
    size_t begin = end == 0 ? 0 : text.rfind('\n', end - 1);
    begin = begin == std::string_view::npos || end == 0 ? 0 : begin + 1;
    return text.substr(begin, end - begin);
}

// Text put in place of [at, skipTo) of the file's text (nothing taken for an insertion).
struct TextEdit {
    size_t at;
    size_t skipTo;
    std::string text;
};

// Copies the file's text with the edits made; every line of it ends with a line break, the last
// one too.
std::string withEdits(std::string_view text, std::vector<TextEdit>& edits, size_t extra)
{
    std::sort(edits.begin(), edits.end(), [](const TextEdit& a, const TextEdit& b) { return a.at < b.at; });
    const bool openLastLine = !text.empty() && text.back() != '\n';
    std::string out;
    out.reserve(text.size() + extra + 1);
    auto copy = [&](size_t from, size_t to) {
        const size_t begin = std::min(from, text.size());
        out.append(text.substr(begin, std::min(to, text.size()) - begin));
        if (openLastLine && from <= text.size() && to > text.size()) {
            out += '\n';
        }
    };
    size_t cursor = 0;
    for (const TextEdit& edit : edits) {
        copy(cursor, edit.at);
        out += edit.text;
        cursor = edit.skipTo;
    }
    copy(cursor, text.size() + (openLastLine ? 1 : 0));
    return out;
}

} // namespace

std::string editRegFile(std::string_view bytes, const std::vector<RegChange>& changes, std::string_view rootName)
{
    DecodedText decoded(bytes);
    std::string_view text = decoded.view();
    // New lines follow the file's first line: "\r\n" files stay "\r\n" files.
    std::string_view firstLine = text.substr(0, text.find('\n'));
    std::string_view lineEnd = !firstLine.empty() && firstLine.back() == '\r' ? "\r\n" : "\n";

    ChangeSet changeSet(changes);
    changeSet.locate(text);

    // Positions past a line's break (the last line may have none).
    std::vector<TextEdit> edits;
    size_t extra = 0;
    std::string newSections;
    for (KeyChanges& key : changeSet.keys()) {
        std::string added;
        bool lastLineReplaced = false;
        if (!key.lastSectionEnd) {
            newSections += '[';
            newSections += rootName;
            if (!key.path.empty()) {
                newSections += '\\';
                newSections += key.path;
            }
            newSections += ']';
            newSections += lineEnd;
        }
        for (size_t i = 0; i < key.values.size(); ++i) {
            const auto& [name, value] = key.values[i];
            if (const auto& place = key.existing[i]) {
                // The name keeps the file's spelling: names match without regard to case.
                edits.push_back(TextEdit{place->begin, place->end + 1, valueLine(place->fileName, value, lineEnd)});
                extra += edits.back().text.size();
                lastLineReplaced = lastLineReplaced || place->end == key.lastSectionEnd;
            } else {
                (key.lastSectionEnd ? added : newSections) += valueLine(name, value, lineEnd);
            }
        }
        if (!key.lastSectionEnd) {
            newSections += lineEnd;
        } else {
            // A line ending in a backslash would take the next line as its continuation (so it
            // is ended even when nothing follows it).
            std::string_view last = trimmed(lineEndingAt(text, *key.lastSectionEnd));
            if (!lastLineReplaced && !last.empty() && last.back() == '\\') {
                added.insert(0, lineEnd);
            }
            extra += added.size();
            edits.push_back(TextEdit{*key.lastSectionEnd + 1, *key.lastSectionEnd + 1, std::move(added)});
        }
    }

    std::string out;
    if (text.empty()) {
        out.append(kHeader).append(lineEnd).append(lineEnd);
    } else {
        out = withEdits(text, edits, extra + newSections.size());
    }
    if (!newSections.empty()) {
        if (!endsWithBlankLine(out)) {
            out += lineEnd;
        }
        out += newSections;
    }
    return out;
}

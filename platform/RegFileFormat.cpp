#include "platform/RegFileFormat.h"

#include <cstdio>

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

// Where the keys and values that were read stand in a hive file's text (lines counted from 0).
struct RegLayout {
    struct Section {
        std::string_view key; // as in RegContents, within the text
        size_t headerLine;
        size_t lastLine; // the section's last line that is neither blank nor a comment
    };
    struct Value {
        size_t section;
        uint64_t nameHash; // FoldedNameTable::hashOf; the name itself is on the first line
        size_t firstLine;  // binary data may continue over several lines
        size_t lastLine;
    };
    std::vector<Section> sections;
    std::vector<Value> values; // every value line of a section, read successfully or not
};

class Parser {
public:
    Parser(std::string_view text, RegLayout* layout) : text_(text), layout_(layout) {}

    RegContents run()
    {
        while (auto line = nextLine()) {
            std::string_view l = trimmed(*line);
            if (l.empty() || l.front() == ';') {
                continue;
            }
            if (l.front() == '[') {
                startSection(l);
                continue;
            }
            size_t first = lineNumber_;
            if (l.front() == '"' || l.front() == '@') {
                readValueLine(l, first);
            }
            // The header line and anything unknown are skipped (but stay part of their section).
            if (layout_ && section_) {
                layout_->sections[*section_].lastLine = lineNumber_;
            }
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
        lineNumber_ = started_ ? lineNumber_ + 1 : 0;
        started_ = true;
        return line;
    }

    void startSection(std::string_view line)
    {
        currentKey_.reset();
        section_.reset();
        size_t close = line.rfind(']');
        if (close == std::string_view::npos) {
            return;
        }
        std::string_view path = line.substr(1, close - 1);
        if (path.empty() || path.front() == '-' || !startsWithIgnoringCase(path, "HKEY_")) {
            return; // key deletions and sections without a root are not ours to read
        }
        size_t slash = path.find('\\');
        std::string_view key =
            slash == std::string_view::npos ? std::string_view() : normalisedKeyPath(path.substr(slash + 1));
        contents_.createKey(key);
        if (layout_) {
            section_ = layout_->sections.size();
            layout_->sections.push_back({key, lineNumber_, lineNumber_});
        }
        currentKey_ = key;
    }

    void readValueLine(std::string_view line, size_t firstLine)
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
        // Binary data may run over several lines, each but the last ending in a backslash; a blank
        // line ends it in any case.
        if (startsOtherKind(data)) {
            while (!data.empty() && data.back() == '\\') {
                data.pop_back();
                auto next = nextLine();
                if (!next || trimmed(*next).empty()) {
                    break;
                }
                data += trimmed(*next);
            }
        }
        if (!currentKey_) {
            return;
        }
        // A line whose data cannot be read still holds the name: a new value replaces it there
        // instead of leaving two lines of one name.
        if (layout_) {
            layout_->values.push_back({*section_, FoldedNameTable::hashOf(name), firstLine, lineNumber_});
        }
        if (auto value = parseData(data)) {
            contents_.setValue(*currentKey_, name, std::move(*value));
        }
    }

    std::string_view text_;
    RegLayout* layout_;
    size_t pos_ = 0;
    size_t lineNumber_ = 0; // of the line nextLine() returned last
    bool started_ = false;
    RegContents contents_;
    std::optional<std::string_view> currentKey_; // within the text
    std::optional<size_t> section_;              // the current key's section in the layout
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
    path = normalisedKeyPath(path);
    auto found = keyIndex_.find(FoldedNameTable::hashOf(path),
                                [&](size_t i) { return equalsIgnoringCase(keys_[i].path, path); });
    return found ? &keys_[*found] : nullptr;
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
    keyIndex_.insert(FoldedNameTable::hashOf(path), keys_.size());
    keys_.push_back(Key{std::string(path), {}});
    valueIndexByKey_.emplace_back();
    return keys_.back();
}

std::optional<size_t> RegContents::findValue(size_t key, std::string_view name) const
{
    const auto& values = keys_[key].values;
    auto sameName = [&](size_t i) { return equalsIgnoringCase(values[i].first, name); };
    if (values.size() < kIndexedValues) {
        for (size_t i = 0; i < values.size(); ++i) {
            if (sameName(i)) {
                return i;
            }
        }
        return std::nullopt;
    }
    return valueIndexByKey_[key].find(FoldedNameTable::hashOf(name), sameName);
}

std::optional<RegValue> RegContents::value(std::string_view path, std::string_view name) const
{
    const Key* key = findKey(path);
    if (!key) {
        return std::nullopt;
    }
    auto found = findValue(static_cast<size_t>(key - keys_.data()), name);
    return found ? std::optional<RegValue>(key->values[*found].second) : std::nullopt;
}

bool RegContents::setValue(std::string_view path, std::string_view name, RegValue value)
{
    Key* key = findKeyMutable(path);
    if (!key) {
        return false;
    }
    const auto keyAt = static_cast<size_t>(key - keys_.data());
    if (auto found = findValue(keyAt, name)) {
        key->values[*found].second = std::move(value);
        return true;
    }
    key->values.emplace_back(std::string(name), std::move(value));
    FoldedNameTable& index = valueIndexByKey_[keyAt];
    if (key->values.size() == kIndexedValues) {
        for (size_t i = 0; i < key->values.size(); ++i) {
            index.insert(FoldedNameTable::hashOf(key->values[i].first), i);
        }
    } else if (key->values.size() > kIndexedValues) {
        index.insert(FoldedNameTable::hashOf(name), key->values.size() - 1);
    }
    return true;
}

RegContents parseRegFile(std::string_view bytes)
{
    std::string text = decodedText(bytes);
    return Parser(text, nullptr).run();
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

namespace {

// The changes to one key, the last change of each value winning, in the order first made.
struct KeyChanges {
    std::string path;
    std::vector<std::pair<std::string, RegValue>> values;
    FoldedNameTable valueIndex;
    std::optional<size_t> lastSection;           // in the file's layout
    std::vector<std::optional<size_t>> existing; // per value: where it stands in the layout
};

// The name a value line starts with ("@" is the unnamed value).
std::string nameOnLine(std::string_view line)
{
    line = trimmed(line);
    if (!line.empty() && line.front() == '@') {
        return {};
    }
    return readQuoted(line).value_or(std::string());
}

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
            if (auto found = key.valueIndex.find(
                    hash, [&](size_t i) { return equalsIgnoringCase(key.values[i].first, name); })) {
                key.values[*found].second = change.value;
            } else {
                key.valueIndex.insert(hash, key.values.size());
                key.values.emplace_back(name, change.value);
            }
        }
        for (KeyChanges& key : keys_) {
            key.existing.resize(key.values.size());
        }
    }

    // Finds where the changed keys and values already stand in the file.
    void locate(const RegLayout& layout, const std::vector<std::string_view>& lines)
    {
        std::vector<KeyChanges*> keyOfSection(layout.sections.size(), nullptr);
        for (size_t i = 0; i < layout.sections.size(); ++i) {
            if (auto it = indexByFoldedPath_.find(foldCase(layout.sections[i].key)); it != indexByFoldedPath_.end()) {
                keyOfSection[i] = &keys_[it->second];
                keys_[it->second].lastSection = i; // later sections win
            }
        }
        for (size_t i = 0; i < layout.values.size(); ++i) {
            const RegLayout::Value& value = layout.values[i];
            KeyChanges* key = keyOfSection[value.section];
            if (!key) {
                continue;
            }
            auto found = key->valueIndex.find(value.nameHash, [&](size_t changed) {
                return equalsIgnoringCase(key->values[changed].first, nameOnLine(lines[value.firstLine]));
            });
            if (found) {
                key->existing[*found] = i; // the last occurrence is the one that is read
            }
        }
    }

    std::vector<KeyChanges>& keys() { return keys_; }

private:
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

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

std::string valueLine(const std::string& name, const RegValue& value, std::string_view lineEnd)
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

} // namespace

void applyRegChange(RegContents& contents, const RegChange& change)
{
    contents.createKey(change.key);
    if (change.name) {
        contents.setValue(change.key, *change.name, change.value);
    }
}

RegFileEdit applyRegChanges(std::string_view bytes, const std::vector<RegChange>& changes, std::string_view rootName)
{
    std::string text = decodedText(bytes);
    RegLayout layout;
    RegContents contents = Parser(text, &layout).run();
    for (const RegChange& change : changes) {
        applyRegChange(contents, change);
    }
    std::vector<std::string_view> lines = splitLines(text);
    // New lines follow the file's first line: "\r\n" files stay "\r\n" files.
    std::string_view lineEnd = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r' ? "\r\n" : "\n";

    ChangeSet changeSet(changes);
    changeSet.locate(layout, lines);

    struct Replacement {
        size_t lastLine;
        std::string text;
    };
    std::unordered_map<size_t, Replacement> replaceFrom; // first line -> replacement
    std::unordered_map<size_t, std::string> addAfter;    // line -> new lines after it
    std::string newSections;
    for (KeyChanges& key : changeSet.keys()) {
        std::string* added = nullptr;
        if (key.lastSection) {
            added = &addAfter[layout.sections[*key.lastSection].lastLine];
        } else {
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
            if (key.existing[i]) {
                // The name keeps the file's spelling: names match without regard to case.
                const RegLayout::Value& where = layout.values[*key.existing[i]];
                replaceFrom[where.firstLine] =
                    Replacement{where.lastLine, valueLine(nameOnLine(lines[where.firstLine]), value, lineEnd)};
            } else {
                (added ? *added : newSections) += valueLine(name, value, lineEnd);
            }
        }
        if (!key.lastSection) {
            newSections += lineEnd;
        }
    }

    std::string out;
    out.reserve(text.size() + newSections.size() + 1024);
    if (lines.empty()) {
        out.append(kHeader).append(lineEnd).append(lineEnd);
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        bool replaced = false;
        if (auto it = replaceFrom.find(i); it != replaceFrom.end()) {
            out += it->second.text;
            i = it->second.lastLine;
            replaced = true;
        } else {
            out += lines[i];
            out += '\n';
        }
        if (auto it = addAfter.find(i); it != addAfter.end()) {
            // A line ending in a backslash would take the next line as its continuation.
            std::string_view last = trimmed(lines[i]);
            if (!replaced && !last.empty() && last.back() == '\\') {
                out += lineEnd;
            }
            out += it->second;
        }
    }
    if (!newSections.empty()) {
        if (!endsWithBlankLine(out)) {
            out += lineEnd;
        }
        out += newSections;
    }
    return {std::move(out), std::move(contents)};
}

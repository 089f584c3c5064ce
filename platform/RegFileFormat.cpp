#include "platform/RegFileFormat.h"

#include "platform/RegFileLines.h"

#include <cstdint>
#include <stdexcept>

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
    // One search and one hash of the name, as most values of a big file pass through here once.
    const std::string_view nameText = view(name);
    auto sameName = [&](uint32_t v) { return equalsIgnoringCase(view(values_[v].name), nameText); };
    auto hashOfValue = [&](uint32_t v) { return FoldedNameTable::hashOf(view(values_[v].name)); };
    auto index = valueIndexes_.find(key);
    const uint64_t hash = index != valueIndexes_.end() ? FoldedNameTable::hashOf(nameText) : 0;
    size_t count = 0;
    std::optional<uint32_t> found;
    if (index != valueIndexes_.end()) {
        found = index->second.find(hash, sameName);
    } else {
        for (uint32_t v = keys_[key].firstValue; v != kNone && !found; v = values_[v].next, ++count) {
            found = sameName(v) ? std::optional<uint32_t>(v) : std::nullopt;
        }
    }
    if (found) {
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

    if (index != valueIndexes_.end()) {
        index->second.insert(hash, added, hashOfValue);
    } else if (count + 1 == kIndexedValues) {
        FoldedNameTable& made = valueIndexes_[key];
        for (uint32_t v = owner.firstValue; v != kNone; v = values_[v].next) {
            made.insert(hashOfValue(v), v, hashOfValue);
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
    RegItemCounts counts = countRegItems(text.substr(start));
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
    std::string out(kRegFileHeader);
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

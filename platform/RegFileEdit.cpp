#include "platform/RegFileEdit.h"

#include "platform/FoldedNameTable.h"
#include "platform/RegFileLines.h"

#include <algorithm>
#include <unordered_map>

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
                // Most names have no escapes: they are compared where they stand.
                std::string withEscapes;
                std::string_view name = item->quotedName;
                if (name.find('\\') != std::string_view::npos) {
                    withEscapes = unescaped(name);
                    name = withEscapes;
                }
                if (auto found = findValue(*key, FoldedNameTable::hashOf(name), name)) {
                    key->existing[*found] = KeyChanges::Place{item->begin, item->end, std::string(name)};
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
    std::stable_sort(edits.begin(), edits.end(), [](const TextEdit& a, const TextEdit& b) { return a.at < b.at; });
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

    // Edits start and end past a line's break (withEdits gives the file's last line one).
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
        out.append(kRegFileHeader).append(lineEnd).append(lineEnd);
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

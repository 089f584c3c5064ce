// Reading the #SYSTEM records and the sitemap for the help window.
#include "help/ChmContents.h"

#include <algorithm>

namespace {

constexpr int kMaxDepth = 16;

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// A record's text up to its first zero byte.
std::string recordText(std::span<const std::uint8_t> data)
{
    auto end = std::find(data.begin(), data.end(), std::uint8_t(0));
    return std::string(data.begin(), end);
}

std::string decodeEntities(std::string_view text)
{
    static const std::pair<std::string_view, char> kEntities[] = {{"&amp;", '&'},  {"&lt;", '<'},   {"&gt;", '>'},
                                                                  {"&quot;", '"'}, {"&#39;", '\''}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (auto& [entity, c] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out += c;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

// The value of attribute `name` inside one tag's text, or empty.
std::string attribute(std::string_view tag, std::string_view name)
{
    std::string lowered = lower(tag);
    std::size_t pos = 0;
    while ((pos = lowered.find(name, pos)) != std::string::npos) {
        bool boundary = pos > 0 && (lowered[pos - 1] == ' ' || lowered[pos - 1] == '\t' || lowered[pos - 1] == '\n' ||
                                    lowered[pos - 1] == '\r');
        std::size_t cursor = pos + name.size();
        pos = cursor;
        if (!boundary)
            continue;
        while (cursor < tag.size() && tag[cursor] == ' ')
            ++cursor;
        if (cursor >= tag.size() || tag[cursor] != '=')
            continue;
        ++cursor;
        while (cursor < tag.size() && tag[cursor] == ' ')
            ++cursor;
        if (cursor >= tag.size())
            return {};
        char quote = tag[cursor];
        if (quote == '"' || quote == '\'') {
            std::size_t close = tag.find(quote, cursor + 1);
            if (close == std::string_view::npos)
                close = tag.size();
            return decodeEntities(tag.substr(cursor + 1, close - cursor - 1));
        }
        std::size_t end = tag.find_first_of(" \t\r\n>", cursor);
        return decodeEntities(tag.substr(cursor, (end == std::string_view::npos ? tag.size() : end) - cursor));
    }
    return {};
}

} // namespace

ChmProjectInfo ParseChmSystem(std::span<const std::uint8_t> system)
{
    ChmProjectInfo info;
    std::size_t pos = 4; // version
    while (pos + 4 <= system.size()) {
        unsigned code = system[pos] | (system[pos + 1] << 8);
        std::size_t length = system[pos + 2] | (system[pos + 3] << 8);
        pos += 4;
        if (length > system.size() - pos)
            break;
        auto data = system.subspan(pos, length);
        pos += length;
        if (code == 0)
            info.contentsFile = recordText(data);
        else if (code == 2)
            info.defaultTopic = recordText(data);
        else if (code == 3)
            info.title = recordText(data);
    }
    return info;
}

std::vector<ChmContentsItem> ParseChmSitemap(std::string_view html)
{
    std::vector<ChmContentsItem> items;
    int depth = 0;
    bool inItem = false;
    ChmContentsItem current;
    std::size_t pos = 0;
    while ((pos = html.find('<', pos)) != std::string_view::npos) {
        std::size_t close = html.find('>', pos);
        if (close == std::string_view::npos)
            break;
        std::string_view tag = html.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        std::string head = lower(tag.substr(0, tag.find_first_of(" \t\r\n")));
        if (head == "ul") {
            ++depth;
        } else if (head == "/ul") {
            depth = std::max(0, depth - 1);
        } else if (head == "object") {
            inItem = lower(attribute(tag, "type")) == "text/sitemap";
            current = ChmContentsItem{};
            current.depth = std::clamp(depth - 1, 0, kMaxDepth);
        } else if (head == "param" && inItem) {
            std::string name = lower(attribute(tag, "name"));
            if (name == "name" && current.name.empty())
                current.name = attribute(tag, "value");
            else if (name == "local" && current.local.empty())
                current.local = attribute(tag, "value");
        } else if (head == "/object" && inItem) {
            inItem = false;
            if (!current.name.empty() || !current.local.empty())
                items.push_back(current);
        }
    }
    return items;
}

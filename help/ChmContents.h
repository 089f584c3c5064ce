// The navigation data of a compiled help file: its project settings (from the "/#SYSTEM" object)
// and its table of contents (a sitemap .hhc page), parsed from untrusted bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct ChmProjectInfo {
    std::string contentsFile; // "ztp.hhc"
    std::string defaultTopic; // "HTML/Contents.htm"
    std::string title;
};

// Reads the records of "/#SYSTEM"; missing or damaged records leave their fields empty.
ChmProjectInfo ParseChmSystem(std::span<const std::uint8_t> system);

struct ChmContentsItem {
    std::string name;
    std::string local; // topic path inside the file, as written in the sitemap
    int depth = 0;     // 0 for top-level items
};

// The entries of a sitemap page in document order; anything that is not a sitemap entry is skipped.
std::vector<ChmContentsItem> ParseChmSitemap(std::string_view html);

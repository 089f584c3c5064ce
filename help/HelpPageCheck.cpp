#include "help/HelpPageCheck.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

bool isControl(unsigned char c)
{
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F;
}

// Well-formed UTF-8 (no overlong forms or surrogates needed to catch garbage: lead and
// continuation bytes must match up) without control characters.
bool isCleanUtf8Text(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        int continuation = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (continuation < 0 || (continuation == 0 && isControl(c)) || text.size() - i <= size_t(continuation)) {
            return false;
        }
        for (int k = 1; k <= continuation; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += size_t(continuation) + 1;
    }
    return true;
}

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

} // namespace

bool isIntactHelpPage(std::string_view html)
{
    if (!isCleanUtf8Text(html)) {
        return false;
    }
    const std::string page = lowerAscii(html);
    size_t first = page.find_first_not_of(" \t\r\n\f\xef\xbb\xbf");
    size_t last = page.find_last_not_of(" \t\r\n\f");
    if (first == std::string::npos || page[first] != '<' || page[last] != '>') {
        return false;
    }
    size_t open = page.find("<html");
    size_t bodyEnd = page.find("</body>");
    size_t close = page.rfind("</html>");
    if (open == std::string::npos || bodyEnd == std::string::npos || close == std::string::npos || open > bodyEnd ||
        bodyEnd > close) {
        return false;
    }
    return std::count(page.begin(), page.end(), '<') == std::count(page.begin(), page.end(), '>');
}

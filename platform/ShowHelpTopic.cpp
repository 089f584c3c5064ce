// Help file path and topic addresses.
#include "platform/ShowHelpTopic.h"

namespace {
constexpr const char* kTopicSeparator = "::/";
}

std::string helpFileBesideProgram(const std::string& programFolder)
{
    if (programFolder.empty())
        return kHelpFileName;
    if (programFolder.back() == '/')
        return programFolder + kHelpFileName;
    return programFolder + '/' + kHelpFileName;
}

std::string helpTopicAddress(const std::string& helpFile, const std::string& topic)
{
    return helpFile + kTopicSeparator + topic;
}

std::optional<HelpAddress> parseHelpAddress(const std::string& address)
{
    // A folder name may itself contain "::", so the separator that follows the file's ".chm" wins.
    std::string lower = address;
    for (char& c : lower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    std::size_t split = lower.find(std::string(".chm") + kTopicSeparator);
    if (split != std::string::npos)
        split += 4;
    else
        split = address.find(kTopicSeparator);
    if (split == std::string::npos || split == 0)
        return std::nullopt;
    return HelpAddress{address.substr(0, split), address.substr(split + 3)};
}

void showHelpTopic(HelpService& help, const std::string& helpFile, const std::string& topic)
{
    help.displayTopic(helpTopicAddress(helpFile, topic));
}

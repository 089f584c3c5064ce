// Where the help file lies, how a topic address is written, and opening a topic through the help service.
#pragma once

#include "platform/HelpService.h"

#include <optional>
#include <string>

inline constexpr const char* kHelpFileName = "ztp.chm";

// The help file beside the program: `programFolder` is the folder of the program file, with or
// without its trailing '/'.
std::string helpFileBesideProgram(const std::string& programFolder);

// "<help file>::/<topic>", the address that names one page of the help file.
std::string helpTopicAddress(const std::string& helpFile, const std::string& topic);

// The two halves of a topic address; the topic is empty for "<help file>::/". Null when the
// text has no "::/" separator or names no file.
struct HelpAddress {
    std::string helpFile;
    std::string topic;
};
std::optional<HelpAddress> parseHelpAddress(const std::string& address);

// Opens `topic` (for example "HTML/Hotkeys.htm") of `helpFile` in the help window.
void showHelpTopic(HelpService& help, const std::string& helpFile, const std::string& topic);

// Shows pages of the compiled help file.
#pragma once

#include <string>

class HelpService {
public:
    virtual ~HelpService() = default;

    // `address` is "<help file path>::/<topic>".
    virtual void displayTopic(const std::string& address) = 0;
    // Opens the help file on its table of contents.
    virtual void displayContents(const std::string& helpFile) = 0;
    // Closes every help window the application opened.
    virtual void closeAll() = 0;
};

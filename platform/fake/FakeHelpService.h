// A help service for tests that records the addresses it was asked to show.
#pragma once

#include "platform/HelpService.h"

#include <string>
#include <vector>

class FakeHelpService : public HelpService {
public:
    void displayTopic(const std::string& address) override { topics.push_back(address); }
    void displayContents(const std::string& helpFile) override { contents.push_back(helpFile); }
    void closeAll() override { ++closeAllCalls; }

    std::vector<std::string> topics;
    std::vector<std::string> contents;
    int closeAllCalls = 0;
};

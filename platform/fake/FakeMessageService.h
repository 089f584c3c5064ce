// Message boxes for tests: records every text and answers questions from a script.
#pragma once

#include "platform/MessageService.h"

#include <deque>
#include <string>
#include <vector>

class FakeMessageService : public MessageService {
public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showMessage(const std::string& text, QWidget* owner) override
    {
        lastOwner = owner;
        messages.push_back(text);
    }
    void showWarning(const std::string& caption, const std::string& text, QWidget* owner) override
    {
        warnings.push_back({caption, text, owner});
    }
    // The next scripted answer, or `defaultAnswer` when the script has run out.
    bool askYesNo(const std::string& text) override
    {
        questions.push_back(text);
        if (answers.empty()) {
            return defaultAnswer;
        }
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    struct Warning {
        std::string caption;
        std::string text;
        QWidget* owner = nullptr;
    };

    std::vector<std::string> messages;
    std::vector<Warning> warnings;
    QWidget* lastOwner = nullptr; // of the last message shown with an owner
    std::vector<std::string> questions;
    std::deque<bool> answers;
    bool defaultAnswer = false;
};
